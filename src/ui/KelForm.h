// TKelForm: a container of interface objects. It fans input out to its children, keeps their
// focus list in tab order, moves the keys' focus among its stops, can be dragged by its head line,
// draws its children and drives their animations. TKelTabForm: a form that is one page of a group
// of tab forms in the same form. Relies on the interface objects (KelInterfaceObject).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/KelInterfaceObject.h"

// How deep walks through forms inside forms go; descriptions nest far less.
constexpr int MaxFormDepth = 32;

class TKelForm : public TKelInterfaceObject {
    KEL_CLASS(TKelForm)

  public:
    // Whether the form puts the focus on a stop by itself while the keys are in use (shown,
    // uncovered, or its focused stop hidden); off for a window whose arrows belong to the game.
    bool AutoKeyFocus = true;

    // Head line as the four numbers left, top, right, bottom, each followed by ";".
    std::string HeadLine() const;
    // Takes the numbers before each ";" in that order; a number without its ";" is not taken.
    void SetHeadLine(const std::string& text);

    // The engine's objects that name this form as parent and resolved to it, in engine order.
    const std::vector<TKelInterfaceObject*>& Children() const { return children_; }
    // The focused children, by tab order.
    const std::vector<TKelFocusedObject*>& FocusList() const { return focusList_; }
    bool Dragging() const { return dragging_; }

    void CollectChildren();
    // A stable sort of the focused children on TabOrder; each then takes its place as TabOrder.
    void BuildFocusList();
    // The shown objects of the form and of its shown inner forms that take the keys' focus, in
    // reading order (top to bottom, then left to right).
    std::vector<TKelInterfaceObject*> KeyStops() const;
    // The stop holding the keys' focus, none when no shown stop holds it.
    TKelInterfaceObject* KeyFocus() const;
    // Gives the keys' focus to `stop` (none: to no object) and takes it from every other object.
    void SetKeyFocus(TKelInterfaceObject* stop);
    // Takes the focus mark from the buttons, check boxes and sliders; edits and grids keep their
    // focus, which the mouse gives too.
    void ClearKeyMarks();
    // Makes sure a shown stop holds the focus, when the form puts it there by itself: the nearest
    // to a focused object that was hidden, else the first.
    void KeepKeyFocus();
    // Moves the object to that place of the focus list (clamped), renumbering those it passes.
    void MoveInFocusList(TKelFocusedObject& object, int place);
    // Advances the animations, caret blinking and hint timing of the direct children at the clock
    // value in milliseconds.
    void Tick(uint32_t milliseconds);

    void SetName(const std::string& name) override;
    std::string GetPictures() const override;
    void UpdateAbsolutePosition() override;
    void KeyDown(TKelObject* sender, int& key, TShiftState shift) override;
    void KeyPress(TKelObject* sender, char32_t& key) override;
    void KeyUp(TKelObject* sender, int& key, TShiftState shift) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseWheel(TKelObject* sender, TShiftState shift, int delta, TPoint position,
                    bool& handled) override;
    void Draw() override;

  private:
    // Whether the form lies MaxFormDepth forms deep: its children are then left alone.
    bool TooDeep() const;
    // Every object of the form and of its inner forms, shown or not, that takes the keys' focus.
    void CollectStops(std::vector<TKelInterfaceObject*>& stops, bool shownOnly) const;
    void CollectPictures(std::vector<std::string>& names) const;
    void SaveDragOrigins();
    void MoveByDrag(int dx, int dy);

    TRect headLine_{0, 0, 0, 0};
    std::vector<TKelInterfaceObject*> children_;
    std::vector<TKelFocusedObject*> focusList_;
    bool dragging_ = false;
    TPoint dragMouse_;
    TPoint dragFormPos_;
};

class TKelTabForm : public TKelForm {
    KEL_CLASS(TKelTabForm)

  public:
    int32_t TabGroup = 0;

    // Showing a tab form hides the tab forms of the same group in the same form.
    void SetVisible(bool visible) override;
    void Assign(const TKelObject& source) override;
};
