#include "app/HostDrawing.h"
#include "app/EffectDrawing.h"

#include "app/TutorialArrow.h"
#include "app/TutorialPopup.h"
#include "app/screens/LevelMapScreen.h"
#include "app/screens/ScreenFlow.h"
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

void THostDrawing::Draw(const std::string& picture, const std::string&, TBlendingMode, int x, int y,
                        uint8_t alpha, const std::optional<TRect>& source) {
    if (!s_.Surfaces || s_.Surfaces->IndexOfSurface(picture) < 0) return;
    TRect rect = source.value_or(TRect{});
    s_.Surfaces->DrawWithAlphaChannel(picture, Frame, x, y, alpha, source ? &rect : nullptr);
}

void THostDrawing::DrawBumpMap(const std::string&, const std::string&, int, int) {
    // The surface store keeps no bump maps.
}

void THostDrawing::DrawRect(const std::string&, const TRect& rect, uint32_t color, uint8_t alpha,
                            bool) {
    if (s_.Surfaces) s_.Surfaces->FillRectColor(Frame, rect, color, alpha);
}

void THostDrawing::DrawColoredAlpha(const std::string& picture, const std::string&, int x, int y,
                                    uint32_t color, uint8_t alpha) {
    // Amount 1 pulls every pixel all the way to the colour: the picture's silhouette.
    if (s_.Surfaces && s_.Surfaces->IndexOfSurface(picture) >= 0)
        s_.Surfaces->DrawWithAlphaChannel(picture, Frame, x, y, alpha, nullptr, color, 1);
}

void THostDrawing::LowExtDraw(const std::string& picture, const TRect& source, const std::string&,
                              int x, int y, uint32_t color, uint8_t alpha) {
    if (!s_.Surfaces || s_.Surfaces->IndexOfSurface(picture) < 0) return;
    TRect rect = source;
    s_.Surfaces->DrawWithAlphaChannel(picture, Frame, x, y, alpha, &rect, color, 1);
}

void THostDrawing::GetPictureSize(int& width, int& height, const std::string& picture) {
    width = height = 0;
    if (!s_.Surfaces || picture.empty()) return;
    const TPoint size = s_.Surfaces->GetSurfaceSize(picture);
    width = size.X;
    height = size.Y;
}

void THostDrawing::GetScreenSize(int& width, int& height) {
    width = s_.Surfaces ? s_.Surfaces->ScreenWidth : ScreenWidth;
    height = s_.Surfaces ? s_.Surfaces->ScreenHeight : ScreenHeight;
}

void THostDrawing::PlaySound(const std::string& sound) {
    s_.Sounds.PlaySound(sound);
}

void THostDrawing::PostFormDraw(const std::string& formName) {
    if (!s_.Surfaces) return;
    const TEffectCanvas canvas{*s_.Surfaces, s_.Fonts.get(), s_.Redraw, s_.Now};
    if (const char* file = HintExampleEffect(formName)) {
        DrawHintExample(canvas, formName, file);
    } else if (formName == "WBetweenLevels") {
        s_.Flow->LevelMap().DrawSelectedLevelMarker(canvas);
    }
    DrawPopupArrow(formName);
}

void THostDrawing::DrawHintExample(const TEffectCanvas& canvas, const std::string& formName,
                                   const std::string& file) {
    TKelParticleEffect* effect = s_.GlobalEffects.Find(file);
    const auto* well =
        dynamic_cast<const TKelInterfaceObject*>(s_.Interface.FindObject(formName + "_LExample"));
    if (!effect || !well) return;
    // The example runs while its window is shown, drawn around the centre of the window's
    // picture well: the effects are made around their own origin.
    effect->Update(s_.Now);
    const int x = well->AbsLeft() + well->Width() / 2, y = well->AbsTop() + well->Height() / 2;
    if (formName == "WBouncingGemHint") {
        DrawKelParticleEffectInReal(canvas, *effect, Frame, x, y);  // the hop moves sub-pixel
    } else {
        DrawKelParticleEffect(canvas, *effect, Frame, x, y);
    }
}

void THostDrawing::DrawPopupArrow(const std::string& formName) {
    const std::optional<TShownTutorialPopup> popup =
        ShownTutorialPopup(s_.Play.Level, s_.Interface, s_.Now);
    if (!popup || popup->Name != formName) return;
    const char* picture = TutorialArrowPicture(popup->ArrowUp);
    const TSurface* found = s_.Surfaces->FindSurface(picture);
    if (!found) return;
    const TSurface& arrow = *found;
    const TPoint corner =
        TutorialArrowCorner(popup->ArrowTip, popup->ArrowUp, arrow.Width, arrow.Height);
    s_.Surfaces->DrawWithAlphaChannel(picture, Frame, corner.X, corner.Y, 255, nullptr);
    s_.Redraw.FillRect(TutorialArrowArea(popup->Cell, popup->ArrowUp, arrow.Width, arrow.Height));
}

void THostDrawing::ExtDraw(const std::string& fontPicture, int count) {
    if (s_.Surfaces) s_.Surfaces->DrawText(fontPicture, Frame, count, s_.Fonts->Placements.data());
}
