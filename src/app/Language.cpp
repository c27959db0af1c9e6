// The interface language: its code kept in the registry value "LangStr", the language files of
// the folder "lng" beside the game (each changes the captions of existing windows), a button per
// language in "WLanguage", and the choice applied live. At the very first start the desktop's
// language is taken when the game has a file for it.
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/GameEngine.h"
#include "app/LanguageButtons.h"
#include "core/KelException.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "ui/KelCheckBox.h"

namespace {

constexpr const char* RegistryKey = "Software\\Brontel\\Tervolin";

std::string Lower(std::string text) {
    for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::string Upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

std::string TKelGameEngine::LanguageFolder() const {
    return ResolvePath(JoinPath(folders_.GameFolder, "lng"));
}

std::vector<std::string> TKelGameEngine::LanguageFiles() const {
    std::vector<std::string> files;
    for (const std::string& name : ListFolder(LanguageFolder()))
        if (IsLanguageFile(name)) files.push_back(name);
    return files;
}

void TKelGameEngine::LoadReg() {
    Guarded("Exception Error in TKelGameEngine.LoadReg.", [this] {
        const std::string value = platform_.System.RegistryValue(RegistryKey, "LangStr");
        if (!value.empty()) language_ = Lower(value.substr(0, 3));
    });
}

void TKelGameEngine::SaveLanguageToReg() {
    Guarded("Exception Error in TKelGameEngine.SaveLanguageToReg.", [this] {
        if (language_.size() < 3 ||
            platform_.System.SetRegistryValue(RegistryKey, "LangStr", language_.substr(0, 3)))
            return;
        const int error = errno;
        log_.WriteLog(std::string("Cannot store the language: ") + std::strerror(error));
        ReportSaveFailure(TUserFile::Language, error);
    });
}

void TKelGameEngine::TakeDesktopLanguage() {
    if (!language_.empty()) return;
    const std::string code = LanguageCodeOfLocale(DesktopLocale());
    if (code.empty()) return;
    for (const std::string& file : LanguageFiles())
        if (Lower(file.substr(0, 3)) == code) {
            language_ = code;
            SaveLanguageToReg();
            return;
        }
}

void TKelGameEngine::BuildLanguageButtons() {
    AddLanguageButtons(interface_, LanguageFiles());
}

void TKelGameEngine::ApplyLanguage() {
    std::error_code error;
    if (!std::filesystem::is_directory(LanguageFolder(), error)) return;
    const std::vector<std::string> files = LanguageFiles();
    auto apply = [&] {
        bool matched = false;
        for (const std::string& file : files)
            if (Lower(file.substr(0, 3)) == Lower(language_)) {
                interface_.RestoreProperties();
                try {
                    interface_.LoadFromFile(JoinPath(LanguageFolder(), file));
                } catch (const std::exception& error) {
                    log_.WriteLog(file + ": " + error.what());
                }
                matched = true;
            }
        return matched;
    };
    if (!apply()) {
        language_ = "ENU";
        SaveLanguageToReg();
        if (!apply()) interface_.RestoreProperties();  // English is the description's own
    }
    UpdateScoreLabels();
    UpdateWelcomeCaption();
    interface_.SetProperty("WLanguage_RB" + Upper(language_), "Checked", "true");
}

void TKelGameEngine::SetUpLanguage() {
    LoadReg();
    TakeDesktopLanguage();
    BuildLanguageButtons();
    ApplyLanguage();
    LoadReg();
    previousLanguage_ = language_;
}

void TKelGameEngine::ChooseLanguage() {
    std::string code;
    if (const auto* window = dynamic_cast<const TKelForm*>(interface_.FindObject("WLanguage")))
        for (const TKelInterfaceObject* child : window->Children())
            if (const auto* button = dynamic_cast<const TKelRadioButton*>(child);
                button && button->GetClass().Name == "TKelRadioButton" && button->Checked()) {
                // The characters after "WLanguage_RB"; nothing for a shorter name.
                code = button->Name().size() > 12 ? button->Name().substr(12, 3) : "";
                break;
            }
    if (!code.empty() && Lower(code) != Lower(language_)) {
        language_ = code;
        ApplyLanguage();
        SaveLanguageToReg();
        if (play_.Game.State == gsPause) UpdateScoreLabels();
    }
    // Chosen from the options window, the language is taken back by its Cancel (which returns to
    // the language of that visit's start); chosen anywhere else, it stands.
    if (!interface_.Shown("WOptions")) previousLanguage_ = language_;
    interface_.HideTopModal();
    DrawScreen();
    redrawGrid_.FillRect(ScreenRect);
}
