// The game object as the interface engine's host: the windows draw onto "MemorySurface" through
// the surface store, measure pictures there, play their sounds through the sound events, and get
// the animations the game draws over particular windows.
#include "app/EffectDrawing.h"
#include "app/GameEngine.h"
#include "app/TutorialArrow.h"

namespace {

constexpr const char* Frame = "MemorySurface";

// The hint windows whose animation the game draws at this screen offset.
constexpr int HintEffectX = 255, HintEffectY = 265;

}  // namespace

void TKelGameEngine::Draw(const std::string& picture, const std::string&, TBlendingMode, int x,
                          int y, uint8_t alpha, const std::optional<TRect>& source) {
    if (!surfaceStore_ || surfaceStore_->IndexOfSurface(picture) < 0) return;
    TRect rect = source.value_or(TRect{});
    surfaceStore_->DrawWithAlphaChannel(picture, Frame, x, y, alpha, source ? &rect : nullptr);
}

void TKelGameEngine::DrawBumpMap(const std::string&, const std::string&, int, int) {
    // The surface store keeps no bump maps.
}

void TKelGameEngine::DrawRect(const std::string&, const TRect& rect, uint32_t color, uint8_t alpha,
                              bool) {
    if (surfaceStore_) surfaceStore_->FillRectColor(Frame, rect, color, alpha);
}

void TKelGameEngine::DrawColoredAlpha(const std::string& picture, const std::string&, int x, int y,
                                      uint32_t color, uint8_t alpha) {
    // Amount 1 pulls every pixel all the way to the colour: the picture's silhouette.
    if (surfaceStore_ && surfaceStore_->IndexOfSurface(picture) >= 0)
        surfaceStore_->DrawWithAlphaChannel(picture, Frame, x, y, alpha, nullptr, color, 1);
}

void TKelGameEngine::LowExtDraw(const std::string& picture, const TRect& source, const std::string&,
                                int x, int y, uint32_t color, uint8_t alpha) {
    if (!surfaceStore_ || surfaceStore_->IndexOfSurface(picture) < 0) return;
    TRect rect = source;
    surfaceStore_->DrawWithAlphaChannel(picture, Frame, x, y, alpha, &rect, color, 1);
}

void TKelGameEngine::GetPictureSize(int& width, int& height, const std::string& picture) {
    width = height = 0;
    if (!surfaceStore_ || picture.empty()) return;
    const TPoint size = surfaceStore_->GetSurfaceSize(picture);
    width = size.X;
    height = size.Y;
}

void TKelGameEngine::GetScreenSize(int& width, int& height) {
    width = surfaceStore_ ? surfaceStore_->ScreenWidth : ScreenWidth;
    height = surfaceStore_ ? surfaceStore_->ScreenHeight : ScreenHeight;
}

void TKelGameEngine::PlaySound(const std::string& sound) {
    soundEvents_.PlaySound(sound);
}

void TKelGameEngine::PostFormDraw(const std::string& formName) {
    if (!surfaceStore_) return;
    const TEffectCanvas canvas{*surfaceStore_, fontEngine_.get(), redrawGrid_, currentTick_};
    if (formName == "WBouncingGemHint") {
        if (const TKelParticleEffect* effect = globalEffects_.Find("efBouncingGemOnHint.xml"))
            DrawKelParticleEffectInReal(canvas, *effect, Frame, HintEffectX, HintEffectY);
    } else if (formName == "WBonusGemHint" || formName == "WGemWithLightningHint") {
        const char* file =
            formName == "WBonusGemHint" ? "efBonusGemOnHint.xml" : "efLightningGemOnHint.xml";
        if (TKelParticleEffect* effect = globalEffects_.Find(file)) {
            effect->Update(currentTick_);
            DrawKelParticleEffect(canvas, *effect, Frame, HintEffectX, HintEffectY);
        }
    } else if (formName == "WBetweenLevels") {
        DrawSelectedLevelMarker(canvas);
    }
    DrawPopupArrow(formName);
}

void TKelGameEngine::DrawPopupArrow(const std::string& formName) {
    const std::optional<TShownTutorialPopup> popup = ShownTutorialPopup();
    if (!popup || popup->Name != formName) return;
    const char* picture = TutorialArrowPicture(popup->ArrowUp);
    const TSurface* found = surfaceStore_->FindSurface(picture);
    if (!found) return;
    const TSurface& arrow = *found;
    const TPoint corner =
        TutorialArrowCorner(popup->ArrowTip, popup->ArrowUp, arrow.Width, arrow.Height);
    surfaceStore_->DrawWithAlphaChannel(picture, Frame, corner.X, corner.Y, 255, nullptr);
    redrawGrid_.FillRect(TutorialArrowArea(popup->Cell, popup->ArrowUp, arrow.Width, arrow.Height));
}
