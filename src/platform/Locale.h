// The desktop's language, as the environment names it for messages.
#pragma once

#include <string>

// The first of LC_ALL, LC_MESSAGES and LANG that is set and not empty ("" when none), e.g.
// "de_DE.UTF-8".
std::string DesktopLocale();

// The language code the game's language files use for a locale ("deu" for "de_DE.UTF-8"); empty
// for the "C" and "POSIX" locales and for languages the game has no code for.
std::string LanguageCodeOfLocale(const std::string& locale);
