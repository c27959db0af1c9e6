#include "app/screens/LevelMapScreen.h"

#include <cmath>

#include "app/FrameParts.h"
#include "app/GameWindows.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"

#include "app/EffectDrawing.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"

namespace {

constexpr const char* Frame = "MemorySurface";

}  // namespace

const TPathPoint* TLevelMapScreen::MapPoint(int32_t position) const {
    if (position < 0 || size_t(position) >= s_.PathPoints.size()) return nullptr;
    return &s_.PathPoints[size_t(position)];
}

int32_t TLevelMapScreen::LevelAtMouse() const {
    const int32_t last =
        std::min<int32_t>(int32_t(s_.PathPoints.size()) - 1, s_.Play.Game.CurrentLevel);
    for (int32_t k = 0; k <= last; ++k) {
        const TPathPoint& point = s_.PathPoints[size_t(k)];
        const double distance =
            std::hypot(double(s_.MousePos.X - point.X), double(s_.MousePos.Y - point.Y));
        if (std::lround(distance) < 15) return k;
    }
    return -1;
}

void TLevelMapScreen::PickMapLevel() {
    TGame& game = s_.Play.Game;
    game.SelectedLevel = game.CurrentLevel;
    const int32_t picked = LevelAtMouse();
    if (picked < 0) return;
    game.SelectedLevel = picked;
    s_.Sounds.PlaySound("Click.ogg");
}

void TLevelMapScreen::DrawLevelMap() {
    const TGame& game = s_.Play.Game;
    const TPathPoint* selected = MapPoint(game.SelectedLevel);
    const TPathPoint* hovered = MapPoint(game.HoveredLevel);
    if (selected)
        s_.Redraw.FillRect(
            {selected->X - 20, selected->Y - 30, selected->X + 20, selected->Y + 30});
    if (hovered)
        s_.Redraw.FillRect({hovered->X - 30, hovered->Y - 50, hovered->X + 30, hovered->Y + 30});
    DrawBackgroundByGrid(s_);
    if (!hovered) return;
    s_.Surfaces->DrawWithAlphaChannel("LevelDone.png", Frame, hovered->X, hovered->Y, 255, nullptr,
                                      0xFFFFFF, 150, nullptr, true);
    // The level's number, black inside a white outline.
    TKelFont* font = s_.Fonts->FindFont("Lithos-Bold");
    if (!font) return;
    const std::u32string number = Utf8ToWide(std::to_string(game.HoveredLevel + 1));
    const int x = hovered->X - font->TextWidth(number) / 2;
    const int y = hovered->Y - 40;
    const TPoint outline[] = {{x, y - 1}, {x - 1, y}, {x + 1, y}, {x, y + 1}};
    for (const TPoint& at : outline) font->DrawString(at.X, at.Y, 0xFFFFFF, 255, number);
    font->DrawString(x, y, 0x000000, 255, number);
}

void TLevelMapScreen::DrawSelectedLevelMarker(const TEffectCanvas& canvas) {
    const TPathPoint* point = MapPoint(s_.Play.Game.SelectedLevel);
    if (!point) return;
    if (TKelParticleEffect* marker = s_.GlobalEffects.Find("efLevelMarkerOnMap.xml")) {
        marker->Update(s_.Now);
        DrawKelParticleEffectInReal(canvas, *marker, Frame, point->X, point->Y);
    }
    s_.Surfaces->DrawWithAlphaChannel("LevelDone.png", Frame, point->X, point->Y, 255, nullptr, 0,
                                      0, nullptr, true);
}

void TLevelMapScreen::Draw() {
    DrawLevelMap();
    s_.Interface.DrawAll();
    DrawKelScreenEffects(s_.Canvas(), "MemorySurface", s_.ScreenEffects);
    DrawCursor(s_);
}

void TLevelMapScreen::RegisterHandlers() {
    THandlers& h = s_.Handlers;
    h.Register("WBetweenLevels_BPlay_MouseUp", [this] {
        Guarded("Exception error in TKelGameEngine.WBetweenLevel_BPlay_MouseUp!",
                [this] { s_.Flow->ChangeGameState("StartNewLevel"); });
    });
}

bool TLevelMapScreen::HandleEvent(const TEvent& event) {
    if (event.Kind == TEventKind::MouseMove) {
        s_.Play.Game.HoveredLevel = LevelAtMouse();
        return true;
    }
    // A release over the map itself (not over its window's button) picks a position.
    if (event.Kind == TEventKind::MouseUp && s_.Windows->TopForm() == "WBetweenLevels") {
        PickMapLevel();
        return true;
    }
    return false;
}
