// The language files of the folder "lng" and the language window's buttons made from them: a
// file's first three letters are its language's code, the number after its first "_" orders the
// buttons, and a name holding "scn" gets no button. The game lays the buttons out at start-up and
// check-data lays them out the same way to check the files. Relies on the interface engine.
#pragma once

#include <string>
#include <vector>

#include "ui/KelInterfaceEngine.h"

// Whether a file of the folder is a language file: its name ends in "lng", in any letter case.
bool IsLanguageFile(const std::string& name);

// The buttons of the window "WLanguage", one per language file besides English, in the order of
// their numbers (ties in the order given): each a copy of the English button "WLanguage_RBENU",
// unchecked, one row further down, a second column from the sixth on. A button that exists is
// kept. Answers the names of the buttons added; none without the English button or the window.
std::vector<std::string> AddLanguageButtons(TKelInterfaceEngine& ui,
                                            const std::vector<std::string>& languageFiles);
