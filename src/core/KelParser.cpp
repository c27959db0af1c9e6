// The XML dialect's element tree, its reading in two passes and its writing. Every walk over the
// tree (destruction, copying, deep search, writing) uses an explicit stack, so no input can
// exhaust the call stack. Relies on KelParserText.
#include "core/KelParser.h"

#include <fstream>
#include <iterator>
#include <utility>

#include "core/CoreError.h"
#include "core/MemoryStream.h"

static const char* const CrLf = "\r\n";

std::string TKelParserAttribute::AsText() const {
    return " " + Name + "=\"" + Value + "\"";
}

// ---- Elements --------------------------------------------------------------------------------

TKelXMLTag::TKelXMLTag(std::string name, TKelXMLTag* parent, std::string text)
    : Name(std::move(name)), Text(std::move(text)), Parent(parent) {}

TKelXMLTag::~TKelXMLTag() {
    ClearTags();
}

TKelXMLTag* TKelXMLTag::GetTag(int index) const {
    if (index < 0 || index >= TagCount()) return nullptr;
    return tags_[static_cast<size_t>(index)].get();
}

TKelParserAttribute* TKelXMLTag::GetAttribute(int index) const {
    if (index < 0 || index >= AttributeCount()) return nullptr;
    return attributes_[static_cast<size_t>(index)].get();
}

TKelXMLTag* TKelXMLTag::AddTag(const std::string& name, const std::string& text) {
    tags_.push_back(std::make_unique<TKelXMLTag>(name, this, text));
    return tags_.back().get();
}

TKelParserAttribute* TKelXMLTag::AddAttribute(const std::string& name, const std::string& value) {
    attributes_.push_back(std::make_unique<TKelParserAttribute>(name, value));
    return attributes_.back().get();
}

void TKelXMLTag::AddTagByString(const std::string& tagText, std::string* error) {
    TKelXMLTag* tag = AddTag("", "");
    const size_t space = tagText.find(' ');
    if (space == std::string::npos) {
        tag->Name = tagText;
        return;
    }
    tag->Name = tagText.substr(0, space);
    const std::string prefix = "[TKelXMLTag.AddTagByString] ";
    size_t p = space;
    while (p < tagText.size()) {
        const size_t equals = tagText.find('=', p);
        if (equals == std::string::npos) {
            if (error)
                *error = prefix + "Expected Attribute name but found nothing! Tag name: \"" +
                         tag->Name + "\".";
            return;
        }
        const std::string name = Trim(tagText.substr(p, equals - p));
        const std::string where = " in Attribute value but found nothing! Tag name: \"" +
                                  tag->Name + "\", Attribute name: \"" + name + "\".";
        const size_t open = tagText.find('"', equals);
        if (open == std::string::npos) {
            if (error) *error = prefix + "Expected open \"" + where;
            return;
        }
        const size_t close = tagText.find('"', open + 1);
        if (close == std::string::npos) {
            if (error) *error = prefix + "Expected closed \"" + where;
            return;
        }
        tag->AddAttribute(name, tagText.substr(open + 1, close - open - 1));
        p = close + 1;
    }
}

void TKelXMLTag::ClearTags() {
    // Children are detached level by level so that destroying a deep subtree never recurses.
    std::vector<std::unique_ptr<TKelXMLTag>> pending = std::move(tags_);
    tags_.clear();
    while (!pending.empty()) {
        std::unique_ptr<TKelXMLTag> tag = std::move(pending.back());
        pending.pop_back();
        for (auto& child : tag->tags_) pending.push_back(std::move(child));
        tag->tags_.clear();
    }
}

void TKelXMLTag::ClearAttributes() {
    attributes_.clear();
}

void TKelXMLTag::DeleteTag(int index) {
    if (index < 0 || index >= TagCount()) return;
    std::unique_ptr<TKelXMLTag> tag = std::move(tags_[static_cast<size_t>(index)]);
    tags_.erase(tags_.begin() + index);
}

TKelXMLTag* TKelXMLTag::FindTag(const std::string& name) const {
    for (const auto& tag : tags_)
        if (tag->Name == name) return tag.get();
    return nullptr;
}

TKelParserAttribute* TKelXMLTag::FindAttribute(const std::string& name) const {
    for (const auto& attribute : attributes_)
        if (attribute->Name == name) return attribute.get();
    return nullptr;
}

TKelXMLTag* TKelXMLTag::FindTagDeep(const std::string& name) const {
    std::vector<TKelXMLTag*> pending;
    for (auto it = tags_.rbegin(); it != tags_.rend(); ++it) pending.push_back(it->get());
    while (!pending.empty()) {
        TKelXMLTag* tag = pending.back();
        pending.pop_back();
        if (tag->Name == name) return tag;
        for (auto it = tag->tags_.rbegin(); it != tag->tags_.rend(); ++it)
            pending.push_back(it->get());
    }
    return nullptr;
}

namespace {

// The criteria of a query text; an empty criterion always holds.
struct TQuery {
    std::string Name, Text, Attribute;
    bool HasIndex = false;
    int Index = 0;
};

std::string RemoveFirst(const std::string& text, const std::string& part) {
    const size_t found = text.find(part);
    if (found == std::string::npos) return text;
    return text.substr(0, found) + text.substr(found + part.size());
}

TQuery ParseQuery(std::string query, bool withAttribute) {
    TQuery result;
    if (withAttribute) {
        result.Attribute = TextBetween(query, "(", ")", 1);
        if (!result.Attribute.empty()) query = RemoveFirst(query, "(" + result.Attribute + ")");
    }
    const std::string index = TextBetween(query, "[", "]", 1);
    result.Text = TextBetween(query, "\"", "\"", 1);
    query = RemoveFirst(query, "\"" + result.Text + "\"");
    query = RemoveFirst(query, "[" + index + "]");
    result.Name = query;
    result.HasIndex = !index.empty() && TryStrToInt(index, result.Index);
    return result;
}

// The range of items a query examines: only the indexed one when the index is valid.
std::pair<int, int> QueryRange(const TQuery& query, int count) {
    if (query.HasIndex && query.Index >= 0 && query.Index < count)
        return {query.Index, query.Index + 1};
    return {0, count};
}

}  // namespace

TKelXMLTag* TKelXMLTag::QueryTag(const std::string& query) const {
    const TQuery criteria = ParseQuery(query, true);
    const auto [first, end] = QueryRange(criteria, TagCount());
    for (int i = first; i < end; ++i) {
        TKelXMLTag* tag = tags_[static_cast<size_t>(i)].get();
        if (!criteria.Name.empty() && tag->Name != criteria.Name) continue;
        if (!criteria.Text.empty() && tag->Text != criteria.Text) continue;
        if (!criteria.Attribute.empty() && !tag->QueryAttribute(criteria.Attribute)) continue;
        return tag;
    }
    return nullptr;
}

TKelParserAttribute* TKelXMLTag::QueryAttribute(const std::string& query) const {
    const TQuery criteria = ParseQuery(query, false);
    const auto [first, end] = QueryRange(criteria, AttributeCount());
    for (int i = first; i < end; ++i) {
        TKelParserAttribute* attribute = attributes_[static_cast<size_t>(i)].get();
        if (!criteria.Name.empty() && attribute->Name != criteria.Name) continue;
        if (!criteria.Text.empty() && attribute->Value != criteria.Text) continue;
        return attribute;
    }
    return nullptr;
}

void TKelXMLTag::Assign(const TKelXMLTag& source) {
    for (const TKelXMLTag* tag = &source; tag; tag = tag->Parent) {
        if (tag != this) continue;
        // The source lies inside this element, which is about to be cleared: copy it first.
        TKelXMLTag copy;
        copy.Assign(source);
        Assign(copy);
        return;
    }
    std::vector<std::pair<TKelXMLTag*, const TKelXMLTag*>> pending{{this, &source}};
    while (!pending.empty()) {
        auto [target, from] = pending.back();
        pending.pop_back();
        target->ClearAttributes();
        target->ClearTags();
        target->Name = from->Name;
        target->Text = from->Text;
        for (const auto& attribute : from->attributes_)
            target->AddAttribute(attribute->Name, attribute->Value);
        for (const auto& child : from->tags_) pending.emplace_back(target->AddTag(""), child.get());
    }
}

std::string TKelXMLTag::ToText(int level) const {
    struct TOpen {
        const TKelXMLTag* Tag;
        size_t NextChild;
        int Level;
        std::string InnerIndent;
    };
    std::string out;
    std::vector<TOpen> open;
    // Writes the opening part of an element; answers whether its content is still to be closed.
    auto start = [&](const TKelXMLTag* tag, int tagLevel) {
        const std::string indent(static_cast<size_t>(tagLevel), '\t');
        out += indent + "<" + tag->Name;
        for (const auto& attribute : tag->attributes_) out += attribute->AsText();
        if (tag->tags_.empty() && tag->Text.empty()) {
            out += " />";
            out += CrLf;
            return;
        }
        const bool inlineText = !tag->Text.empty() && tag->Text.size() < 80;
        const std::string separator = inlineText ? "" : CrLf;
        const std::string innerIndent = inlineText ? "" : indent;
        out += ">" + separator;
        if (!tag->Text.empty()) out += innerIndent + EncodeEntities(tag->Text) + separator;
        open.push_back({tag, 0, tagLevel, innerIndent});
    };
    start(this, level < 0 ? 0 : level);
    while (!open.empty()) {
        TOpen& top = open.back();
        if (top.NextChild < top.Tag->tags_.size()) {
            const TKelXMLTag* child = top.Tag->tags_[top.NextChild++].get();
            start(child, top.Level + 1);  // may reallocate `open`; top is not used after this
            continue;
        }
        out += top.InnerIndent + "</" + top.Tag->Name + ">" + CrLf;
        open.pop_back();
    }
    return out;
}

// ---- Documents -------------------------------------------------------------------------------

// Cuts bytes into lines at CR LF, lone CR and lone LF; a zero byte ends the text.
static std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool pending = false;  // whether `line` holds a started line
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\0') break;
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            pending = false;
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            continue;
        }
        line += c;
        pending = true;
    }
    if (pending) lines.push_back(std::move(line));
    return lines;
}

TKelParser::TKelParser() : TKelXMLTag("root") {}

void TKelParser::LoadFromFile(const std::string& fileName) {
    std::ifstream file(fileName, std::ios::binary);
    if (!file)
        throw TKelCoreError("[TKelParser.LoadFromFile] Cannot open file \"" + fileName + "\"");
    LoadFromStream(file);
    if (file.bad())
        throw TKelCoreError("[TKelParser.LoadFromFile] Cannot read file \"" + fileName + "\"");
}

void TKelParser::LoadFromStream(std::istream& stream) {
    LoadFromString(
        std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>()));
}

void TKelParser::LoadFromStream(TMemoryStream& stream) {
    std::string bytes(stream.Size() > stream.Position() ? stream.Size() - stream.Position() : 0,
                      '\0');
    bytes.resize(stream.Read(bytes.data(), bytes.size()));
    LoadFromString(bytes);
}

void TKelParser::LoadFromString(const std::string& bytes) {
    Warnings.clear();
    Lines = SplitLines(bytes);
    MakeTypifiedLines();
    MakeTree();
}

bool TKelParser::MakeTypifiedLines() {
    std::string text;
    for (const std::string& line : Lines) text += line + CrLf;
    std::vector<std::string> typed;
    auto addText = [&](const std::string& piece) {
        const std::string trimmed = Trim(piece);
        if (!trimmed.empty()) typed.push_back("0" + DecodeEntities(NormalizeSpaces(trimmed)));
    };
    auto fail = [&](const char* reason) {
        Warnings.push_back(std::string("[TKelXMLTag.MakeTypifiedLines] ") + reason);
        Lines = std::move(typed);
        return false;
    };
    size_t i = 0;
    size_t nextGreater = text.find('>');  // the next ">" of the last search; npos: none left
    while (i < text.size()) {
        const size_t less = text.find('<', i);
        if (less == std::string::npos) {
            addText(text.substr(i));
            break;
        }
        addText(text.substr(i, less - i));
        i = less;
        if (text.compare(i, 4, "<!--") == 0) {
            const size_t end = text.find("-->", i + 4);
            if (end == std::string::npos) return fail("Comments started, but never ended!");
            i = end + 3;
        } else if (text.compare(i, 2, "<?") == 0) {
            const size_t end = text.find("?>", i + 2);
            if (end == std::string::npos) return fail("XML Head started, but never ended!");
            typed.push_back("4" + NormalizeSpaces(text.substr(i + 2, end - i - 2)));
            i = end + 2;
        } else {
            if (nextGreater != std::string::npos && nextGreater < i)
                nextGreater = text.find('>', i);
            if (nextGreater == std::string::npos) {
                ++i;  // a "<" that no ">" follows is dropped; what follows is text
                continue;
            }
            const std::string raw = text.substr(i + 1, nextGreater - i - 1);
            if (raw.empty()) return fail("Empty tag found!");
            // Blanks around the tag text do not change its kind: "< /a>" closes, "<a/ >" is
            // empty. Otherwise the element's name would hold the slash, and writing it back
            // would give a closing or an empty tag, changing the tree on the next read.
            const std::string tag = Trim(raw);
            if (!tag.empty() && tag.front() == '/')
                typed.push_back("1" + NormalizeSpaces(tag.substr(1)));
            else if (!tag.empty() && tag.back() == '/')
                typed.push_back("2" + NormalizeSpaces(Trim(tag.substr(0, tag.size() - 1))));
            else
                typed.push_back("3" + NormalizeSpaces(tag));
            i = nextGreater + 1;
        }
    }
    Lines = std::move(typed);
    return true;
}

void TKelParser::MakeTree() {
    ClearTags();
    ClearAttributes();
    TKelXMLTag* current = this;
    int depth = 0;     // nesting depth of current below the root
    int overflow = 0;  // opening tags beyond MaxXmlDepth still waiting for their closing tag
    std::string error;
    for (const std::string& line : Lines) {
        if (line.empty()) continue;
        const std::string payload = line.substr(1);
        error.clear();
        switch (line[0]) {
            case '3':
                current->AddTagByString(payload, &error);
                if (depth < MaxXmlDepth) {
                    current = current->LastTag();
                    ++depth;
                } else {
                    ++overflow;
                }
                break;
            case '2':
                current->AddTagByString(payload, &error);
                break;
            case '1':
                // The closing name is not compared; a closing tag at the root keeps the root.
                if (overflow > 0) {
                    --overflow;
                } else if (current != this) {
                    current = current->Parent;
                    --depth;
                }
                break;
            case '0':
                current->Text = payload;
                break;
            case '4': {
                // The head renames the root and gives it its attributes; reading goes on at the
                // root, since the elements opened before are gone.
                TKelXMLTag head;
                head.AddTagByString(payload, &error);
                Assign(*head.LastTag());
                current = this;
                depth = 0;
                overflow = 0;
                break;
            }
            default:
                break;
        }
        if (!error.empty()) Warnings.push_back(error);
    }
    unclosed_ = depth + overflow;
}

void TKelParser::MakeLines() {
    std::string text;
    if (Name == "xml") {
        text = "<?" + Name;
        for (const auto& attribute : Attributes()) text += attribute->AsText();
        text += "?>";
        text += CrLf;
    }
    for (const auto& tag : Tags()) text += tag->ToText(0);
    Lines = SplitLines(text);
}

void TKelParser::SaveToStream(std::ostream& stream) {
    const std::string text = SaveToString();
    stream.write(text.data(), static_cast<std::streamsize>(text.size()));
}

void TKelParser::SaveToStream(TMemoryStream& stream) {
    const std::string text = SaveToString();
    stream.Write(text.data(), text.size());
}

std::string TKelParser::SaveToString() {
    MakeLines();
    std::string text;
    for (const std::string& line : Lines) text += line + CrLf;
    return text;
}
