#include "app/OptionsWindow.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "app/FishPictures.h"

#include "app/GameWindows.h"
#include "app/LanguageChoice.h"
#include "app/PlayerProfiles.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"
#include "core/TextCase.h"

namespace {}  // namespace

int TOptionsWindow::SliderPosition(const std::string& slider, int fallback) const {
    if (!s_.Interface.FindObject(slider)) return fallback;
    return std::clamp(int(s_.Windows->NumberProperty(slider, "Position")), 0, 100);
}

void TOptionsWindow::ShowDisplayOptions() {
    const bool full = s_.Options.FullScreenMode == 1;
    s_.Interface.SetProperty("WOptions_CBFullScreen", "Checked", full ? "true" : "false");
    s_.Interface.SetProperty("WOptions_CB32bitColor", "Visible", full ? "true" : "false");
    if (full)
        s_.Interface.SetProperty("WOptions_CB32bitColor", "Checked",
                                 s_.Options.BitsPerPixel == 32 ? "true" : "false");
}

void TOptionsWindow::ResetOptionsWindow() {
    TLanguageChoice& language = *s_.Language;
    if (!SameText(language.PreviousLanguage(), language.Language())) {
        language.SetLanguage(language.PreviousLanguage());
        s_.Language->ApplyLanguage();
        s_.Language->SaveLanguageToReg();
        if (s_.Play.Game.State == gsPause) s_.Flow->UpdateScoreLabels();
    }
    s_.Options.LoadOptions(s_.UserPath("options.cfg"));
    ShowDisplayOptions();
    s_.Interface.SetProperty("WOptions_CBHintsOff", "Checked",
                             s_.Play.Game.ShowHints ? "false" : "true");
    // No preview sound while the sliders are set: their change scripts are dropped (they would
    // play the sample at the next input) and the volumes are applied below.
    for (const auto& [slider, volume] :
         {std::pair{"WOptions_SMusicVolume", s_.Options.MusicVolume},
          std::pair{"WOptions_SSoundVolume", s_.Options.SoundVolume}}) {
        s_.Interface.SetProperty(slider, "Position", std::to_string(std::clamp(volume, 0, 100)));
        s_.Interface.DropScriptsOf(slider);
    }
    s_.Os.Audio.SetGlobalVolumes(std::clamp(s_.Options.MusicVolume, 0, 100),
                                 std::clamp(s_.Options.SoundVolume, 0, 100), 0);
}

void TOptionsWindow::ApplyVolumeSlider(bool music) {
    if (music) {
        s_.Sounds.WOptions_SMusicVolume_Change(
            SliderPosition("WOptions_SMusicVolume", s_.Options.MusicVolume));
    } else {
        // A sample at the new level, unless the sliders are being set from the stored values.
        s_.Sounds.WOptions_SSoundVolume_Change(
            SliderPosition("WOptions_SSoundVolume", s_.Options.SoundVolume),
            s_.StartedUp && !s_.Loading, s_.Now);
    }
}

void TOptionsWindow::ApplyOptionsWindow() {
    Guarded("Exception error in TKelGameEngine.WOptions_BOk_MouseUp!", [this] {
        s_.Language->SetPreviousLanguage(s_.Language->Language());
        s_.Files->SaveOptionsFile();
        const bool full = s_.Windows->Checked("WOptions_CBFullScreen");
        const bool color32 = s_.Windows->Checked("WOptions_CB32bitColor");
        s_.Play.Game.ShowHints = !s_.Windows->Checked("WOptions_CBHintsOff");
        bool depthChanged = false;
        if (s_.Options.FullScreenMode == 1 && color32 != (s_.Options.BitsPerPixel == 32)) {
            s_.Options.BitsPerPixel = color32 ? 32 : 16;
            s_.Files->SaveOptionsFile();
            depthChanged = true;
        }
        if (full != (s_.Options.FullScreenMode == 1))
            ChangeWindowMode();
        else if (depthChanged)
            ReopenDisplay();
        s_.Players->SavePlayerState();
    });
}

void TOptionsWindow::ChangeWindowMode() {
    Guarded("Exception Error in TKelGameEngine.ChangewindowMode.", [this] {
        s_.Flow->PauseClock();
        s_.Options.FullScreenForRun.reset();  // the player's own choice is stored from now on
        s_.Options.FullScreenMode = (s_.Options.FullScreenMode + 1) % 2;
        s_.Files->SaveOptionsFile();
        if (!ReopenDisplay()) return;
        ShowDisplayOptions();
    });
}

bool TOptionsWindow::ReopenDisplay() {
    const bool full = s_.Options.FullScreenMode == 1;
    s_.Surfaces->ReleaseSurfaces();
    s_.Os.Display.Close();
    const bool placed = s_.Options.WindowModeX != 0 || s_.Options.WindowModeY != 0;
    s_.Os.Display.ShowWindow(full, placed && !full ? s_.Options.WindowModeX : -1,
                             placed && !full ? s_.Options.WindowModeY : -1);
    const int depth = full ? s_.Options.BitsPerPixel : 32;
    if (!SetUpDisplay(s_.Os.Display, s_.Options.FullScreenMode, depth,
                      [this](const std::string& line) { s_.Log.WriteLog(line); })) {
        s_.CloseRequested = true;
        return false;
    }
    s_.Surfaces->Create(s_.Os.Display, ScreenWidth, ScreenHeight);
    s_.Surfaces->ReinitSurfaces(*s_.Archive, s_.Folders.GameFolder, "");
    DoPostChangeWindowMode();
    return true;
}

void TOptionsWindow::DoPostChangeWindowMode() {
    Guarded("Exception error in TKelGameEngine.DoPostChangeWindowMode!", [this] {
        // The piece pictures the game composed came back blank, without their alpha: they are
        // made again, the ghosts, the still pictures and their animation strips alike.
        for (const TFishkaType& type : s_.Types) {
            for (int mask = 1; mask <= 8; ++mask) {
                s_.Surfaces->DeleteSurface(GhostPictureName(type, mask));
                for (int color = 0; color < 8; ++color) {
                    const std::string still = FishPictureName(type, mask, color);
                    s_.Surfaces->DeleteSurface(still);
                    s_.Surfaces->DeleteSurface(still + "anime");
                }
            }
        }
        MakeGhostFishes(*s_.Surfaces, *s_.Archive, s_.Types);
        if (s_.Play.Game.CurrentLevel > 0) s_.Levels->MakeColorFishesSurfaces(s_.Now);
        TGame& game = s_.Play.Game;
        s_.Screen->DrawGameStateBackground();
        if (game.State == gsPause) {
            // The paused level's board lies under the overlay.
            s_.Flow->Show(gsGame);
            s_.Screen->DrawGameStateBackground();
            s_.Flow->Show(gsPause);
        }
        s_.MarkWholeScreen();
    });
}
