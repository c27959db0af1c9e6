#include "app/LanguageChoice.h"

#include <cctype>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>

#include "app/GameWindows.h"
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

bool IsLanguageFile(const std::string& name) {
    const std::string lower = LowerCase(name);
    return lower.size() >= 3 && lower.compare(lower.size() - 3, 3, "lng") == 0;
}

// The digits between the first "_" and the first "." after it, as a leading integer; 0 when the
// name has no such part.
int OrderNumber(const std::string& name) {
    const size_t underscore = name.find('_');
    if (underscore == std::string::npos) return 0;
    const size_t dot = name.find('.', underscore + 1);
    const std::string part = name.substr(
        underscore + 1, dot == std::string::npos ? std::string::npos : dot - underscore - 1);
    int number = 0;
    std::from_chars(part.data(), part.data() + part.size(), number);
    return number;
}

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
    struct TCode {
        std::string Code;
        int Order;
    };
    std::vector<TCode> codes;
    for (const std::string& file : LanguageFiles()) {
        const std::string lower = LowerCase(file);
        if (lower.find("scn") == std::string::npos)
            codes.push_back({lower.substr(0, 3), OrderNumber(file)});
    }
    const auto* model =
        dynamic_cast<const TKelRadioButton*>(s_.Interface.FindObject("WLanguage_RBENU"));
    auto* window = dynamic_cast<TKelForm*>(s_.Interface.FindObject("WLanguage"));
    if (!model || !window) return;
    int i = 1;
    while (!codes.empty()) {
        const auto first = std::min_element(codes.begin(), codes.end(),
                                            [](auto& a, auto& b) { return a.Order < b.Order; });
        const std::string code = first->Code;
        codes.erase(first);
        const std::string name = "WLanguage_RB" + UpperCase(code);
        if (code == "enu" || s_.Interface.FindObject(name)) continue;
        if (s_.Interface.CreateObject(name, "WLanguage", "TKelRadioButton") < 0) continue;
        auto* button = dynamic_cast<TKelRadioButton*>(s_.Interface.FindObject(name));
        button->Assign(*model);
        button->SetChecked(false);
        button->ResolveParent();
        if (i <= 5) {
            button->SetTop(model->Top() + i * 24);
        } else {
            button->SetTop(model->Top() + i * 24 - 144);
            button->SetLeft(model->Left() + 200);
        }
        ++i;
    }
    window->CollectChildren();
    window->BuildFocusList();
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
