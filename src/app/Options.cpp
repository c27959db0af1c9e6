// Options file reading and writing.
#include "app/Options.h"

#include "app/IniFile.h"

void TGameOptions::LoadOptions(const std::string& fileName) {
    const TIniFile ini(fileName);
    const TGameOptions defaults;
    auto integer = [&](const char* key, int fallback) {
        return ini.ReadInteger("Options", key, fallback);
    };
    ScreenWidth = integer("ScreenWidth", defaults.ScreenWidth);
    ScreenHeight = integer("ScreenHeight", defaults.ScreenHeight);
    BitsPerPixel = integer("BitsPerPixel", defaults.BitsPerPixel);
    LoadingX = integer("LoadingX", defaults.LoadingX);
    LoadingY = integer("LoadingY", defaults.LoadingY);
    SoundVolume = integer("SoundVolume", defaults.SoundVolume);
    MusicVolume = integer("MusicVolume", defaults.MusicVolume);
    DebugMode = integer("DebugMode", defaults.DebugMode);
    storedFullScreenMode_ = integer("FullScreenMode", defaults.FullScreenMode);
    FullScreenMode = FullScreenForRun.value_or(storedFullScreenMode_);
    WindowModeX = integer("WindowModeX", defaults.WindowModeX);
    WindowModeY = integer("WindowModeY", defaults.WindowModeY);
    TurnOffHint = integer("TurnOffHint", defaults.TurnOffHint);
    PlayerName = ini.ReadString("Options", "PlayerName", defaults.PlayerName);
    AnimationImages = integer("AnimationImages", defaults.AnimationImages);
}

bool TGameOptions::SaveOptions(const std::string& fileName) const {
    TIniFile ini(fileName);
    ini.WriteString("Version", "Build", "103");
    ini.WriteString("Options", "PlayerName", PlayerName);
    ini.WriteInteger("Options", "SoundVolume", SoundVolume);
    ini.WriteInteger("Options", "MusicVolume", MusicVolume);
    ini.WriteInteger("Options", "FullScreenMode",
                     FullScreenForRun ? storedFullScreenMode_ : FullScreenMode);
    ini.WriteInteger("Options", "TurnOffHint", TurnOffHint);
    ini.WriteInteger("Options", "BitsPerPixel", BitsPerPixel);
    ini.WriteInteger("Options", "AnimationImages", 0);
    return ini.Save();
}
