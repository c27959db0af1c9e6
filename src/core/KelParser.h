// The XML dialect of every description file and of the players file: attributes
// (TKelParserAttribute), elements (TKelXMLTag) and documents (TKelParser), which read text into a
// tree in two passes (typed lines, then the tree), answer look-ups by name, index and query text,
// and write a tree back as indented text with CR LF line ends. The dialect is not full XML: a ">"
// always ends a tag, closing names are not compared, the last piece of text of an element wins,
// and bytes are kept as they are. Opening tags nest at most MaxXmlDepth deep; deeper ones are
// attached at that depth, so any input gives a tree that every operation can walk. Relies on the
// text functions of KelParserText and on TMemoryStream.
#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "core/KelParserText.h"

class TMemoryStream;

// Deepest nesting of elements that reading a document builds.
constexpr int MaxXmlDepth = 256;

class TKelParserAttribute {
  public:
    TKelParserAttribute(std::string name, std::string value)
        : Name(std::move(name)), Value(std::move(value)) {}

    std::string Name;
    // The bytes between the two double quotes of the source; entities are neither decoded nor
    // encoded.
    std::string Value;

    void SetValue(const std::string& value) { Value = value; }
    // A space, the name, "=", a double quote, the value and a double quote.
    std::string AsText() const;
};

class TKelXMLTag {
  public:
    explicit TKelXMLTag(std::string name = "", TKelXMLTag* parent = nullptr, std::string text = "");
    virtual ~TKelXMLTag();
    TKelXMLTag(const TKelXMLTag&) = delete;
    TKelXMLTag& operator=(const TKelXMLTag&) = delete;

    std::string Name;
    std::string Text;              // entity-decoded, trimmed text content
    TKelXMLTag* Parent = nullptr;  // the enclosing element; none for a document root

    void SetName(const std::string& name) { Name = name; }
    void SetText(const std::string& text) { Text = text; }

    int TagCount() const { return static_cast<int>(tags_.size()); }
    int AttributeCount() const { return static_cast<int>(attributes_.size()); }
    // The item at the index, or none outside 0..count-1.
    TKelXMLTag* GetTag(int index) const;
    TKelParserAttribute* GetAttribute(int index) const;
    // The last child; none when there are no children.
    TKelXMLTag* LastTag() const { return tags_.empty() ? nullptr : tags_.back().get(); }

    // Appends a child with this element as its parent and returns it.
    TKelXMLTag* AddTag(const std::string& name, const std::string& text = "");
    // Appends an attribute (an existing one of that name stays) and returns it.
    TKelParserAttribute* AddAttribute(const std::string& name, const std::string& value);
    // Appends a child whose name and attributes come from the inside of one tag. A malformed
    // attribute stops the scan: the child keeps its name and the attributes read before; the
    // reason goes to *error when given, never to an exception.
    void AddTagByString(const std::string& tagText, std::string* error = nullptr);

    void ClearTags();
    void ClearAttributes();
    // Destroys and removes the child at the index; an index outside the list does nothing.
    void DeleteTag(int index);

    // The first direct child or attribute with exactly that name, or none.
    TKelXMLTag* FindTag(const std::string& name) const;
    TKelParserAttribute* FindAttribute(const std::string& name) const;
    // The first element of the subtree (this element excluded) with that name, depth first in
    // document order; none when nothing matches.
    TKelXMLTag* FindTagDeep(const std::string& name) const;

    // Look-up by a query text: name, "[index]", a double-quoted text and, for elements, an
    // "(attribute query)"; for example o(c"TKelDefaults") finds the first child named "o" with an
    // attribute c of the value TKelDefaults. An empty query finds the first item.
    TKelXMLTag* QueryTag(const std::string& query) const;
    TKelParserAttribute* QueryAttribute(const std::string& query) const;

    // Makes this element a deep copy of the source (name, text, attributes, children); the
    // parent link stays. Assigning an element from itself or from one of its own descendants
    // first copies the source.
    void Assign(const TKelXMLTag& source);

    // The serialised element and its subtree, indented by level TABs, lines ended by CR LF.
    std::string ToText(int level) const;

    const std::vector<std::unique_ptr<TKelXMLTag>>& Tags() const { return tags_; }
    const std::vector<std::unique_ptr<TKelParserAttribute>>& Attributes() const {
        return attributes_;
    }

  private:
    std::vector<std::unique_ptr<TKelXMLTag>> tags_;
    std::vector<std::unique_ptr<TKelParserAttribute>> attributes_;
};

// One document; the document is itself the root element, named "root" until a head renames it.
class TKelParser : public TKelXMLTag {
  public:
    TKelParser();

    // Raw lines after reading, typed lines after the first pass, the written text after MakeLines.
    std::vector<std::string> Lines;
    // Reasons of the failures that reading swallows (malformed attributes, an unterminated
    // comment or head, an empty tag), for a debugging log; cleared by every load.
    std::vector<std::string> Warnings;
    // Elements the last tree building left open: a document cut short leaves some.
    int UnclosedElements() const { return unclosed_; }

    // Reads the whole file; throws TKelCoreError when it cannot be opened or read.
    void LoadFromFile(const std::string& fileName);
    // Read the rest of the stream, from its position to its end.
    void LoadFromStream(std::istream& stream);
    void LoadFromStream(TMemoryStream& stream);
    // Reads the bytes of a whole document.
    void LoadFromString(const std::string& bytes);

    // First pass: the raw lines in Lines become typed lines. On a failure Lines holds the typed
    // lines read before it, so the tree holds the elements read so far; answers false then.
    bool MakeTypifiedLines();
    // Second pass: rebuilds the tree from the typed lines in Lines.
    void MakeTree();
    // Serialises the tree into Lines.
    void MakeLines();
    // MakeLines, then every line followed by CR LF.
    void SaveToStream(std::ostream& stream);
    void SaveToStream(TMemoryStream& stream);  // written at the stream's position
    std::string SaveToString();

  private:
    int unclosed_ = 0;
};
