// The checks of check-data, one file each, and what several of them share. A check adds a line
// to the problems for each problem it finds in the archive (and the files beside it); it loads
// the content with the game's own loaders. Relies on the archive, the interface engine and the
// fonts.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "graphics/KelFontEngine.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "ui/KelInterface.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/KelLabel.h"

using TProblems = std::vector<std::string>;

// The checks, in the order check-data runs them.
void CheckEntriesLoad(TFileFolder& archive, TProblems& problems);
void CheckEntryNames(TFileFolder& archive, TProblems& problems);
void CheckTypesAndLevels(TFileFolder& archive, TProblems& problems);
void CheckFonts(TFileFolder& archive, TProblems& problems);
void CheckScreenContent(TFileFolder& archive, TProblems& problems);
void CheckInterface(TFileFolder& archive, TProblems& problems);

// The interface description's entry.
constexpr const char* InterfaceEntry = "Tervolin.li";
// The fonts the interface draws with.
inline constexpr const char* GameFonts[] = {"KelUnicode",         "Lithos",
                                            "Lithos-Bold",        "Lithos-Black",
                                            "LithosDigist-Black", "LithosSmall-Bold"};

// The piece types of the archive; none when it has none or they do not read, which the piece
// types check reports.
TFishkaTypes PieceTypes(TFileFolder& archive);

// The top-level form an interface object belongs to.
const TKelInterfaceObject* WindowOf(const TKelInterfaceObject& object);
bool Inside(const TRect& inner, const TRect& outer);
// A caption must fit its label in English with room for translations 30 % longer.
void CheckCaptionRoom(const TKelLabel& label, const TKelFontEngine& fonts, TProblems& problems);
// A translated caption must simply fit its label.
void CheckCaptionFits(const std::string& owner, const TKelLabel& label, const TKelFontEngine& fonts,
                      TProblems& problems);
// The characters of the text that the font has no glyph for, each once.
std::u32string MissingGlyphs(const std::u32string& text, const TKelFont& font);

// Every window a level names exists and its popups stay on the screen, clear of their cells.
void CheckLevelWindows(TFileFolder& archive, const TKelInterfaceEngine& engine,
                       TProblems& problems);
// Every language file of the folder, laid over the description as the game does it.
void CheckLanguages(const std::filesystem::path& folder, const std::string& description,
                    IKelGraphic& host, TKelFontEngine& fonts, TProblems& problems);
