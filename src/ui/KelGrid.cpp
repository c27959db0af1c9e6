// Grids: item lists, the position and the top row, keys, mouse and wheel, the linked slider and
// drawing.
#include "ui/KelGrid.h"

#include <algorithm>

#include "core/KelParser.h"
#include "core/KelParserText.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/KelSlider.h"

using G = TKelGrid;

namespace {

// The items of a list, each ended by ";" outside double quotes; text after the last one is
// ignored.
std::vector<std::string> SplitItems(const std::string& text) {
    std::vector<std::string> items;
    std::string item;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == ';' && !quoted) {
            items.push_back(item);
            item.clear();
        } else {
            item += c;
        }
    }
    return items;
}

template <class E>
void ReadEnum(const TKelXMLTag& item, const char* name, E& value) {
    for (int i = 0; i < item.AttributeCount(); ++i) {
        const TKelParserAttribute& attribute = *item.GetAttribute(i);
        if (attribute.Name != name) continue;
        const auto& names = KelEnumNames<E>::Values();
        const auto found = std::find(names.begin(), names.end(), attribute.Value);
        if (found != names.end()) value = static_cast<E>(found - names.begin());
    }
}

const std::string* FindValue(const TKelXMLTag& item, const char* name) {
    for (int i = 0; i < item.AttributeCount(); ++i)
        if (item.GetAttribute(i)->Name == name) return &item.GetAttribute(i)->Value;
    return nullptr;
}

void ReadInt(const TKelXMLTag& item, const char* name, int32_t& value) {
    if (const std::string* text = FindValue(item, name)) value = ValInt(*text);
}

// Thousands separators for a whole number longer than three characters (a sign counts).
std::u32string Grouped(const std::u32string& text) {
    if (text.size() <= 3) return text;
    const size_t start = text[0] == U'-' || text[0] == U'+' ? 1 : 0;
    if (start == text.size() ||
        !std::all_of(text.begin() + static_cast<std::ptrdiff_t>(start), text.end(),
                     [](char32_t c) { return c >= U'0' && c <= U'9'; }))
        return text;
    std::u32string grouped = text;
    grouped.insert(text.size() - 3, 1, U',');
    if (text.size() > 6) grouped.insert(text.size() - 6, 1, U',');
    return grouped;
}

// The item list read as children of one element, one "Cell" per item.
void ParseItems(const std::string& text, TKelXMLTag& holder) {
    for (const std::string& item : SplitItems(text)) holder.AddTagByString("Cell " + item);
}

}  // namespace

const TKelClass& TKelGrid::StaticClass() {
    static const TKelClass info = MakeKelClass<G>(
        "TKelGrid", &TKelFocusedObject::StaticClass(),
        {Field("RowsHeight", &G::RowsHeight), Field("BorderWidth", &G::BorderWidth),
         Accessor<G, bool>("FixedRow", &G::fixedRow_, &G::SetFixedRow),
         Field("DivisorHeight", &G::DivisorHeight), Field("FixedColor", &G::FixedColor),
         Field("FixedFontName", &G::FixedFontName),
         Field("RowMouseOverColor", &G::RowMouseOverColor),
         Field("CursorPicture", &G::CursorPicture),
         Field("NotActiveCursorAlpha", &G::NotActiveCursorAlpha),
         Accessor<G, int32_t>("Position", &G::position_, &G::SetPosition),
         Accessor<G, std::string>("AddColumns", nullptr, &G::AddColumns),
         Accessor<G, std::string>("AddCells", nullptr, &G::AddCells, TKelPropertyType::Utf8String),
         Accessor<G, std::string>("Cells", &G::lastCells_, &G::SetCells,
                                  TKelPropertyType::Utf8String),
         Field("Delimiter", &G::Delimiter),
         Accessor<G, std::string>("LinkedObjectName", &G::linkedObjectName_,
                                  &G::SetLinkedObjectName)});
    return info;
}

void TKelGrid::ReadCell(const TKelXMLTag& item, TCell& cell, bool group) const {
    if (const std::string* font = FindValue(item, "FontName")) cell.FontName = *font;
    ReadInt(item, "Color", cell.Color);
    if (const std::string* text = FindValue(item, "Text")) {
        cell.Text = Utf8ToWide(*text);
        if (group && !Delimiter.empty()) cell.Text = Grouped(cell.Text);
    }
    ReadEnum(item, "Alignment", cell.Alignment);
    ReadEnum(item, "Layout", cell.Layout);
    ReadInt(item, "TextShiftLeft", cell.TextShiftLeft);
    ReadInt(item, "TextShiftTop", cell.TextShiftTop);
    if (const std::string* picture = FindValue(item, "Picture")) cell.Picture = *picture;
    ReadEnum(item, "PictureHAlign", cell.PictureHAlign);
    ReadEnum(item, "PictureVAlign", cell.PictureVAlign);
    ReadInt(item, "PictureShiftLeft", cell.PictureShiftLeft);
    ReadInt(item, "PictureShiftTop", cell.PictureShiftTop);
}

void TKelGrid::AddColumns(const std::string& items) {
    RecordOldRect();
    TKelXMLTag holder("Columns");
    ParseItems(items, holder);
    for (int i = 0; i < holder.TagCount(); ++i) {
        const TKelXMLTag& item = *holder.GetTag(i);
        TColumn column;
        column.Width = ClampCoordinate(int64_t{Width()} - 2 * int64_t{BorderWidth});
        ReadInt(item, "Width", column.Width);
        ReadCell(item, column.Format, false);
        column.Format.Text.clear();
        column.Format.Picture.clear();
        columns_.push_back(column);
    }
}

void TKelGrid::AddCells(const std::string& items) {
    if (columns_.empty()) return;
    RecordOldRect();
    TKelXMLTag holder("Cells");
    ParseItems(items, holder);
    for (int i = 0; i < holder.TagCount(); ++i) {
        TCell cell = columns_[cells_.size() % columns_.size()].Format;
        ReadCell(*holder.GetTag(i), cell, true);
        cells_.push_back(std::move(cell));
    }
    rowCount_ += holder.TagCount() / static_cast<int>(columns_.size());
    if (TKelSlider* slider = LinkedSlider()) slider->StoreMax(SliderMax());
}

void TKelGrid::SetCells(const std::string& items) {
    RecordOldRect();
    lastCells_ = items;
    TKelXMLTag holder("Cells");
    ParseItems(items, holder);
    for (int i = 0; i < holder.TagCount() && i < static_cast<int>(cells_.size()); ++i)
        ReadCell(*holder.GetTag(i), cells_[static_cast<size_t>(i)], false);
}

void TKelGrid::SetFixedRow(bool fixedRow) {
    RecordOldRect();
    fixedRow_ = fixedRow;
    if (TKelSlider* slider = LinkedSlider()) slider->StoreMax(SliderMax());
    if (fixedRow_ && top_ < position_) --position_;
}

TKelSlider* TKelGrid::LinkedSlider() const {
    if (!linked_) return nullptr;
    const TKelEngine* engine = GetEngine();
    TKelObject* object = engine ? engine->FindObject(linkedObjectName_) : nullptr;
    return object && &object->GetClass() == &TKelSlider::StaticClass()
               ? static_cast<TKelSlider*>(object)
               : nullptr;
}

void TKelGrid::SetLinkedObjectName(const std::string& name) {
    linkedObjectName_ = name;
    linked_ = true;
    TKelSlider* slider = LinkedSlider();
    linked_ = slider != nullptr;
    if (!slider) return;
    slider->StoreMax(rowCount_ - 1);
    slider->LinkTo(Name());
}

int TKelGrid::VisibleRows() const {
    if (RowsHeight <= 0) return 0;
    int64_t room = int64_t{Height()} - 2 * int64_t{BorderWidth};
    if (fixedRow_) room -= int64_t{RowsHeight} + DivisorHeight;
    const int64_t n = room / RowsHeight;
    return static_cast<int>(std::clamp<int64_t>(n, 0, std::max(rowCount_, 0)));
}

void TKelGrid::FireMouseDown() {
    TKelInterfaceEngine* engine = UiEngine();
    if (!engine) return;
    engine->QueueScript(
        Name(), (SoundMouseDown.empty() ? "" : "PlaySound Sound=\"" + SoundMouseDown + "\";") +
                    OnMouseDown);
}

void TKelGrid::SetPosition(int position) {
    if (RowsHeight <= 0) return;
    RecordOldRect();
    const int old = position_;
    const int n = VisibleRows();
    if (position < position_) {
        if (top_ > 0 && position < top_) top_ = ClampCoordinate(position);
        if (top_ < position_) position_ = position;
    } else {
        if (int64_t{position} >= int64_t{top_} + n)
            top_ = ClampCoordinate(int64_t{position} - n + 1);
        position_ = position;
    }
    TKelInterfaceEngine* engine = UiEngine();
    if (!engine) return;
    const bool sound = position_ != old && !SoundMouseDown.empty();
    engine->QueueScript(Name(),
                        (sound ? "PlaySound Sound=\"" + SoundMouseDown + "\";" : "") + OnMouseDown);
}

std::string TKelGrid::SelectedText() const {
    if (position_ < 0 || static_cast<size_t>(position_) >= cells_.size()) return {};
    return WideToUtf8(cells_[static_cast<size_t>(position_)].Text);
}

void TKelGrid::Clear() {
    RecordOldRect();
    if (fixedRow_ && !columns_.empty()) {
        cells_.resize(std::min(cells_.size(), columns_.size()));
        rowCount_ = 1;
    } else {
        cells_.clear();
        rowCount_ = 0;
    }
    top_ = position_ = 0;
    if (TKelSlider* slider = LinkedSlider()) slider->StorePosition(0);
}

void TKelGrid::SliderFollows() {
    if (TKelSlider* slider = LinkedSlider()) slider->SetPosition(position_);
}

void TKelGrid::MoveUp(int64_t& p, int64_t& top) {
    if (top > 0 && p == top) --top;
    if (p - top > 0) --p;
}

void TKelGrid::MoveDown(int64_t& p, int64_t& top) const {
    const int64_t n = VisibleRows();
    if (p < SliderMax() && top + n == p + 1) ++top;
    if (p - top < n - 1) ++p;
}

void TKelGrid::KeyDown(TKelObject*, int& key, TShiftState) {
    if (!Focused()) return;
    RecordOldRect();
    // Positions from descriptions may be anything: the table is worked out in 64 bits.
    const int64_t n = VisibleRows();
    const int64_t rc = rowCount_;
    int64_t p = position_, top = top_;
    // With no row shown (no row height, no rows) no key moves.
    if (n > 0) {
        switch (key) {
            case vk::Up:
                MoveUp(p, top);
                break;
            case vk::Down:
                MoveDown(p, top);
                break;
            case vk::Home:
                top = p = 0;
                break;
            case vk::End:
                if (fixedRow_) {
                    top = n < rc ? rc - n - 1 : 0;
                    p = rc - 2;
                } else {
                    top = n < rc ? rc - n : 0;
                    p = rc - 1;
                }
                break;
            case vk::PageUp: {
                if (top == 0) p = 0;
                const int64_t d = top - n;
                if (fixedRow_ ? d - 1 > 0 : d >= 0) {
                    top = d + 1;
                    p += 1 - n;
                } else {
                    p -= top;
                    top = 0;
                }
                break;
            }
            case vk::PageDown:
                if (fixedRow_) {
                    if (top >= rc - n - 1) p = rc - 2;
                    if (top < rc - 2 * n + 1) {
                        top += n - 1;
                        p += n - 1;
                    } else if (rc != n) {
                        p += rc - n - top - 1;
                        top = rc - n - 1;
                    } else {
                        p += rc - n - top;
                        top = rc - n;
                    }
                } else {
                    if (rc - n == top) p = rc - 1;
                    if (top < rc - 2 * n + 1) {
                        top += n - 1;
                        p += n - 1;
                    } else {
                        p += rc - n - top;
                        top = rc - n;
                    }
                }
                break;
            default:
                break;
        }
    }
    StorePlaces(p, top);
    FireMouseDown();
    SliderFollows();
    // The row keys are the grid's own; the others still move the focus.
    for (const int own : {vk::Up, vk::Down, vk::Home, vk::End, vk::PageUp, vk::PageDown})
        if (key == own) key = 0;
}

void TKelGrid::StorePlaces(int64_t p, int64_t top) {
    position_ = static_cast<int>(std::clamp<int64_t>(p, INT32_MIN, INT32_MAX));
    top_ = ClampCoordinate(top);
}

void TKelGrid::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    TKelFocusedObject::MouseDown(sender, button, shift, x, y);
    if (!PointInside(x, y) || button != TMouseButton::mbLeft || RowsHeight <= 0) return;
    RecordOldRect();
    const int64_t n = VisibleRows();
    const int64_t header = fixedRow_ ? int64_t{RowsHeight} + DivisorHeight : 0;
    const int64_t start = int64_t{AbsTop()} + BorderWidth + header;
    if (y > start && y < start + n * RowsHeight) {
        position_ = ClampCoordinate((y - start) / RowsHeight + top_);
        SliderFollows();
    }
    const int64_t band = int64_t{AbsTop()} + BorderWidth + DivisorHeight;
    const int64_t rows = n + (fixedRow_ ? 1 : 0);
    if ((shift & ssDouble) && y > band && y < band + rows * RowsHeight) {
        if (TKelInterfaceEngine* engine = UiEngine())
            engine->QueueScript(
                Name(),
                (SoundMouseDown.empty() ? "" : "PlaySound Sound=\"" + SoundMouseDown + "\";") +
                    OnDblClick);
    }
}

void TKelGrid::MouseMove(TKelObject*, TShiftState, int x, int y) {
    hover_ = -1;
    if (!PointInside(x, y) || RowsHeight <= 0) {
        if (MouseOver()) RecordOldRect();
        SetMouseOver(false);
        return;
    }
    const int64_t start = int64_t{AbsTop()} + BorderWidth + (fixedRow_ ? DivisorHeight : 0);
    const int64_t rows = int64_t{VisibleRows()} + (fixedRow_ ? 1 : 0);
    if (y > start && y < start + rows * RowsHeight)
        hover_ = static_cast<int>((y - start) / RowsHeight);
    RecordOldRect();
    SetMouseOver(true);
}

void TKelGrid::MouseWheel(TKelObject*, TShiftState, int delta, TPoint, bool& handled) {
    if (!Focused()) return;
    RecordOldRect();
    if (RowsHeight > 0) {
        int64_t p = position_, top = top_;
        if (delta < 0) MoveDown(p, top);
        if (delta > 0) MoveUp(p, top);
        StorePlaces(p, top);
    }
    FireMouseDown();
    SliderFollows();
    handled = true;
}

std::string TKelGrid::GetPictures() const {
    std::vector<std::string> names;
    for (const std::string* name : {&Picture(), &CursorPicture})
        if (!name->empty()) names.push_back(*name);
    for (const TCell& cell : cells_)
        if (!cell.Picture.empty() &&
            std::find(names.begin(), names.end(), cell.Picture) == names.end())
            names.push_back(cell.Picture);
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "\r\n") + name;
    return text;
}

void TKelGrid::DrawCell(const TCell& cell, int column, int64_t x, int64_t y, uint32_t color) {
    IKelGraphic* host = Host();
    const int64_t width = columns_[static_cast<size_t>(column)].Width;
    int pw = 0, ph = 0;
    PictureSize(cell.Picture, pw, ph);
    const auto place = [](int64_t room, int size, int shift, int align) {
        if (align == 0) return int64_t{shift};
        if (align == 1) return shift + (room - size) / 2;
        return room - size + shift;
    };
    host->Draw(cell.Picture, "", BlendingMode,
               ClampCoordinate(x + place(width, pw, cell.PictureShiftLeft, cell.PictureHAlign)),
               ClampCoordinate(y + place(RowsHeight, ph, cell.PictureShiftTop, cell.PictureVAlign)),
               PictureAlpha(), std::nullopt);
    const TKelInterfaceEngine* engine = UiEngine();
    TKelFont* font =
        engine && engine->FontEngine ? engine->FontEngine->FindFont(cell.FontName) : nullptr;
    if (!font || cell.Text.empty()) return;
    const int64_t textWidth = font->TextWidth(cell.Text);
    int64_t tx = 0;
    switch (cell.Alignment) {
        case taLeft:
            tx = cell.TextShiftLeft;
            break;
        case taCenter:
            tx = cell.TextShiftLeft + (width - textWidth) / 2;
            break;
        case taRight:
            tx = width + cell.TextShiftLeft - textWidth;
            break;
        case taJustify:
            tx = 0;
            break;
    }
    int64_t ty = cell.TextShiftTop;
    if (cell.Layout == tlCenter) ty += (int64_t{RowsHeight} - font->Height) / 2;
    if (cell.Layout == tlBottom) ty += int64_t{RowsHeight} - font->Height;
    font->DrawString(ClampCoordinate(x + tx), ClampCoordinate(y + ty), color, 255, cell.Text);
}

void TKelGrid::Draw() {
    TKelInterfaceObject::Draw();
    IKelGraphic* host = Host();
    const int cc = static_cast<int>(columns_.size());
    if (!host || cc < 1 || rowCount_ < 1 || RowsHeight < 1 || cells_.empty()) return;
    const int64_t left = int64_t{AbsLeft()} + BorderWidth;
    const int64_t top = int64_t{AbsTop()} + BorderWidth;
    int cw = 0, ch = 0;
    PictureSize(CursorPicture, cw, ch);
    const int64_t relative = int64_t{position_} - top_;
    const int64_t barY =
        fixedRow_ ? (RowsHeight - ch) / 2 + int64_t{DivisorHeight} + RowsHeight * (relative + 1)
                  : relative * RowsHeight + (RowsHeight - ch) / 2;
    if (Focused())
        host->Draw(CursorPicture, "", BlendingMode, ClampCoordinate(left),
                   ClampCoordinate(top + barY), PictureAlpha(), std::nullopt);
    else
        host->DrawColoredAlpha(CursorPicture, "", ClampCoordinate(left),
                               ClampCoordinate(top + barY), 0, NotActiveCursorAlpha);
    const int n = VisibleRows();
    const auto drawRow = [&](int64_t row, bool header) {
        if (row < 0) return;
        const int64_t b = row - top_;
        const int64_t y = header ? top : top + b * RowsHeight + (fixedRow_ ? DivisorHeight : 0);
        int64_t x = left;
        for (int c = 0; c < cc; ++c) {
            const int64_t index = row * cc + c;
            if (index >= static_cast<int64_t>(cells_.size())) return;
            const TCell& cell = cells_[static_cast<size_t>(index)];
            const int32_t color = header        ? FixedColor
                                  : b == hover_ ? RowMouseOverColor
                                                : cell.Color;
            DrawCell(cell, c, x, y, static_cast<uint32_t>(color));
            x += columns_[static_cast<size_t>(c)].Width;
        }
    };
    if (fixedRow_) {
        drawRow(0, true);
        for (int64_t row = int64_t{top_} + 1; row <= int64_t{top_} + n; ++row) drawRow(row, false);
    } else {
        for (int64_t row = top_; row < int64_t{top_} + n; ++row) drawRow(row, false);
    }
}
