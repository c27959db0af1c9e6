// TLanguageChoice: the interface language: its code kept in the registry value "LangStr", the
// language files of the folder "lng" beside the game (each changes the captions of existing
// windows), a button per language in "WLanguage", and the choice applied live. At the very first
// start the desktop's language is taken when the game has a file for it. Relies on the game's
// services.
#pragma once

#include <string>
#include <vector>

#include "app/GameServices.h"

class TLanguageChoice {
  public:
    explicit TLanguageChoice(TGameServices& services) : s_(services) {}

    void SetUpLanguage();
    void ApplyLanguage();
    void ChooseLanguage();
    void SaveLanguageToReg();

    const std::string& Language() const { return language_; }
    void SetLanguage(const std::string& code) { language_ = code; }
    // The language in force before the options window was opened: its Cancel takes back a
    // language chosen meanwhile.
    const std::string& PreviousLanguage() const { return previousLanguage_; }
    void SetPreviousLanguage(const std::string& code) { previousLanguage_ = code; }

  private:
    std::string LanguageFolder() const;
    std::vector<std::string> LanguageFiles() const;
    void LoadReg();
    void TakeDesktopLanguage();
    void BuildLanguageButtons();

    TGameServices& s_;
    std::string language_, previousLanguage_;
};
