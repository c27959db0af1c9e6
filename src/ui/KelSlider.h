// TKelSlider: a horizontal or vertical scroll bar with a draggable bar, page regions on the track
// and two step buttons; OnChange runs when the position changes. Relies on the interface objects
// (KelInterfaceObject) and the labels (KelLabel) its buttons are made of.
#pragma once

#include <cstdint>
#include <string>

#include "ui/KelLabel.h"

class TKelGrid;

class TKelSlider : public TKelInterfaceObject {
    KEL_CLASS(TKelSlider)

  public:
    int32_t Min = 0, Step = 1, BigStep = 10;
    std::string BarPicture, MouseOverBarPicture;
    int32_t BarShiftLeft = 0, BarShiftTop = 0;
    std::string UpMouseOverPicture, UpMouseDownPicture;
    std::string DownMouseOverPicture, DownMouseDownPicture;
    std::string ButtonsSound;  // stored only
    std::string OnChange;

    const std::string& LinkedObjectName() const { return linkedObjectName_; }
    // Links the grid of that name when one exists (and only a grid); otherwise the slider stays
    // unlinked.
    void SetLinkedObjectName(const std::string& name);
    // Takes the grid's side of a link made from the grid.
    void LinkTo(const std::string& gridName);
    TKelGrid* LinkedGrid() const;
    // Stores without the grid's say or any script (the grid sets them).
    void StoreMax(int max);
    void StorePosition(int position);
    int Max() const { return max_; }
    void SetMax(int max);
    int Position() const { return position_; }
    // Clamps to Min..Max and runs OnChange when the value changed.
    void SetPosition(int position);
    TTrackBarOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTrackBarOrientation orientation);
    const std::string& UpPicture() const { return upPicture_; }
    void SetUpPicture(const std::string& picture);
    const std::string& DownPicture() const { return downPicture_; }
    void SetDownPicture(const std::string& picture);
    bool Dragging() const { return dragging_; }
    const TKelLabel& UpButton() const { return up_; }
    const TKelLabel& DownButton() const { return down_; }
    // The bar's offset along the track.
    int BarOffset() const;

    void SetWidth(int width) override;
    void UpdateAbsolutePosition() override;
    std::string GetPictures() const override;
    void Assign(const TKelObject& source) override;
    void MouseDown(TKelObject* sender, TMouseButton button, TShiftState shift, int x,
                   int y) override;
    void MouseMove(TKelObject* sender, TShiftState shift, int x, int y) override;
    void MouseUp(TKelObject* sender, TMouseButton button, TShiftState shift, int x, int y) override;
    void Draw() override;
    // A slider of its own (not a grid's scroll bar) takes the keys' focus; the arrows along it
    // move the bar by BigStep, so a held key or pad crosses the range in a few steps.
    bool TakesKeyFocus() const override { return !linked_; }
    void KeyDown(TKelObject* sender, int& key, TShiftState shift) override;

  private:
    void PlaceButtons();
    void ReleaseButtons();
    // The room the bar moves in and the shift before it, along the slider's axis.
    int Range() const;
    int Shift() const;
    int BarLength() const;

    int32_t max_ = 100, position_ = 0;
    TTrackBarOrientation orientation_ = trVertical;
    std::string upPicture_, downPicture_;
    std::string linkedObjectName_;
    bool linked_ = false;
    TKelLabel up_, down_;
    bool dragging_ = false, hovered_ = false;
};
