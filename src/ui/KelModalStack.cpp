// The interface engine's modal stack, input to the top form, drawing of the shown forms, their
// changed areas and animation ticks.
#include <algorithm>
#include <climits>

#include "ui/KelInterfaceEngine.h"

bool TKelInterfaceEngine::OnStack(const TKelForm* form) const {
    return std::find(modalStack_.begin(), modalStack_.end(), form) != modalStack_.end();
}

bool TKelInterfaceEngine::Shown(const std::string& formName) const {
    return std::any_of(modalStack_.begin(), modalStack_.end(),
                       [&formName](const TKelForm* form) { return form->Name() == formName; });
}

void TKelInterfaceEngine::ShowModal(const std::string& formName) {
    auto* form = dynamic_cast<TKelForm*>(FindObject(formName));
    if (!form || OnStack(form)) return;
    form->SetVisible(true);
    // A window starts with the focus mark on its first stop when the keys are in use, without
    // one when the mouse is.
    form->ClearKeyMarks();
    if (keyNavigation_) form->KeepKeyFocus();
    modalStack_.push_back(form);
    form->RecordOldRect();
    RequestBumpPass();
}

void TKelInterfaceEngine::HideModal(const std::string& formName) {
    const auto* form = dynamic_cast<const TKelForm*>(FindObject(formName));
    if (!form || !OnStack(form)) return;
    while (modalStack_.back() != form) {
        modalStack_.back()->SetVisible(false);
        modalStack_.pop_back();
    }
    const TRect area = modalStack_.back()->ScreenRect();
    modalStack_.back()->SetVisible(false);
    modalStack_.pop_back();
    if (TKelForm* top = TopForm()) {
        top->SetOldRect(area);
        if (keyNavigation_) top->KeepKeyFocus();
    }
    RequestBumpPass();
}

void TKelInterfaceEngine::HideTopModal() {
    if (const TKelForm* top = TopForm()) HideModal(top->Name());
}

void TKelInterfaceEngine::HideModalList() {
    if (!modalStack_.empty()) HideModal(modalStack_.front()->Name());
}

void TKelInterfaceEngine::ChangeModal(const std::string& hideForm, const std::string& showForm) {
    const size_t before = modalStack_.size();
    const auto* hidden = dynamic_cast<const TKelForm*>(FindObject(hideForm));
    if (hidden && OnStack(hidden)) {
        while (modalStack_.back() != hidden) HideTopModal();
        HideTopModal();
    }
    if (modalStack_.size() < before) ShowModal(showForm);
    redrawRect_ = {0, 0, screenWidth_ - 1, screenHeight_ - 1};
    if (TKelForm* top = TopForm()) top->RecordOldRect();
    RequestBumpPass();
}

void TKelInterfaceEngine::ChangeModal(const std::string& showForm) {
    ChangeModal(TopForm() ? TopForm()->Name() : std::string(), showForm);
}

// ---- Input -------------------------------------------------------------------------------------

bool TKelInterfaceEngine::KeyDown(int key, TShiftState shift) {
    const bool navigation = key == vk::Tab || (key >= vk::Left && key <= vk::Down);
    const int given = key;
    if (TKelForm* top = TopForm()) top->KeyDown(nullptr, key, shift);
    const bool taken = key != given;
    if (taken && navigation) SetKeyNavigation(true);
    RunScripts();
    return taken;
}

bool TKelInterfaceEngine::Press(const std::string& objectName) {
    auto* object = dynamic_cast<TKelInterfaceObject*>(FindObject(objectName));
    if (!object || !object->Visible()) return false;
    object->Press();
    RunScripts();
    return true;
}

void TKelInterfaceEngine::SetKeyNavigation(bool on) {
    if (on == keyNavigation_) return;
    keyNavigation_ = on;
    if (on) {
        // The mouse's highlight goes, so that only the focused stop shows one.
        if (TKelForm* top = TopForm()) top->MouseMove(nullptr, 0, INT_MIN, INT_MIN);
        return;
    }
    if (TKelForm* top = TopForm())
        if (TKelInterfaceObject* focus = top->KeyFocus()) focus->RecordOldRect();  // its frame
    for (TKelForm* form : modalStack_) form->ClearKeyMarks();
}

void TKelInterfaceEngine::KeyPress(char32_t key) {
    if (TKelForm* top = TopForm()) top->KeyPress(nullptr, key);
    RunScripts();
}

void TKelInterfaceEngine::KeyUp(int key, TShiftState shift) {
    if (TKelForm* top = TopForm()) top->KeyUp(nullptr, key, shift);
    RunScripts();
}

void TKelInterfaceEngine::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    SetKeyNavigation(false);
    if (TKelForm* top = TopForm()) top->MouseDown(nullptr, button, shift, x, y);
    RunScripts();
}

void TKelInterfaceEngine::MouseMove(TShiftState shift, int x, int y) {
    SetKeyNavigation(false);
    if (TKelForm* top = TopForm()) top->MouseMove(nullptr, shift, x, y);
    RunScripts();
}

void TKelInterfaceEngine::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (TKelForm* top = TopForm()) top->MouseUp(nullptr, button, shift, x, y);
    RunScripts();
}

void TKelInterfaceEngine::MouseWheel(TShiftState shift, int delta, TPoint position, bool& handled) {
    if (TKelForm* top = TopForm()) top->MouseWheel(nullptr, shift, delta, position, handled);
    RunScripts();
}

// ---- Drawing -----------------------------------------------------------------------------------

void TKelInterfaceEngine::DrawAll() {
    if (bumpRedrawNeeded_ && Host) {
        for (const TKelForm* form : modalStack_) {
            if (!form->Visible()) continue;
            Host->DrawBumpMap(form->Picture(), form->CurrentBumpMap(), form->AbsLeft(),
                              form->AbsTop());
            for (const TKelInterfaceObject* child : form->Children())
                if (child->Visible())
                    Host->DrawBumpMap(child->Picture(), child->CurrentBumpMap(), child->AbsLeft(),
                                      child->AbsTop());
        }
    }
    bumpRedrawNeeded_ = false;
    for (TKelForm* form : modalStack_) {
        if (!form->Visible()) continue;
        form->Draw();
        if (Host) Host->PostFormDraw(form->Name());
    }
    if (const TKelForm* top = TopForm(); top && keyNavigation_ && Host)
        if (const TKelInterfaceObject* focus = top->KeyFocus()) DrawFocusFrame(*focus);
    ClearDirty();
}

void TKelInterfaceEngine::DrawFocusFrame(const TKelInterfaceObject& focus) {
    // A bright ring between two dark lines, seen on the papyrus and on the dark scenes alike.
    const auto frame = [&](int margin, int width, uint32_t color) {
        const TRect inner = focus.ScreenRect();
        const TRect outer{inner.Left - margin, inner.Top - margin, inner.Right + margin,
                          inner.Bottom + margin};
        const TRect sides[] = {
            {outer.Left, outer.Top, outer.Right, outer.Top + width - 1},
            {outer.Left, outer.Bottom - width + 1, outer.Right, outer.Bottom},
            {outer.Left, outer.Top + width, outer.Left + width - 1, outer.Bottom - width},
            {outer.Right - width + 1, outer.Top + width, outer.Right, outer.Bottom - width},
        };
        for (const TRect& side : sides) Host->DrawRect("", side, color, 255, true);
    };
    frame(FocusFrameMargin, 4, FocusFrameDark);
    frame(FocusFrameMargin - 1, 2, FocusFrameBright);
}

void TKelInterfaceEngine::ClearDirty() {
    redrawRect_ = {0, 0, -1, -1};
    for (const auto& object : Objects())
        if (auto* ui = dynamic_cast<TKelInterfaceObject*>(object.get())) ui->ClearDirty();
}

namespace {

TRect Inflated(const TRect& rect, int by) {
    return {rect.Left - by, rect.Top - by, rect.Right + by, rect.Bottom + by};
}

void AddChanged(const TKelInterfaceObject& object, TRects& rects) {
    // A stop's area takes in the focus frame around it.
    const int margin = object.TakesKeyFocus() ? FocusFrameMargin : 0;
    rects.push_back(Inflated(object.ScreenRect(), margin));
    if (object.OldRect() != object.ScreenRect())
        rects.push_back(Inflated(object.OldRect(), margin));
}

}  // namespace

void TKelInterfaceEngine::CollectDirtyRects(TRects& rects) const {
    for (const TKelForm* form : modalStack_) {
        if (form->Dirty()) {
            rects.push_back(form->OldRect());
            rects.push_back(form->ScreenRect());
            continue;
        }
        for (const TKelInterfaceObject* child : form->Children()) {
            if (child->Dirty()) {
                AddChanged(*child, rects);
                continue;
            }
            if (const auto* inner = dynamic_cast<const TKelForm*>(child))
                for (const TKelInterfaceObject* grandchild : inner->Children())
                    if (grandchild->Dirty()) AddChanged(*grandchild, rects);
        }
    }
}

void TKelInterfaceEngine::CollectAllRects(TRects& rects) const {
    for (const TKelForm* form : modalStack_) {
        rects.push_back({form->Left(), form->Top(), form->Left() + form->Width() - 1,
                         form->Top() + form->Height() - 1});
        for (const TKelInterfaceObject* child : form->Children()) {
            if (!child->Visible()) continue;
            rects.push_back(child->ScreenRect());
            if (const auto* inner = dynamic_cast<const TKelForm*>(child))
                for (const TKelInterfaceObject* grandchild : inner->Children())
                    if (grandchild->Visible()) rects.push_back(grandchild->ScreenRect());
        }
    }
}

void TKelInterfaceEngine::Tick() {
    TKelForm* top = TopForm();
    if (!top || !top->Visible()) return;
    const uint32_t now = Clock ? Clock() : 0;
    top->Tick(now);
    for (TKelInterfaceObject* child : top->Children())
        if (auto* form = dynamic_cast<TKelForm*>(child); form && form->Visible()) form->Tick(now);
}
