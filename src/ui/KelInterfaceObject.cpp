// Interface objects: setters with alignment and picture placement, redraw bookkeeping, hit
// testing and the focus behaviour of focused objects.
#include "ui/KelInterfaceObject.h"

#include <algorithm>

#include "ui/KelForm.h"
#include "ui/KelInterfaceEngine.h"

using IO = TKelInterfaceObject;

const TKelClass& TKelInterfaceObject::StaticClass() {
    static const TKelClass info = MakeKelClass<IO>(
        "TKelInterfaceObject", &TKelObject::StaticClass(),
        {Field("Style", &IO::Style),
         Accessor<IO, int32_t>("Left", &IO::Left, &IO::SetLeft),
         Accessor<IO, int32_t>("Top", &IO::Top, &IO::SetTop),
         Accessor<IO, int32_t>("Width", &IO::Width, &IO::SetWidth),
         Accessor<IO, int32_t>("Height", &IO::Height, &IO::SetHeight),
         Accessor<IO, TAutoSizeType>("AutoSize", &IO::autoSize_, &IO::SetAutoSize),
         Accessor<IO, THAlignType>("HAlign", &IO::hAlign_, &IO::SetHAlign),
         Accessor<IO, TVAlignType>("VAlign", &IO::vAlign_, &IO::SetVAlign),
         Accessor<IO, int32_t>("ShiftLeft", &IO::shiftLeft_, &IO::SetShiftLeft),
         Accessor<IO, int32_t>("ShiftTop", &IO::shiftTop_, &IO::SetShiftTop),
         Accessor<IO, std::string>("Picture", &IO::picture_, &IO::SetPicture),
         Accessor<IO, TPictureHAlignType>("PictureHAlign", &IO::pictureHAlign_,
                                          &IO::SetPictureHAlign),
         Accessor<IO, TPictureVAlignType>("PictureVAlign", &IO::pictureVAlign_,
                                          &IO::SetPictureVAlign),
         Accessor<IO, int32_t>("PictureShiftLeft", &IO::pictureShiftLeft_,
                               &IO::SetPictureShiftLeft),
         Accessor<IO, int32_t>("PictureShiftTop", &IO::pictureShiftTop_, &IO::SetPictureShiftTop),
         Accessor<IO, uint8_t>("PictureAlpha", &IO::pictureAlpha_, &IO::SetPictureAlpha),
         Field("BlendingMode", &IO::BlendingMode),
         Accessor<IO, std::string>("BumpMapPicture", &IO::bumpMapPicture_, &IO::SetBumpMapPicture),
         Accessor<IO, bool>("Visible", &IO::visible_, &IO::SetVisible),
         Field("OnMouseDown", &IO::OnMouseDown),
         Field("OnMouseMove", &IO::OnMouseMove),
         Field("OnMouseUp", &IO::OnMouseUp),
         Field("OnDblClick", &IO::OnDblClick),
         Field("SoundMouseDown", &IO::SoundMouseDown),
         Field("SoundMouseMove", &IO::SoundMouseMove),
         Field("SoundMouseUp", &IO::SoundMouseUp),
         Field("OnKeyDown", &IO::OnKeyDown),
         Field("OnKeyPress", &IO::OnKeyPress),
         Field("OnKeyUp", &IO::OnKeyUp),
         Field("OnMouseWheel", &IO::OnMouseWheel),
         Field("SoundKeyDown", &IO::SoundKeyDown),
         Field("SoundKeyPress", &IO::SoundKeyPress),
         Field("SoundKeyUp", &IO::SoundKeyUp),
         Field("SoundMouseWheel", &IO::SoundMouseWheel)});
    return info;
}

TKelInterfaceEngine* TKelInterfaceObject::UiEngine() const {
    return dynamic_cast<TKelInterfaceEngine*>(GetEngine());
}

TKelForm* TKelInterfaceObject::ParentForm() const {
    return dynamic_cast<TKelForm*>(Parent);
}

IKelGraphic* TKelInterfaceObject::Host() const {
    const TKelInterfaceEngine* engine = UiEngine();
    return engine ? engine->Host : nullptr;
}

void TKelInterfaceObject::PictureSize(const std::string& picture, int& width, int& height) const {
    width = height = 0;
    if (IKelGraphic* host = Host(); host && !picture.empty())
        host->GetPictureSize(width, height, picture);
}

TRect TKelInterfaceObject::ScreenRect() const {
    return {absLeft_, absTop_, absLeft_ + width_ - 1, absTop_ + height_ - 1};
}

bool TKelInterfaceObject::PointInside(int x, int y) const {
    return absLeft_ <= x && x < absLeft_ + width_ && absTop_ <= y && y < absTop_ + height_;
}

void TKelInterfaceObject::RecordOldRect() {
    if (dirty_) return;
    oldRect_ = ScreenRect();
    dirty_ = true;
}

void TKelInterfaceObject::SetOldRect(const TRect& rect) {
    oldRect_ = rect;
    dirty_ = true;
}

void TKelInterfaceObject::ClearDirty() {
    dirty_ = false;
    oldRect_ = {0, 0, -1, -1};
}

void TKelInterfaceObject::Align() {
    int containerWidth = ScreenWidth, containerHeight = ScreenHeight;
    if (const TKelForm* form = ParentForm()) {
        containerWidth = form->Width();
        containerHeight = form->Height();
    } else if (const TKelInterfaceEngine* engine = UiEngine()) {
        containerWidth = engine->ScreenWidth();
        containerHeight = engine->ScreenHeight();
    }
    switch (hAlign_) {
        case haLeft:
            left_ = shiftLeft_;
            break;
        case haCenter:
            left_ = containerWidth / 2 + shiftLeft_ - width_ / 2;
            break;
        case haRight:
            left_ = containerWidth + shiftLeft_ - width_;
            break;
        case haJustify:
            if (autoSize_ == asNone) {
                left_ = 0;
                width_ = containerWidth;
            }
            break;
        case haNone:
            break;
    }
    switch (vAlign_) {
        case vaTop:
            top_ = shiftTop_;
            break;
        case vaCenter:
            top_ = containerHeight / 2 - height_ / 2 + shiftTop_;
            break;
        case vaBottom:
            top_ = containerHeight - height_ + shiftTop_;
            break;
        case vaJustify:
            if (autoSize_ == asNone) {
                top_ = 0;
                height_ = containerHeight;
            }
            break;
        case vaNone:
            break;
    }
}

void TKelInterfaceObject::FitToPicture() {
    if (autoSize_ != asPicture || picture_.empty()) return;
    int width = 0, height = 0;
    PictureSize(picture_, width, height);
    if (width > 0 && height > 0) StoreSize(width, height);
}

void TKelInterfaceObject::AlignPicture() {
    if (picture_.empty()) return;
    int pw = 0, ph = 0;
    PictureSize(picture_, pw, ph);
    if (pw < 1 || ph < 1) return;
    switch (pictureHAlign_) {
        case phaLeft:
            pictureLeft_ = pictureShiftLeft_;
            break;
        case phaCenter:
            pictureLeft_ = width_ / 2 + pictureShiftLeft_ - pw / 2;
            break;
        case phaRight:
            pictureLeft_ = width_ + pictureShiftLeft_ - pw;
            break;
    }
    switch (pictureVAlign_) {
        case pvaTop:
            pictureTop_ = pictureShiftTop_;
            break;
        case pvaCenter:
            pictureTop_ = height_ / 2 + pictureShiftTop_ - ph / 2;
            break;
        case pvaBottom:
            pictureTop_ = height_ + pictureShiftTop_ - ph;
            break;
    }
}

void TKelInterfaceObject::RefreshPictureSize() {
    PictureSize(picture_, pictureWidth_, pictureHeight_);
}

void TKelInterfaceObject::UpdateAbsolutePosition() {
    absLeft_ = left_;
    absTop_ = top_;
    if (const TKelForm* form = ParentForm()) {
        absLeft_ += form->AbsLeft();
        absTop_ += form->AbsTop();
    }
}

void TKelInterfaceObject::UpdateLayout() {
    FitToPicture();
    Align();
    UpdateAbsolutePosition();
    AlignPicture();
    RefreshPictureSize();
}

void TKelInterfaceObject::SetAbsPos(int absLeft, int absTop) {
    RecordOldRect();
    absLeft_ = absLeft;
    absTop_ = absTop;
}

void TKelInterfaceObject::SetLeft(int left) {
    left = ClampCoordinate(left);
    RecordOldRect();
    if (hAlign_ != haNone) return;
    left_ = left;
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetTop(int top) {
    top = ClampCoordinate(top);
    RecordOldRect();
    if (vAlign_ != vaNone) return;
    top_ = top;
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetPos(int left, int top) {
    left = ClampCoordinate(left);
    top = ClampCoordinate(top);
    RecordOldRect();
    if (hAlign_ != haNone || vAlign_ != vaNone) return;
    left_ = left;
    top_ = top;
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetWidth(int width) {
    width = ClampCoordinate(width);
    RecordOldRect();
    if (autoSize_ != asNone) return;
    width_ = width;
    Align();
    UpdateAbsolutePosition();
    AlignPicture();
}

void TKelInterfaceObject::SetHeight(int height) {
    height = ClampCoordinate(height);
    RecordOldRect();
    if (autoSize_ != asNone) return;
    height_ = height;
    Align();
    UpdateAbsolutePosition();
    AlignPicture();
}

void TKelInterfaceObject::SetPicture(const std::string& picture) {
    RecordOldRect();
    picture_ = picture;
    if (autoSize_ == asCaption) return;
    FitToPicture();
    Align();
    UpdateAbsolutePosition();
    AlignPicture();
    RefreshPictureSize();
}

void TKelInterfaceObject::SetAutoSize(TAutoSizeType autoSize) {
    RecordOldRect();
    autoSize_ = autoSize;
    FitToPicture();
    if (autoSize_ == asCaption) return;
    Align();
    UpdateAbsolutePosition();
    AlignPicture();
}

void TKelInterfaceObject::SetHAlign(THAlignType align) {
    RecordOldRect();
    hAlign_ = align;
    Align();
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetVAlign(TVAlignType align) {
    RecordOldRect();
    vAlign_ = align;
    Align();
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetShiftLeft(int shift) {
    shift = ClampCoordinate(shift);
    RecordOldRect();
    shiftLeft_ = shift;
    Align();
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetShiftTop(int shift) {
    shift = ClampCoordinate(shift);
    RecordOldRect();
    shiftTop_ = shift;
    Align();
    UpdateAbsolutePosition();
}

void TKelInterfaceObject::SetPictureHAlign(TPictureHAlignType align) {
    RecordOldRect();
    pictureHAlign_ = align;
    AlignPicture();
}

void TKelInterfaceObject::SetPictureVAlign(TPictureVAlignType align) {
    RecordOldRect();
    pictureVAlign_ = align;
    AlignPicture();
}

void TKelInterfaceObject::SetPictureShiftLeft(int shift) {
    shift = ClampCoordinate(shift);
    RecordOldRect();
    pictureShiftLeft_ = shift;
    AlignPicture();
}

void TKelInterfaceObject::SetPictureShiftTop(int shift) {
    shift = ClampCoordinate(shift);
    RecordOldRect();
    pictureShiftTop_ = shift;
    AlignPicture();
}

void TKelInterfaceObject::SetPictureAlpha(uint8_t alpha) {
    RecordOldRect();
    pictureAlpha_ = alpha;
}

void TKelInterfaceObject::SetVisible(bool visible) {
    RecordOldRect();
    visible_ = visible;
}

void TKelInterfaceObject::SetKeyFocused(bool focused) {
    if (focused == keyFocused_) return;
    RecordOldRect();
    keyFocused_ = focused;
}

void TKelInterfaceObject::SetBumpMapPicture(const std::string& bumpMap) {
    bumpMapPicture_ = bumpMap;
    currentBumpMap_ = bumpMap;
}

std::string TKelInterfaceObject::GetPictures() const {
    return picture_;
}

void TKelInterfaceObject::Assign(const TKelObject& source) {
    TKelObject::Assign(source);
    const auto* from = dynamic_cast<const IO*>(&source);
    if (!from) return;
    left_ = from->left_;
    top_ = from->top_;
    absLeft_ = from->absLeft_;
    absTop_ = from->absTop_;
    autoSize_ = from->autoSize_;
    picture_ = from->picture_;
    pictureHAlign_ = from->pictureHAlign_;
    pictureVAlign_ = from->pictureVAlign_;
    pictureLeft_ = from->pictureLeft_;
    pictureTop_ = from->pictureTop_;
    pictureAlpha_ = from->pictureAlpha_;
    width_ = from->width_;
    height_ = from->height_;
    hAlign_ = from->hAlign_;
    vAlign_ = from->vAlign_;
    shiftLeft_ = from->shiftLeft_;
    shiftTop_ = from->shiftTop_;
    visible_ = from->visible_;
    OnKeyDown = from->OnKeyDown;
    OnKeyPress = from->OnKeyPress;
    OnKeyUp = from->OnKeyUp;
    OnMouseDown = from->OnMouseDown;
    OnMouseMove = from->OnMouseMove;
    OnMouseUp = from->OnMouseUp;
    OnMouseWheel = from->OnMouseWheel;
    SoundKeyDown = from->SoundKeyDown;
    SoundKeyPress = from->SoundKeyPress;
    SoundKeyUp = from->SoundKeyUp;
    SoundMouseDown = from->SoundMouseDown;
    SoundMouseMove = from->SoundMouseMove;
    SoundMouseUp = from->SoundMouseUp;
    SoundMouseWheel = from->SoundMouseWheel;
}

void TKelInterfaceObject::KeyDown(TKelObject*, int&, TShiftState) {}
void TKelInterfaceObject::KeyPress(TKelObject*, char32_t&) {}
void TKelInterfaceObject::KeyUp(TKelObject*, int&, TShiftState) {}
void TKelInterfaceObject::MouseDown(TKelObject*, TMouseButton, TShiftState, int, int) {}
void TKelInterfaceObject::MouseUp(TKelObject*, TMouseButton, TShiftState, int, int) {}
void TKelInterfaceObject::MouseWheel(TKelObject*, TShiftState, int, TPoint, bool&) {}

void TKelInterfaceObject::MouseMove(TKelObject*, TShiftState, int x, int y) {
    mouseOver_ = PointInside(x, y);
}

void TKelInterfaceObject::Draw() {
    if (IKelGraphic* host = Host())
        host->Draw(picture_, bumpMapPicture_, BlendingMode, absLeft_ + pictureLeft_,
                   absTop_ + pictureTop_, pictureAlpha_, std::nullopt);
}

// ---- Focused objects ---------------------------------------------------------------------------

using FO = TKelFocusedObject;

const TKelClass& TKelFocusedObject::StaticClass() {
    static const TKelClass info =
        MakeKelClass<FO>("TKelFocusedObject", &TKelInterfaceObject::StaticClass(),
                         {Accessor<FO, bool>("Focused", &FO::focused_, &FO::SetFocused),
                          Accessor<FO, int32_t>("TabOrder", &FO::tabOrder_, &FO::SetTabOrder)});
    return info;
}

void TKelFocusedObject::SetFocused(bool focused) {
    RecordOldRect();
    focused_ = focused;
}

void TKelFocusedObject::SetTabOrder(int tabOrder) {
    const TKelInterfaceEngine* engine = UiEngine();
    TKelForm* form = ParentForm();
    if ((engine && engine->State == ReadingState) || !form) {
        tabOrder_ = tabOrder;
        return;
    }
    form->MoveInFocusList(*this, tabOrder);
}

void TKelFocusedObject::MouseDown(TKelObject*, TMouseButton, TShiftState, int x, int y) {
    pressedInside_ = PointInside(x, y);
    if (!pressedInside_) return;
    TKelForm* form = ParentForm();
    if (!form) {
        SetFocused(true);
        return;
    }
    const std::vector<TKelFocusedObject*>& list = form->FocusList();
    if (list.size() == 1) {
        SetFocused(true);
        return;
    }
    if (const auto first = std::find_if(list.begin(), list.end(),
                                        [](const FO* object) { return object->Focused(); });
        first != list.end())
        (*first)->SetFocused(false);
    SetFocused(true);
}
