// TLevelMapScreen: the level map between levels: the positions reached so far can be hovered and
// picked with the mouse; the picked one carries the map's marker, the hovered one its number.
// Relies on the game's services.
#pragma once

#include <cstdint>

#include "app/GameServices.h"
#include "app/screens/Screen.h"

class TLevelMapScreen : public IScreen {
  public:
    explicit TLevelMapScreen(TGameServices& services) : s_(services) {}

    void RegisterHandlers();
    bool HandleEvent(const TEvent& event) override;
    void Update(uint32_t) override {}
    void Draw() override;
    // The marker on the picked position, drawn over the map's window.
    void DrawSelectedLevelMarker(const TEffectCanvas& canvas);

  private:
    const TPathPoint* MapPoint(int32_t position) const;
    int32_t LevelAtMouse() const;
    void PickMapLevel();
    // The background restored, the picked position redrawn and the hovered one marked.
    void DrawLevelMap();

    TGameServices& s_;
};
