#include "app/LanguageChoice.h"

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "app/GameWindows.h"
#include "app/LanguageButtons.h"
#include "app/OptionsWindow.h"
#include "app/UserFiles.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"
#include "core/TextCase.h"
#include "platform/Locale.h"
#include "platform/Paths.h"
#include "ui/KelCheckBox.h"

namespace {

constexpr const char* RegistryKey = "Software\\Brontel\\Tervolin";

}  // namespace

std::string TLanguageChoice::LanguageFolder() const {
    return ResolvePath(JoinPath(s_.Folders.GameFolder, "lng"));
}

std::vector<std::string> TLanguageChoice::LanguageFiles() const {
    std::vector<std::string> files;
    for (const std::string& name : ListFolder(LanguageFolder()))
        if (IsLanguageFile(name)) files.push_back(name);
    return files;
}

void TLanguageChoice::LoadReg() {
    Guarded("Exception Error in TKelGameEngine.LoadReg.", [this] {
        const std::string value = s_.Os.System.RegistryValue(RegistryKey, "LangStr");
        if (!value.empty()) language_ = LowerCase(value.substr(0, 3));
    });
}

void TLanguageChoice::SaveLanguageToReg() {
    Guarded("Exception Error in TKelGameEngine.SaveLanguageToReg.", [this] {
        if (language_.size() < 3 ||
            s_.Os.System.SetRegistryValue(RegistryKey, "LangStr", language_.substr(0, 3)))
            return;
        const int error = errno;
        s_.Log.WriteLog(std::string("Cannot store the language: ") + std::strerror(error));
        s_.Files->ReportSaveFailure(TUserFile::Language, error);
    });
}

void TLanguageChoice::TakeDesktopLanguage() {
    if (!language_.empty()) return;
    const std::string code = LanguageCodeOfLocale(DesktopLocale());
    if (code.empty()) return;
    for (const std::string& file : LanguageFiles())
        if (LowerCase(file.substr(0, 3)) == code) {
            language_ = code;
            SaveLanguageToReg();
            return;
        }
}

void TLanguageChoice::BuildLanguageButtons() {
    AddLanguageButtons(s_.Interface, LanguageFiles());
}

void TLanguageChoice::ApplyLanguage() {
    std::error_code error;
    if (!std::filesystem::is_directory(LanguageFolder(), error)) return;
    const std::vector<std::string> files = LanguageFiles();
    auto apply = [&] {
        bool matched = false;
        for (const std::string& file : files)
            if (LowerCase(file.substr(0, 3)) == LowerCase(language_)) {
                s_.Interface.RestoreProperties();
                try {
                    s_.Interface.LoadFromFile(JoinPath(LanguageFolder(), file));
                } catch (const std::exception& error) {
                    s_.Log.WriteLog(file + ": " + error.what());
                }
                matched = true;
            }
        return matched;
    };
    if (!apply()) {
        language_ = "ENU";
        SaveLanguageToReg();
        if (!apply()) s_.Interface.RestoreProperties();  // English is the description's own
    }
    s_.Flow->UpdateScoreLabels();
    s_.Flow->UpdateWelcomeCaption();
    s_.Interface.SetProperty("WLanguage_RB" + UpperCase(language_), "Checked", "true");
}

void TLanguageChoice::SetUpLanguage() {
    LoadReg();
    TakeDesktopLanguage();
    BuildLanguageButtons();
    ApplyLanguage();
    LoadReg();
    previousLanguage_ = language_;
}

void TLanguageChoice::ChooseLanguage() {
    std::string code;
    if (const auto* window = dynamic_cast<const TKelForm*>(s_.Interface.FindObject("WLanguage")))
        for (const TKelInterfaceObject* child : window->Children())
            if (const auto* button = dynamic_cast<const TKelRadioButton*>(child);
                button && button->GetClass().Name == "TKelRadioButton" && button->Checked()) {
                // The characters after "WLanguage_RB"; nothing for a shorter name.
                code = button->Name().size() > 12 ? button->Name().substr(12, 3) : "";
                break;
            }
    if (!code.empty() && LowerCase(code) != LowerCase(language_)) {
        language_ = code;
        ApplyLanguage();
        SaveLanguageToReg();
        if (s_.Play.Game.State == gsPause) s_.Flow->UpdateScoreLabels();
    }
    // Chosen from the options window, the language is taken back by its Cancel (which returns to
    // the language of that visit's start); chosen anywhere else, it stands.
    if (!s_.Interface.Shown("WOptions")) previousLanguage_ = language_;
    s_.Interface.HideTopModal();
    s_.Flow->DrawFrame();
    s_.Redraw.FillRect(ScreenRect);
}
