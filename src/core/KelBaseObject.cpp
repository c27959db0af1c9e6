// Effect object base, owning collections and the effect readers' text functions. Relies on
// KelParserText.
#include "core/KelBaseObject.h"

#include <algorithm>

#include "core/KelParserText.h"

const std::string& TKelBaseObject::Name() const {
    if (!named_) {
        const std::string className = ClassName();
        name_ = (className.empty() ? "" : className.substr(1)) + "_Default";
        name_.resize(std::min(name_.size(), MaxNameLength));
        named_ = true;
    }
    return name_;
}

void TKelBaseObject::SetName(const std::string& name) {
    name_ = name.substr(0, MaxNameLength);
    named_ = true;
}

std::unique_ptr<TKelBaseObject> TKelBaseObject::Create() const {
    return std::make_unique<TKelBaseObject>();
}

bool TKelBaseObject::Assign(const TKelBaseObject* source) {
    if (!source) return false;
    if (source != this) SetName(source->Name());
    return true;
}

TKelBaseObject* TKelStaticCollection::GetItem(int index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return items_[static_cast<size_t>(index)].get();
}

int TKelStaticCollection::Add(std::unique_ptr<TKelBaseObject> item) {
    items_.push_back(std::move(item));
    return Count() - 1;
}

int TKelStaticCollection::IndexOf(const std::string& name) const {
    for (int i = 0; i < Count(); ++i) {
        const TKelBaseObject* item = items_[static_cast<size_t>(i)].get();
        if (item && SameText(item->Name(), name)) return i;
    }
    return -1;
}

bool TKelStaticCollection::ForEach(const TVisitor& visitor) {
    // Index-based: a visitor may add entries, which are then visited too.
    for (int i = 0; i < Count(); ++i) {
        TKelBaseObject* item = items_[static_cast<size_t>(i)].get();
        if (item && !visitor(*this, i, *item)) return false;
    }
    return true;
}

std::unique_ptr<TKelBaseObject> TKelStaticCollection::Create() const {
    return std::make_unique<TKelStaticCollection>();
}

bool TKelStaticCollection::Assign(const TKelBaseObject* source) {
    if (!TKelBaseObject::Assign(source)) return false;
    const auto* collection = dynamic_cast<const TKelStaticCollection*>(source);
    if (!collection) return false;
    if (collection == this) return true;
    Clear();
    for (const auto& item : collection->items_) {
        if (!item) {
            Add(nullptr);
            continue;
        }
        std::unique_ptr<TKelBaseObject> copy = item->Create();
        if (!copy->Assign(item.get())) {
            Clear();
            return false;
        }
        Add(std::move(copy));
    }
    return true;
}

bool TKelStaticCollection::Initialize() {
    if (!TKelBaseObject::Initialize()) return false;
    for (const auto& item : items_)
        if (item && !item->Initialize()) return false;
    return true;
}

int CountChar(const std::string& text, char character) {
    int count = 0;
    for (char c : text) count += c == character;
    return count;
}

std::vector<std::string> SplitText(const std::string& text, char delimiter, bool stripParentheses) {
    std::string rest = text;
    if (stripParentheses) {
        const size_t open = text.find('(');
        const size_t close = text.rfind(')');
        if (open == std::string::npos || (close != std::string::npos && close < open))
            rest.clear();
        else
            rest = Trim(text.substr(
                open + 1, close == std::string::npos ? std::string::npos : close - open - 1));
    }
    std::vector<std::string> pieces;
    if (rest.empty()) return pieces;
    size_t start = 0;
    while (true) {
        const size_t found = rest.find(delimiter, start);
        if (found == std::string::npos) {
            pieces.push_back(rest.substr(start));
            return pieces;
        }
        pieces.push_back(rest.substr(start, found - start));
        start = found + 1;
    }
}
