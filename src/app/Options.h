// The machine-wide options kept in "options.cfg" of the user folder, section "Options".
#pragma once

#include <optional>
#include <string>

struct TGameOptions {
    int ScreenWidth = 800, ScreenHeight = 600;
    int BitsPerPixel = 32;
    int LoadingX = 0, LoadingY = 0;
    int SoundVolume = 100, MusicVolume = 100;
    int DebugMode = 0;
    int FullScreenMode = 0;
    int WindowModeX = 0, WindowModeY = 0;
    int TurnOffHint = 0;
    std::string PlayerName = "Player";
    int AnimationImages = 0;
    // The window mode asked for on the command line (0 window, 1 full screen): in force instead
    // of the stored FullScreenMode until the player switches the mode, and never written.
    std::optional<int> FullScreenForRun;

    // Reads every key; missing keys and integers that are not whole numbers keep the defaults.
    void LoadOptions(const std::string& fileName);
    // Writes the keys the game owns, leaving the others in the file as they are. False when the
    // file could not be written.
    bool SaveOptions(const std::string& fileName) const;
    // Diagnostic mode shows the frame rate in the caption and enables the surface report.
    bool Diagnostic() const { return DebugMode == 463; }

  private:
    int storedFullScreenMode_ = 0;  // the file's value, written back while FullScreenForRun holds
};
