// The names that the game's code and its content share: the windows the code shows, the widgets
// it reads or writes with the class each must have, the handlers the interface description may
// call, and the effect files and music the code plays by name. The game, check-data and the tests
// read them here, so that a name is kept in one place. Relies on the interface classes only.
#pragma once

#include <span>
#include <string>

#include "core/KelBaseClasses.h"

// A widget the code names; `Class` none: a label of any kind (labels and buttons).
struct TManifestWidget {
    const char* Name;
    const TKelClass& (*Class)();
};

// The windows the game shows by name.
std::span<const char* const> GameWindows();
// The widgets the game reads or writes by name.
std::span<const TManifestWidget> GameWidgets();
// The handlers the game publishes for the description's "ExecMethod".
std::span<const char* const> PublishedHandlers();
bool IsPublishedHandler(const std::string& name);
// The effect files the code starts by name, those it builds from a number or a kind included.
std::span<const char* const> CodeEffectFiles();
// The music the code plays by name.
std::span<const char* const> CodeMusic();
