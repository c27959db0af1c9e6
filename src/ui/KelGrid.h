// TKelGrid: a scrolling list of rows split into columns (the player list, the high scores) with a
// selection bar, a hover highlight, keyboard, mouse and wheel navigation, an optional fixed
// header row and an optional linked slider. Relies on the interface objects (KelInterfaceObject),
// the fonts (KelFont), the XML parser (KelParser) for its item lists and the sliders (KelSlider).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/KelInterfaceObject.h"

class TKelSlider;
class TKelXMLTag;

class TKelGrid : public TKelFocusedObject {
    KEL_CLASS(TKelGrid)

  public:
    struct TCell {
        std::string FontName;
        int32_t Color = 0;
        std::u32string Text;
        TTextAlignment Alignment = taLeft;
        TTextLayout Layout = tlTop;
        int32_t TextShiftLeft = 0, TextShiftTop = 0;
        std::string Picture;
        TPictureHAlignType PictureHAlign = phaLeft;
        TPictureVAlignType PictureVAlign = pvaTop;
        int32_t PictureShiftLeft = 0, PictureShiftTop = 0;
    };
    struct TColumn {
        int32_t Width = 0;
        TCell Format;  // what the column's new cells start from
    };

    int32_t RowsHeight = 0, BorderWidth = 0, DivisorHeight = 0;
    int32_t FixedColor = 0, RowMouseOverColor = 0;
    std::string FixedFontName;  // stored only
    std::string CursorPicture;
    uint8_t NotActiveCursorAlpha = 255;
    std::string Delimiter;

    bool FixedRow() const { return fixedRow_; }
    void SetFixedRow(bool fixedRow);
    int Position() const { return position_; }
    void SetPosition(int position);
    int TopRow() const { return top_; }
    int HoverRow() const { return hover_; }
    int RowCount() const { return rowCount_; }
    const std::vector<TColumn>& Columns() const { return columns_; }
    const std::vector<TCell>& Cells() const { return cells_; }
    void AddColumns(const std::string& items);
    void AddCells(const std::string& items);
    void SetCells(const std::string& items);
    const std::string& LinkedObjectName() const { return linkedObjectName_; }
    void SetLinkedObjectName(const std::string& name);
    // The text of the selected cell; empty when the position names no cell.
    std::string SelectedText() const;
    // Removes every row but the header.
    void Clear();
    // The data rows shown at once.
    int VisibleRows() const;
    // The linked slider, when one is linked and still exists.
    TKelSlider* LinkedSlider() const;
    // The slider's Max for this grid.
    int SliderMax() const { return rowCount_ + (fixedRow_ ? 0 : 1) - 2; }

    std::string GetPictures() const override;
    void KeyDown(TKelObject* sender, int& key, TShiftState shift) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseWheel(TKelObject* sender, TShiftState shift, int delta, TPoint position,
                    bool& handled) override;
    void Draw() override;

  private:
    void ReadCell(const TKelXMLTag& item, TCell& cell, bool group) const;
    static void MoveUp(int64_t& p, int64_t& top);
    void MoveDown(int64_t& p, int64_t& top) const;
    void StorePlaces(int64_t p, int64_t top);
    void FireMouseDown();
    void SliderFollows();
    void DrawCell(const TCell& cell, int column, int64_t x, int64_t y, uint32_t color);

    bool fixedRow_ = false;
    int32_t position_ = 0;
    int top_ = 0, hover_ = -1, rowCount_ = 0;
    std::vector<TColumn> columns_;
    std::vector<TCell> cells_;
    std::string lastCells_;
    std::string linkedObjectName_;
    bool linked_ = false;
};
