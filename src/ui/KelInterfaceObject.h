// TKelInterfaceObject: the base of every interface object (geometry, alignment inside its form
// or the screen, automatic size, picture placement, visibility, redraw bookkeeping, hit testing)
// and TKelFocusedObject, an object that takes the keyboard focus in its form's tab order.
// Objects live in a TKelInterfaceEngine, which gives them their host, screen size, font engine
// and script queue. Relies on the object framework (KelBaseClasses) and the host (KelInterface).
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "core/KelBaseClasses.h"
#include "ui/KelInterface.h"

class TKelInterfaceEngine;
class TKelForm;
class IKelGraphic;

// Positions, sizes and offsets of interface objects are kept within +-MaxCoordinate, so that
// the sums of nested positions, alignments and line placements never overflow, whatever a
// description says.
constexpr int MaxCoordinate = 1 << 24;
inline int ClampCoordinate(int64_t value) {
    return static_cast<int>(std::clamp<int64_t>(value, -MaxCoordinate, MaxCoordinate));
}
// A sum kept within the range of int (steps and positions a description may set to anything).
inline int SaturatingAdd(int value, int64_t step) {
    return static_cast<int>(std::clamp<int64_t>(int64_t{value} + step, INT32_MIN, INT32_MAX));
}
// A real coordinate rounded and kept within +-MaxCoordinate.
inline int RoundCoordinate(double value) {
    return static_cast<int>(std::lround(std::clamp<double>(value, -MaxCoordinate, MaxCoordinate)));
}

class TKelInterfaceObject : public TKelObject {
    KEL_CLASS(TKelInterfaceObject)

  public:
    std::string Style;
    std::string OnMouseDown, OnMouseMove, OnMouseUp, OnDblClick;
    std::string SoundMouseDown, SoundMouseMove, SoundMouseUp;
    // Stored only; no class runs them.
    std::string OnKeyDown, OnKeyPress, OnKeyUp, OnMouseWheel;
    std::string SoundKeyDown, SoundKeyPress, SoundKeyUp, SoundMouseWheel;
    TBlendingMode BlendingMode = bmNormal;

    int Left() const { return left_; }
    int Top() const { return top_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    int AbsLeft() const { return absLeft_; }
    int AbsTop() const { return absTop_; }
    int PictureLeft() const { return pictureLeft_; }
    int PictureTop() const { return pictureTop_; }
    int PictureWidth() const { return pictureWidth_; }
    int PictureHeight() const { return pictureHeight_; }
    const std::string& Picture() const { return picture_; }
    const std::string& BumpMapPicture() const { return bumpMapPicture_; }
    const std::string& CurrentBumpMap() const { return currentBumpMap_; }
    TAutoSizeType AutoSize() const { return autoSize_; }
    THAlignType HAlign() const { return hAlign_; }
    TVAlignType VAlign() const { return vAlign_; }
    uint8_t PictureAlpha() const { return pictureAlpha_; }
    bool Visible() const { return visible_; }
    bool Dirty() const { return dirty_; }
    bool MouseOver() const { return mouseOver_; }
    // The screen rectangle recorded before the first change since the last frame; empty when
    // the object has not changed.
    const TRect& OldRect() const { return oldRect_; }
    // The screen rectangle covered now (inclusive corners).
    TRect ScreenRect() const;

    virtual void SetLeft(int left);
    virtual void SetPicture(const std::string& picture);
    virtual void SetTop(int top);
    virtual void SetWidth(int width);
    virtual void AlignPicture();
    virtual void SetAutoSize(TAutoSizeType autoSize);
    virtual void SetVisible(bool visible);
    // The names of the pictures the object may draw, one per line, CR LF between.
    virtual std::string GetPictures() const;
    virtual void FitToPicture();
    virtual void UpdateAbsolutePosition();
    virtual void UpdateLayout();
    virtual void KeyDown(TKelObject* sender, int& key, TShiftState shift);
    virtual void KeyPress(TKelObject* sender, char32_t& key);
    virtual void KeyUp(TKelObject* sender, int& key, TShiftState shift);
    virtual void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                           int y);
    virtual void MouseMove(TKelObject* sender, TShiftState shift, int x, int y);
    virtual void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y);
    virtual void MouseWheel(TKelObject* sender, TShiftState shift, int delta, TPoint position,
                            bool& handled);
    virtual void Draw();

    // The keys' focus in a window: whether Tab and the arrows stop at the object (buttons, check
    // boxes, sliders, edits, grids), whether it is the one they act on (it then shows its
    // highlighted look), and what Return or Space does on it (a button's click).
    virtual bool TakesKeyFocus() const { return false; }
    virtual bool KeyFocused() const { return keyFocused_; }
    virtual void SetKeyFocused(bool focused);
    virtual void Press() {}

    void SetHeight(int height);
    // Both coordinates at once; ignored when either alignment is set.
    void SetPos(int left, int top);
    void SetHAlign(THAlignType align);
    void SetVAlign(TVAlignType align);
    void SetShiftLeft(int shift);
    void SetShiftTop(int shift);
    void SetPictureHAlign(TPictureHAlignType align);
    void SetPictureVAlign(TPictureVAlignType align);
    void SetPictureShiftLeft(int shift);
    void SetPictureShiftTop(int shift);
    void SetPictureAlpha(uint8_t alpha);
    void SetBumpMapPicture(const std::string& bumpMap);
    // Sets the screen position directly (form drags move children this way).
    void SetAbsPos(int absLeft, int absTop);
    // The screen position saved when a drag of the enclosing form begins.
    TPoint DragOrigin;

    void Assign(const TKelObject& source) override;
    // Dirty false and the old rectangle empty (after a frame).
    void ClearDirty();
    // Records the rectangle covered now as the old one unless the object is dirty already, and
    // marks it dirty.
    void RecordOldRect();
    // Replaces the old rectangle (the engine gives a form the area of a form closed above it).
    void SetOldRect(const TRect& rect);
    bool PointInside(int x, int y) const;

    TKelInterfaceEngine* UiEngine() const;
    // The enclosing form, none for a top-level object.
    TKelForm* ParentForm() const;

  protected:
    IKelGraphic* Host() const;
    void PictureSize(const std::string& picture, int& width, int& height) const;
    void Align();
    void RefreshPictureSize();
    void SetCurrentBumpMap(const std::string& bumpMap) { currentBumpMap_ = bumpMap; }
    void SetPictureOffset(int left, int top) {
        pictureLeft_ = left;
        pictureTop_ = top;
    }
    // Stores the size directly (fitting and justified alignment).
    void StoreSize(int width, int height) {
        width_ = ClampCoordinate(width);
        height_ = ClampCoordinate(height);
    }
    void StoreVisible(bool visible) { visible_ = visible; }
    // Stores the position directly, whatever the alignments say.
    void StorePosition(int left, int top) {
        left_ = ClampCoordinate(left);
        top_ = ClampCoordinate(top);
    }
    TPictureHAlignType PictureHAlign() const { return pictureHAlign_; }
    TPictureVAlignType PictureVAlign() const { return pictureVAlign_; }
    void SetMouseOver(bool over) { mouseOver_ = over; }

  private:
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    int absLeft_ = 0, absTop_ = 0;
    int shiftLeft_ = 0, shiftTop_ = 0;
    TAutoSizeType autoSize_ = asNone;
    THAlignType hAlign_ = haNone;
    TVAlignType vAlign_ = vaNone;
    std::string picture_, bumpMapPicture_, currentBumpMap_;
    TPictureHAlignType pictureHAlign_ = phaLeft;
    TPictureVAlignType pictureVAlign_ = pvaTop;
    int pictureShiftLeft_ = 0, pictureShiftTop_ = 0;
    int pictureLeft_ = 0, pictureTop_ = 0, pictureWidth_ = 0, pictureHeight_ = 0;
    uint8_t pictureAlpha_ = 255;
    bool visible_ = false;
    bool mouseOver_ = false;
    bool keyFocused_ = false;
    bool dirty_ = false;
    TRect oldRect_{0, 0, -1, -1};
};

class TKelFocusedObject : public TKelInterfaceObject {
    KEL_CLASS(TKelFocusedObject)

  public:
    bool Focused() const { return focused_; }
    int TabOrder() const { return tabOrder_; }
    bool PressedInside() const { return pressedInside_; }

    virtual void SetFocused(bool focused);
    bool TakesKeyFocus() const override { return true; }
    bool KeyFocused() const override { return focused_; }
    void SetKeyFocused(bool focused) override { SetFocused(focused); }
    // While a description is read the value is stored as given; otherwise the object moves to
    // that place of its form's focus list (clamped to the list).
    void SetTabOrder(int tabOrder);
    // Stores the place the focus list gives the object, without moving it.
    void StoreTabOrder(int tabOrder) { tabOrder_ = tabOrder; }

    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;

  protected:
    void ReleasePress() { pressedInside_ = false; }

  private:
    bool focused_ = false;
    int tabOrder_ = 0;
    bool pressedInside_ = false;
};
