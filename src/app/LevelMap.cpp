// The level map between levels: the positions reached so far can be hovered and picked with the
// mouse; the picked one carries the map's marker, the hovered one its number.
#include <cmath>

#include "app/EffectDrawing.h"
#include "app/GameEngine.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"

namespace {

constexpr const char* Frame = "MemorySurface";

}  // namespace

const TPathPoint* TKelGameEngine::MapPoint(int32_t position) const {
    if (position < 0 || size_t(position) >= pathPoints_.size()) return nullptr;
    return &pathPoints_[size_t(position)];
}

int32_t TKelGameEngine::LevelAtMouse() const {
    const int32_t last =
        std::min<int32_t>(int32_t(pathPoints_.size()) - 1, play_.Game.CurrentLevel);
    for (int32_t k = 0; k <= last; ++k) {
        const TPathPoint& point = pathPoints_[size_t(k)];
        const double distance =
            std::hypot(double(mousePos_.X - point.X), double(mousePos_.Y - point.Y));
        if (std::lround(distance) < 15) return k;
    }
    return -1;
}

void TKelGameEngine::PickMapLevel() {
    TGame& game = play_.Game;
    game.SelectedLevel = game.CurrentLevel;
    const int32_t picked = LevelAtMouse();
    if (picked < 0) return;
    game.SelectedLevel = picked;
    soundEvents_.PlaySound("Click.ogg");
}

void TKelGameEngine::DrawLevelMap() {
    const TGame& game = play_.Game;
    const TPathPoint* selected = MapPoint(game.SelectedLevel);
    const TPathPoint* hovered = MapPoint(game.HoveredLevel);
    if (selected)
        redrawGrid_.FillRect(
            {selected->X - 20, selected->Y - 30, selected->X + 20, selected->Y + 30});
    if (hovered)
        redrawGrid_.FillRect({hovered->X - 30, hovered->Y - 50, hovered->X + 30, hovered->Y + 30});
    DrawBackgroundByGrid();
    if (!hovered) return;
    surfaceStore_->DrawWithAlphaChannel("LevelDone.png", Frame, hovered->X, hovered->Y, 255,
                                        nullptr, 0xFFFFFF, 150, nullptr, true);
    // The level's number, black inside a white outline.
    TKelFont* font = fontEngine_->FindFont("Lithos-Bold");
    if (!font) return;
    const std::u32string number = Utf8ToWide(std::to_string(game.HoveredLevel + 1));
    const int x = hovered->X - font->TextWidth(number) / 2;
    const int y = hovered->Y - 40;
    const TPoint outline[] = {{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}};
    for (const TPoint& at : outline) font->DrawString(at.X, at.Y, 0xFFFFFF, 255, number);
    font->DrawString(x, y, 0x000000, 255, number);
}

void TKelGameEngine::DrawSelectedLevelMarker(const TEffectCanvas& canvas) {
    const TPathPoint* point = MapPoint(play_.Game.SelectedLevel);
    if (!point) return;
    if (TKelParticleEffect* marker = globalEffects_.Find("efLevelMarkerOnMap.xml")) {
        marker->Update(currentTick_);
        DrawKelParticleEffectInReal(canvas, *marker, Frame, point->X, point->Y);
    }
    surfaceStore_->DrawWithAlphaChannel("LevelDone.png", Frame, point->X, point->Y, 255, nullptr, 0,
                                        0, nullptr, true);
}
