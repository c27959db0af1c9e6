// The options window as the screen flow uses it: full screen, hints and the two volumes, the
// volumes heard while their sliders move, Cancel going back to the stored values; and the switch
// between window and full screen.
#include <algorithm>

#include "app/GameEngine.h"

int TKelGameEngine::SliderPosition(const std::string& slider, int fallback) const {
    if (!interface_.FindObject(slider)) return fallback;
    return std::clamp(int(NumberProperty(slider, "Position")), 0, 100);
}

void TKelGameEngine::ResetOptionsWindow() {
    const bool full = options_.FullScreenMode == 1;
    interface_.SetProperty("WOptions_CBFullScreen", "Checked", full ? "true" : "false");
    interface_.SetProperty("WOptions_CB32bitColor", "Checked",
                           options_.BitsPerPixel == 32 ? "true" : "false");
    interface_.SetProperty("WOptions_CB32bitColor", "Visible", full ? "true" : "false");
    interface_.SetProperty("WOptions_CBHintsOff", "Checked",
                           play_.Game.ShowHints ? "false" : "true");
    interface_.SetProperty("WOptions_SMusicVolume", "Position",
                           std::to_string(std::clamp(options_.MusicVolume, 0, 100)));
    interface_.SetProperty("WOptions_SSoundVolume", "Position",
                           std::to_string(std::clamp(options_.SoundVolume, 0, 100)));
}

void TKelGameEngine::ApplyVolumeSlider(bool music) {
    const int musicVolume = SliderPosition("WOptions_SMusicVolume", options_.MusicVolume);
    const int soundVolume = SliderPosition("WOptions_SSoundVolume", options_.SoundVolume);
    platform_.Audio.SetGlobalVolumes(music ? musicVolume : -1, music ? -1 : soundVolume, -1);
}

void TKelGameEngine::ApplyOptionsWindow() {
    options_.MusicVolume = SliderPosition("WOptions_SMusicVolume", options_.MusicVolume);
    options_.SoundVolume = SliderPosition("WOptions_SSoundVolume", options_.SoundVolume);
    platform_.Audio.SetGlobalVolumes(options_.MusicVolume, options_.SoundVolume, -1);
    play_.Game.ShowHints = !Checked("WOptions_CBHintsOff");
    if (Checked("WOptions_CBFullScreen") != (options_.FullScreenMode == 1)) ChangeWindowMode();
    SavePlayerState();
    options_.SaveOptions(UserPath("options.cfg"));
}

void TKelGameEngine::RestoreOptionsWindow() {
    platform_.Audio.SetGlobalVolumes(std::clamp(options_.MusicVolume, 0, 100),
                                     std::clamp(options_.SoundVolume, 0, 100), -1);
    ResetOptionsWindow();
}

void TKelGameEngine::ChangeWindowMode() {
    options_.FullScreenMode = options_.FullScreenMode == 1 ? 0 : 1;
    const bool full = options_.FullScreenMode == 1;
    platform_.Display.ShowWindow(full, full ? -1 : options_.WindowModeX,
                                 full ? -1 : options_.WindowModeY);
    interface_.SetProperty("WOptions_CBFullScreen", "Checked", full ? "true" : "false");
    interface_.SetProperty("WOptions_CB32bitColor", "Visible", full ? "true" : "false");
    MarkWholeScreen();
}
