// The windows the levels name: hint windows and tutorial popups.
#include <string>
#include <vector>

#include "check/CheckData.h"
#include "core/KelException.h"
#include "core/KelParserText.h"
#include "resources/ArchiveXml.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "ui/KelInterfaceEngine.h"

// The windows a level shows by name: its hint window and its tutorial popups, each with the cell
// it points at.
struct TLevelWindows {
    std::string Level, HintWindow;
    std::vector<TPopupWindow> Popups;
};

static std::vector<TLevelWindows> LevelWindows(TFileFolder& archive) {
    std::vector<TLevelWindows> levels;
    const TFishkaTypes types = PieceTypes(archive);
    for (int n = 1;; ++n) {
        TKelParser document;
        if (!LoadXmlEntry(archive, PuzzleLevelName(n), document)) break;
        TLevel level;
        try {
            ReadPuzzleLevel(document, PuzzleLevelName(n), types, true, level);
        } catch (const KelException&) {
            continue;  // the levels check reports it
        }
        levels.push_back({PuzzleLevelName(n), level.HintWindow, level.PopupWindows});
    }
    return levels;
}

static bool Overlap(const TRect& a, const TRect& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

// Every window a level names exists; a popup, placed by the game above its cell (its arrow
// points down at it), stays on the screen and leaves the cell free to click.
void CheckLevelWindows(TFileFolder& archive, const TKelInterfaceEngine& engine,
                       TProblems& problems) {
    const TRect screen{0, 0, ScreenWidth - 1, ScreenHeight - 1};
    for (const TLevelWindows& level : LevelWindows(archive)) {
        if (!level.HintWindow.empty() &&
            !dynamic_cast<const TKelForm*>(engine.FindObject(level.HintWindow)))
            problems.push_back(level.Level + ": its hint window " + level.HintWindow +
                               " is not in " + InterfaceEntry);
        for (const TPopupWindow& popup : level.Popups) {
            const auto* window = dynamic_cast<const TKelForm*>(engine.FindObject(popup.Name));
            const std::string cell =
                "(" + std::to_string(popup.Col) + ", " + std::to_string(popup.Row) + ")";
            if (!window) {
                problems.push_back(level.Level + ": its popup " + popup.Name + " is not in " +
                                   InterfaceEntry);
                continue;
            }
            const int left = popup.Col * 65 - 143;
            const int top = popup.Row * 73 - (popup.Col % 2 ? 36 : 0) - 224;
            const TRect placed{left, top, left + window->Width() - 1, top + window->Height() - 1};
            if (!Inside(placed, screen))
                problems.push_back(level.Level + ": the popup " + popup.Name + " for cell " + cell +
                                   " leaves the screen; point it at another cell");
            else if (Overlap(placed, CellBox(popup.Col, popup.Row)))
                problems.push_back(level.Level + ": the popup " + popup.Name + " covers its cell " +
                                   cell + "; point it at a cell lower on the board");
        }
    }
}
