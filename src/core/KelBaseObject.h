// The base of the effect objects: TKelBaseObject, an object with a short name (at most 32 bytes),
// a virtual constructor, a deep copy and an initialisation check, and TKelStaticCollection, an
// owning list of such objects that copies itself deeply, initialises its items and finds them by
// name without regard to letter case. Also the two text functions the effect readers use.
// Numbers are converted to and from text with "." as the decimal separator everywhere in the
// program (TextToFloat and the readers never consult the locale). Relies on KelParserText.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

class TKelBaseObject {
  public:
    static constexpr size_t MaxNameLength = 32;

    virtual ~TKelBaseObject() = default;

    // Named after the class until SetName: the class name without its first letter and
    // "_Default" (a TKelMorph starts as "KelMorph_Default").
    const std::string& Name() const;
    // Stores at most the first 32 bytes.
    virtual void SetName(const std::string& name);
    // A new object of the exact class of this one (every creatable class overrides it).
    virtual std::unique_ptr<TKelBaseObject> Create() const;
    // Copies the name; answers whether a source was given. Derived classes copy their own data.
    virtual bool Assign(const TKelBaseObject* source);
    // Prepares the object after loading; false when it cannot work.
    virtual bool Initialize() { return true; }
    virtual const char* ClassName() const { return "TKelBaseObject"; }

  private:
    mutable std::string name_;
    mutable bool named_ = false;
};

class TKelStaticCollection : public TKelBaseObject {
  public:
    // Visitor of ForEach: the collection, the entry's index and the entry; false stops the walk.
    using TVisitor = std::function<bool(TKelStaticCollection&, int, TKelBaseObject&)>;

    int Count() const { return static_cast<int>(items_.size()); }
    const std::vector<std::unique_ptr<TKelBaseObject>>& Items() const { return items_; }
    // The entry, or none outside 0..Count-1 (an entry may itself be none).
    TKelBaseObject* GetItem(int index) const;
    // Appends an entry, which may be none; the collection owns it. Answers its index.
    int Add(std::unique_ptr<TKelBaseObject> item);
    // The first non-empty entry whose name equals the name without regard to case; -1 if none.
    int IndexOf(const std::string& name) const;
    void Clear() { items_.clear(); }
    // Calls the visitor on every non-empty entry in order until it answers false; answers
    // whether every call answered true.
    bool ForEach(const TVisitor& visitor);

    std::unique_ptr<TKelBaseObject> Create() const override;
    // Only from another collection: replaces the entries by copies of the source's entries (of
    // their exact classes). When one copy fails the collection ends empty and the answer is false.
    bool Assign(const TKelBaseObject* source) override;
    // Initialises every non-empty entry in order, stopping at the first that fails.
    bool Initialize() override;
    const char* ClassName() const override { return "TKelStaticCollection"; }

  private:
    std::vector<std::unique_ptr<TKelBaseObject>> items_;
};

// How many times the character occurs in the text.
int CountChar(const std::string& text, char character);

// The pieces of the text between delimiters, empty ones kept; an empty text gives no pieces.
// With stripParentheses the text is first reduced to what lies between its first "(" and its
// last ")" (or the end when there is no ")"), trimmed; without a "(", or with the last ")" before
// it, nothing remains.
std::vector<std::string> SplitText(const std::string& text, char delimiter, bool stripParentheses);
