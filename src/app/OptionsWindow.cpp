// The options window: full screen, colour depth, hints and the two volumes (heard while their
// sliders move), confirmed or cancelled; and the switch between window and full screen, which
// opens the display again and rebuilds every picture.
#include <algorithm>
#include <cctype>
#include <utility>

#include "app/FishPictures.h"
#include "app/GameEngine.h"
#include "core/KelException.h"

namespace {

bool SameLanguage(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

int TKelGameEngine::SliderPosition(const std::string& slider, int fallback) const {
    if (!interface_.FindObject(slider)) return fallback;
    return std::clamp(int(NumberProperty(slider, "Position")), 0, 100);
}

void TKelGameEngine::ShowDisplayOptions() {
    const bool full = options_.FullScreenMode == 1;
    interface_.SetProperty("WOptions_CBFullScreen", "Checked", full ? "true" : "false");
    interface_.SetProperty("WOptions_CB32bitColor", "Visible", full ? "true" : "false");
    if (full)
        interface_.SetProperty("WOptions_CB32bitColor", "Checked",
                               options_.BitsPerPixel == 32 ? "true" : "false");
}

void TKelGameEngine::ResetOptionsWindow() {
    if (!SameLanguage(previousLanguage_, language_)) {
        language_ = previousLanguage_;
        ApplyLanguage();
        SaveLanguageToReg();
        if (play_.Game.State == gsPause) UpdateScoreLabels();
    }
    options_.LoadOptions(UserPath("options.cfg"));
    ShowDisplayOptions();
    interface_.SetProperty("WOptions_CBHintsOff", "Checked",
                           play_.Game.ShowHints ? "false" : "true");
    // No preview sound while the sliders are set: their change scripts are dropped (they would
    // play the sample at the next input) and the volumes are applied below.
    for (const auto& [slider, volume] :
         {std::pair{"WOptions_SMusicVolume", options_.MusicVolume},
          std::pair{"WOptions_SSoundVolume", options_.SoundVolume}}) {
        interface_.SetProperty(slider, "Position", std::to_string(std::clamp(volume, 0, 100)));
        interface_.DropScriptsOf(slider);
    }
    platform_.Audio.SetGlobalVolumes(std::clamp(options_.MusicVolume, 0, 100),
                                     std::clamp(options_.SoundVolume, 0, 100), 0);
}

void TKelGameEngine::ApplyVolumeSlider(bool music) {
    if (music) {
        soundEvents_.WOptions_SMusicVolume_Change(
            SliderPosition("WOptions_SMusicVolume", options_.MusicVolume));
    } else {
        // A sample at the new level, unless the sliders are being set from the stored values.
        soundEvents_.WOptions_SSoundVolume_Change(
            SliderPosition("WOptions_SSoundVolume", options_.SoundVolume), startedUp_ && !loading_,
            currentTick_);
    }
}

void TKelGameEngine::ApplyOptionsWindow() {
    Guarded("Exception error in TKelGameEngine.WOptions_BOk_MouseUp!", [this] {
        previousLanguage_ = language_;
        SaveOptionsFile();
        const bool full = Checked("WOptions_CBFullScreen");
        const bool color32 = Checked("WOptions_CB32bitColor");
        play_.Game.ShowHints = !Checked("WOptions_CBHintsOff");
        bool depthChanged = false;
        if (options_.FullScreenMode == 1 && color32 != (options_.BitsPerPixel == 32)) {
            options_.BitsPerPixel = color32 ? 32 : 16;
            SaveOptionsFile();
            depthChanged = true;
        }
        if (full != (options_.FullScreenMode == 1))
            ChangeWindowMode();
        else if (depthChanged)
            ReopenDisplay();
        SavePlayerState();
    });
}

void TKelGameEngine::ChangeWindowMode() {
    Guarded("Exception Error in TKelGameEngine.ChangewindowMode.", [this] {
        PauseClock();
        options_.FullScreenForRun.reset();  // the player's own choice is stored from now on
        options_.FullScreenMode = (options_.FullScreenMode + 1) % 2;
        SaveOptionsFile();
        if (!ReopenDisplay()) return;
        ShowDisplayOptions();
    });
}

bool TKelGameEngine::ReopenDisplay() {
    const bool full = options_.FullScreenMode == 1;
    surfaceStore_->ReleaseSurfaces();
    platform_.Display.Close();
    const bool placed = options_.WindowModeX != 0 || options_.WindowModeY != 0;
    platform_.Display.ShowWindow(full, placed && !full ? options_.WindowModeX : -1,
                                 placed && !full ? options_.WindowModeY : -1);
    const int depth = full ? options_.BitsPerPixel : 32;
    if (!SetUpDisplay(platform_.Display, options_.FullScreenMode, depth,
                      [this](const std::string& line) { log_.WriteLog(line); })) {
        closeRequested_ = true;
        return false;
    }
    surfaceStore_->Create(platform_.Display, ScreenWidth, ScreenHeight);
    surfaceStore_->ReinitSurfaces(*archive_, folders_.GameFolder, "");
    DoPostChangeWindowMode();
    return true;
}

void TKelGameEngine::DoPostChangeWindowMode() {
    Guarded("Exception error in TKelGameEngine.DoPostChangeWindowMode!", [this] {
        // The piece pictures the game composed came back blank, without their alpha: they are
        // made again, the ghosts, the still pictures and their animation strips alike.
        for (const TFishkaType& type : fishkaTypes_) {
            for (int mask = 1; mask <= 8; ++mask) {
                surfaceStore_->DeleteSurface(GhostPictureName(type, mask));
                for (int color = 0; color < 8; ++color) {
                    const std::string still = FishPictureName(type, mask, color);
                    surfaceStore_->DeleteSurface(still);
                    surfaceStore_->DeleteSurface(still + "anime");
                }
            }
        }
        MakeGhostFishes(*surfaceStore_, *archive_, fishkaTypes_);
        if (play_.Game.CurrentLevel > 0) levels_.MakeColorFishesSurfaces(currentTick_);
        TGame& game = play_.Game;
        screen_.DrawGameStateBackground();
        if (game.State == gsPause) {
            // The paused level's board lies under the overlay.
            game.State = gsGame;
            screen_.DrawGameStateBackground();
            game.State = gsPause;
        }
        MarkWholeScreen();
    });
}
