// Forms: children and focus list, input fan-out, dragging by the head line, drawing, and tab
// forms as pages of a group.
#include "ui/KelForm.h"

#include <algorithm>
#include <optional>

#include "core/KelParserText.h"
#include "ui/KelEdit.h"
#include "ui/KelHint.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/KelKeyFocus.h"
#include "ui/KelMoving.h"

const TKelClass& TKelForm::StaticClass() {
    static const TKelClass info = MakeKelClass<TKelForm>(
        "TKelForm", &TKelInterfaceObject::StaticClass(),
        {Accessor<TKelForm, std::string>("HeadLine", &TKelForm::HeadLine, &TKelForm::SetHeadLine),
         Field("AutoKeyFocus", &TKelForm::AutoKeyFocus)});
    return info;
}

std::string TKelForm::HeadLine() const {
    return std::to_string(headLine_.Left) + ";" + std::to_string(headLine_.Top) + ";" +
           std::to_string(headLine_.Right) + ";" + std::to_string(headLine_.Bottom) + ";";
}

void TKelForm::SetHeadLine(const std::string& text) {
    int* const fields[] = {&headLine_.Left, &headLine_.Top, &headLine_.Right, &headLine_.Bottom};
    size_t field = 0, start = 0;
    for (size_t end = text.find(';'); end != std::string::npos && field < 4;
         start = end + 1, end = text.find(';', start))
        *fields[field++] = ValInt(text.substr(start, end - start));
}

bool TKelForm::TooDeep() const {
    int depth = 0;
    for (const TKelObject* up = Parent; up; up = up->Parent)
        if (++depth >= MaxFormDepth) return true;
    return false;
}

void TKelForm::CollectChildren() {
    children_.clear();
    const TKelEngine* engine = GetEngine();
    if (!engine) return;
    for (const auto& object : engine->Objects()) {
        auto* child = dynamic_cast<TKelInterfaceObject*>(object.get());
        if (child && child != this && child->Parent == this && child->ParentName == Name())
            children_.push_back(child);
    }
}

void TKelForm::BuildFocusList() {
    focusList_.clear();
    for (TKelInterfaceObject* child : children_)
        if (auto* focused = dynamic_cast<TKelFocusedObject*>(child)) focusList_.push_back(focused);
    std::stable_sort(focusList_.begin(), focusList_.end(),
                     [](const TKelFocusedObject* a, const TKelFocusedObject* b) {
                         return a->TabOrder() < b->TabOrder();
                     });
    for (size_t i = 0; i < focusList_.size(); ++i)
        focusList_[i]->StoreTabOrder(static_cast<int>(i));
}

void TKelForm::MoveInFocusList(TKelFocusedObject& object, int place) {
    const auto at = std::find(focusList_.begin(), focusList_.end(), &object);
    if (at == focusList_.end()) {
        object.StoreTabOrder(place);
        return;
    }
    place = std::clamp(place, 0, static_cast<int>(focusList_.size()) - 1);
    focusList_.erase(at);
    focusList_.insert(focusList_.begin() + place, &object);
    for (size_t i = 0; i < focusList_.size(); ++i)
        focusList_[i]->StoreTabOrder(static_cast<int>(i));
}

void TKelForm::CollectStops(std::vector<TKelInterfaceObject*>& stops, bool shownOnly) const {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) {
        if (shownOnly && !child->Visible()) continue;
        if (const auto* form = dynamic_cast<const TKelForm*>(child))
            form->CollectStops(stops, shownOnly);
        else if (child->TakesKeyFocus())
            stops.push_back(child);
    }
}

std::vector<TKelInterfaceObject*> TKelForm::KeyStops() const {
    std::vector<TKelInterfaceObject*> stops;
    CollectStops(stops, true);
    std::stable_sort(stops.begin(), stops.end(),
                     [](const TKelInterfaceObject* a, const TKelInterfaceObject* b) {
                         return a->AbsTop() != b->AbsTop() ? a->AbsTop() < b->AbsTop()
                                                           : a->AbsLeft() < b->AbsLeft();
                     });
    return stops;
}

TKelInterfaceObject* TKelForm::KeyFocus() const {
    for (TKelInterfaceObject* stop : KeyStops())
        if (stop->KeyFocused()) return stop;
    return nullptr;
}

void TKelForm::SetKeyFocus(TKelInterfaceObject* stop) {
    std::vector<TKelInterfaceObject*> all;
    CollectStops(all, false);
    for (TKelInterfaceObject* other : all)
        if (other != stop && other->KeyFocused()) other->SetKeyFocused(false);
    if (stop) stop->SetKeyFocused(true);
}

void TKelForm::ClearKeyMarks() {
    std::vector<TKelInterfaceObject*> all;
    CollectStops(all, false);
    for (TKelInterfaceObject* stop : all)
        if (!dynamic_cast<TKelFocusedObject*>(stop)) stop->SetKeyFocused(false);
}

static std::vector<TRect> StopRects(const std::vector<TKelInterfaceObject*>& stops) {
    std::vector<TRect> rects;
    for (const TKelInterfaceObject* stop : stops) rects.push_back(stop->ScreenRect());
    return rects;
}

void TKelForm::KeepKeyFocus() {
    if (!AutoKeyFocus) return;
    const std::vector<TKelInterfaceObject*> stops = KeyStops();
    if (stops.empty() || KeyFocus()) return;
    std::vector<TKelInterfaceObject*> all;
    CollectStops(all, false);
    const auto hidden = std::find_if(all.begin(), all.end(),
                                     [](const TKelInterfaceObject* o) { return o->KeyFocused(); });
    const int index =
        hidden == all.end() ? 0 : NearestStop(StopRects(stops), (*hidden)->ScreenRect());
    SetKeyFocus(stops[size_t(index)]);
}

void TKelForm::Tick(uint32_t milliseconds) {
    for (TKelInterfaceObject* child : children_) {
        if (&child->GetClass() == &TKelMoving::StaticClass())
            static_cast<TKelMoving*>(child)->Tick(milliseconds);
        else if (auto* edit = dynamic_cast<TKelEdit*>(child))
            edit->Blink(milliseconds);
        else if (auto* hint = dynamic_cast<TKelHint*>(child))
            hint->Tick(milliseconds);
    }
}

void TKelForm::SetName(const std::string& name) {
    const std::string old = Name();
    TKelInterfaceObject::SetName(name);
    if (Name() == old) return;
    for (TKelInterfaceObject* child : children_) child->ParentName = Name();
}

void TKelForm::CollectPictures(std::vector<std::string>& names) const {
    const auto add = [&names](const std::string& list) {
        size_t start = 0;
        while (start <= list.size()) {
            size_t end = list.find("\r\n", start);
            if (end == std::string::npos) end = list.size();
            const std::string name = list.substr(start, end - start);
            if (!name.empty() && std::find(names.begin(), names.end(), name) == names.end())
                names.push_back(name);
            start = end + 2;
        }
    };
    add(Picture());
    if (TooDeep()) return;
    for (const TKelInterfaceObject* child : children_) {
        if (const auto* form = dynamic_cast<const TKelForm*>(child))
            form->CollectPictures(names);
        else
            add(child->GetPictures());
    }
}

std::string TKelForm::GetPictures() const {
    std::vector<std::string> names;
    CollectPictures(names);
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : "\r\n") + name;
    return text;
}

void TKelForm::UpdateAbsolutePosition() {
    TKelInterfaceObject::UpdateAbsolutePosition();
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) child->UpdateLayout();
}

// The direction an arrow key moves the focus in; none for other keys.
static std::optional<TKeyDirection> ArrowDirection(int key) {
    switch (key) {
        case vk::Left:
            return TKeyDirection::Left;
        case vk::Right:
            return TKeyDirection::Right;
        case vk::Up:
            return TKeyDirection::Up;
        case vk::Down:
            return TKeyDirection::Down;
        default:
            return std::nullopt;
    }
}

void TKelForm::KeyDown(TKelObject* sender, int& key, TShiftState shift) {
    // The focused stop has the key first (an edit its caret keys, a grid its rows, a button
    // Return and Space); Tab and the arrows it leaves move the focus, and the first of them
    // pressed with no focus shown puts it on the first stop.
    TKelInterfaceObject* focus = KeyFocus();
    if (focus) focus->KeyDown(sender, key, shift);
    const std::optional<TKeyDirection> direction = ArrowDirection(key);
    if (key != vk::Tab && !direction) return;
    const std::vector<TKelInterfaceObject*> stops = KeyStops();
    if (stops.empty()) return;
    key = 0;
    const auto at = std::find(stops.begin(), stops.end(), focus);
    const int from = at == stops.end() ? -1 : int(at - stops.begin());
    const int to = from >= 0 && direction
                       ? StopInDirection(StopRects(stops), from, *direction)
                       : StepStop(int(stops.size()), from, (shift & ssShift) ? -1 : 1);
    if (to >= 0 && to != from) SetKeyFocus(stops[size_t(to)]);
}

void TKelForm::KeyPress(TKelObject* sender, char32_t& key) {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) child->KeyPress(sender, key);
}

void TKelForm::KeyUp(TKelObject* sender, int& key, TShiftState shift) {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) child->KeyUp(sender, key, shift);
}

void TKelForm::SaveDragOrigins() {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) {
        child->DragOrigin = {child->AbsLeft(), child->AbsTop()};
        if (auto* form = dynamic_cast<TKelForm*>(child)) form->SaveDragOrigins();
    }
}

void TKelForm::MoveByDrag(int dx, int dy) {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_) {
        child->SetAbsPos(child->DragOrigin.X + dx, child->DragOrigin.Y + dy);
        if (auto* form = dynamic_cast<TKelForm*>(child)) form->MoveByDrag(dx, dy);
    }
}

void TKelForm::MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    const int rx = x - AbsLeft(), ry = y - AbsTop();
    if (button == TMouseButton::mbLeft && headLine_.Left < rx && rx < headLine_.Right &&
        headLine_.Top < ry && ry < headLine_.Bottom) {
        dragging_ = true;
        dragMouse_ = {x, y};
        dragFormPos_ = {Left(), Top()};
        SaveDragOrigins();
    }
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_)
        if (child->Visible()) child->MouseDown(sender, button, shift, x, y);
}

void TKelForm::MouseMove(TKelObject* sender, TShiftState shift, int x, int y) {
    if (dragging_ && (shift & ssLeft)) {
        TKelInterfaceEngine* engine = UiEngine();
        const int width = engine ? engine->ScreenWidth() : ScreenWidth;
        const int height = engine ? engine->ScreenHeight() : ScreenHeight;
        if (x < 0 || x > width || y < 0 || y > height) return;
        const int dx = x - dragMouse_.X, dy = y - dragMouse_.Y;
        SetPos(dragFormPos_.X + dx, dragFormPos_.Y + dy);
        MoveByDrag(dx, dy);
        if (engine) engine->RequestBumpPass();
        return;
    }
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_)
        if (child->Visible()) child->MouseMove(sender, shift, x, y);
}

void TKelForm::MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) {
    dragging_ = false;
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_)
        if (child->Visible()) child->MouseUp(sender, button, shift, x, y);
}

void TKelForm::MouseWheel(TKelObject* sender, TShiftState shift, int delta, TPoint position,
                          bool& handled) {
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_)
        if (child->Visible()) child->MouseWheel(sender, shift, delta, position, handled);
}

void TKelForm::Draw() {
    TKelInterfaceObject::Draw();
    if (TooDeep()) return;
    for (TKelInterfaceObject* child : children_)
        if (child->Visible()) child->Draw();
}

// ---- Tab forms ---------------------------------------------------------------------------------

const TKelClass& TKelTabForm::StaticClass() {
    static const TKelClass info = MakeKelClass<TKelTabForm>(
        "TKelTabForm", &TKelForm::StaticClass(), {Field("TabGroup", &TKelTabForm::TabGroup)});
    return info;
}

void TKelTabForm::SetVisible(bool visible) {
    if (visible) {
        if (const TKelForm* form = ParentForm())
            for (TKelInterfaceObject* sibling : form->Children())
                if (sibling != this && &sibling->GetClass() == &StaticClass() &&
                    static_cast<TKelTabForm*>(sibling)->TabGroup == TabGroup)
                    static_cast<TKelTabForm*>(sibling)->StoreVisible(false);
    }
    TKelForm::SetVisible(visible);
}

void TKelTabForm::Assign(const TKelObject& source) {
    TKelForm::Assign(source);
    if (const auto* from = dynamic_cast<const TKelTabForm*>(&source)) TabGroup = from->TabGroup;
}
