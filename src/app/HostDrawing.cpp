// The game object as the interface engine's host: the windows draw onto "MemorySurface" through
// the surface store, measure pictures there, play their sounds through the sound events, and get
// the animations the game draws over particular windows.
#include "app/EffectDrawing.h"
#include "app/GameEngine.h"
#include "app/TutorialArrow.h"
#include "ui/KelInterfaceObject.h"

namespace {

constexpr const char* Frame = "MemorySurface";

// The animated example the game draws on a hint window; none for other windows.
const char* HintExampleEffect(const std::string& formName) {
    if (formName == "WBouncingGemHint") return "efBouncingGemOnHint.xml";
    if (formName == "WBonusGemHint") return "efBonusGemOnHint.xml";
    if (formName == "WGemWithLightningHint") return "efLightningGemOnHint.xml";
    return nullptr;
}

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
    if (const char* file = HintExampleEffect(formName)) {
        DrawHintExample(canvas, formName, file);
    } else if (formName == "WBetweenLevels") {
        DrawSelectedLevelMarker(canvas);
    }
    DrawPopupArrow(formName);
}

void TKelGameEngine::DrawHintExample(const TEffectCanvas& canvas, const std::string& formName,
                                     const std::string& file) {
    TKelParticleEffect* effect = globalEffects_.Find(file);
    const auto* well =
        dynamic_cast<const TKelInterfaceObject*>(interface_.FindObject(formName + "_LExample"));
    if (!effect || !well) return;
    // The example runs while its window is shown, drawn around the centre of the window's
    // picture well: the effects are made around their own origin.
    effect->Update(currentTick_);
    const int x = well->AbsLeft() + well->Width() / 2, y = well->AbsTop() + well->Height() / 2;
    if (formName == "WBouncingGemHint") {
        DrawKelParticleEffectInReal(canvas, *effect, Frame, x, y);  // the hop moves sub-pixel
    } else {
        DrawKelParticleEffect(canvas, *effect, Frame, x, y);
    }
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
