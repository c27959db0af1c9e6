// The game object's board input and play timers: mouse clicks and moves over the board and the
// keyboard cursor, handed to the rules with the clock where the last pass left it, and the two
// play timers of every pass.
#include <algorithm>

#include "app/GameEngine.h"
#include "app/TutorialArrow.h"
#include "core/KelException.h"

namespace {

// The area the mouse finds cells in; points outside clear the hover state.
constexpr TRect MouseBoardArea{2, 8, 847, 665};
// What a click on the board redraws.
constexpr TRect ClickRedrawArea{2, 8, 799, 599};

bool Inside(TPoint point, const TRect& rect) {
    return point.X >= rect.Left && point.X <= rect.Right && point.Y >= rect.Top &&
           point.Y <= rect.Bottom;
}

}  // namespace

void TKelGameEngine::BoardMouseDown(const TEvent& event) {
    TGame& game = play_.Game;
    if (game.State != gsGame || play_.Level.LevelDone) return;
    if (event.Button == TMouseButton::mbLeft) {
        LeftMouseDownInGamePlayBox({event.X, event.Y});
        if (game.KeyCursorTime > 0) game.KeyCursorTime = -1;  // a click hides the cursor
    } else if (event.Button == TMouseButton::mbRight && PlayWindowOnTop()) {
        rules_.RightMouseDownInGamePlay(FoundMoouseOverFish({event.X, event.Y}), currentTick_);
        game.SelectedCell = TCell{};
        redrawGrid_.FillRect(ClickRedrawArea);
    }
}

void TKelGameEngine::LeftMouseDownInGamePlayBox(TPoint point) {
    if (!Inside(point, MouseBoardArea) || play_.Level.LevelDone) return;
    const TCell cell = FoundMoouseOverFish(point);
    // Under another window the board takes only the click that closes the tutorial popup
    // pointing at this cell.
    bool takes = PlayWindowOnTop();
    if (!takes) {
        const std::string top = TopForm();
        takes = rules_.PopupScriptRightClick(cell, top);
        if (takes) interface_.HideModal(top);
    }
    if (takes) {
        const bool object = play_.Level.Board.CellExists(cell.Col, cell.Row) &&
                            play_.Level.Board.Cell(cell.Col, cell.Row).Kind >= fkScarab0 &&
                            play_.Level.Board.Cell(cell.Col, cell.Row).Kind <= fkPyramid;
        rules_.ClickOnCell(cell, currentTick_);
        if (object) return;  // objects redraw what they change themselves
    }
    redrawGrid_.FillRect(ClickRedrawArea);
}

void TKelGameEngine::BoardMouseMove(uint32_t now) {
    if (play_.Game.State != gsGame) return;
    Guarded(
        [this] {
            return "Exception error in TKelGameEngine.MouseMove! " +
                   std::to_string(int(play_.Game.State));
        },
        [&] {
            TGame& game = play_.Game;
            if (!Inside(mousePos_, MouseBoardArea)) {
                game.HoverCell = TCell{};
                game.HoverStart = 0;
                game.PreviewGroup.clear();
                return;
            }
            const TCell cell = FoundMoouseOverFish(mousePos_);
            if (cell == game.HoverCell) return;
            rules_.HoverUpdate(cell, now);
            redrawGrid_.FillRect(MouseBoardArea);
        });
}

void TKelGameEngine::PlayKeyDown(int key) {
    TGame& game = play_.Game;
    TCell& cursor = game.KeyCursor;
    const TCell before = cursor;
    switch (key) {
        case vk::Left:
            cursor.Col = cursor.Col > 1 ? cursor.Col - 1 : cursor.Col;
            break;
        case vk::Right:
            cursor.Col = cursor.Col < BoardColumns ? cursor.Col + 1 : cursor.Col;
            break;
        case vk::Up:
            cursor.Row = cursor.Row > 1 ? cursor.Row - 1 : cursor.Row;
            break;
        case vk::Down:
            cursor.Row = cursor.Row < BoardRows ? cursor.Row + 1 : cursor.Row;
            break;
        case vk::Space:
            if (game.KeyCursorTime <= 0) return;
            PressSpaceInGamePlay();
            game.KeyCursorTime = int32_t(currentTick_);
            MarkWholeScreen();
            return;
        case vk::Delete:
            game.SelectedCell = TCell{};
            MarkWholeScreen();
            return;
        default:
            return;
    }
    if (!(cursor == before))
        Guarded("Exception error in TKelGameEngine.!",
                [&] { rules_.HoverUpdate(cursor, currentTick_); });
    game.KeyCursorTime = int32_t(currentTick_);
    MarkWholeScreen();
}

void TKelGameEngine::PressSpaceInGamePlay() {
    if (play_.Level.LevelDone) return;
    // Under a tutorial popup Space acts as a click does: only on the cell the popup names, which
    // closes it.
    bool takes = PlayWindowOnTop();
    if (!takes && TutorialPopupOnTop()) {
        const std::string top = TopForm();
        takes = rules_.PopupScriptRightClick(play_.Game.KeyCursor, top);
        if (takes) interface_.HideModal(top);
    }
    if (takes) rules_.PressSpaceInGamePlay(currentTick_);
    redrawGrid_.FillRect(ClickRedrawArea);
}

void TKelGameEngine::TickPlayTimers(uint32_t now) {
    const int32_t dt = int32_t(std::max<int64_t>(0, int64_t(now) - int64_t(previousTick_)));
    // The Pharaoh's mood changes only while the play window is on top, never under a popup.
    rules_.TickGamePlayTimer(now, PlayWindowOnTop());
    ShowTutorialPopup(now);
    rules_.TickBoxMovePiecesTimer(now, dt);
}

void TKelGameEngine::ShowTutorialPopup(uint32_t now) {
    const TPopupWindow* popup = rules_.PopupToShow(now);
    if (!popup || interface_.Shown(popup->Name)) return;
    const auto* window =
        dynamic_cast<const TKelInterfaceObject*>(interface_.FindObject(popup->Name));
    if (!window) return;
    const TTutorialLayout layout =
        LayOutTutorialPopup({popup->Col, popup->Row}, window->Width(), window->Height());
    interface_.SetProperty(popup->Name, "Left", std::to_string(layout.Window.X));
    interface_.SetProperty(popup->Name, "Top", std::to_string(layout.Window.Y));
    interface_.ShowModal(popup->Name);
}

std::optional<TShownTutorialPopup> TKelGameEngine::ShownTutorialPopup() const {
    const std::vector<TPopupWindow>& popups = play_.Level.PopupWindows;
    if (popups.empty() || !interface_.Shown(popups.back().Name)) return std::nullopt;
    const TPopupWindow& popup = popups.back();
    const auto* window =
        dynamic_cast<const TKelInterfaceObject*>(interface_.FindObject(popup.Name));
    if (!window) return std::nullopt;
    const TCell cell{popup.Col, popup.Row};
    // The layout that placed the popup says where its arrow points.
    const bool up = LayOutTutorialPopup(cell, window->Width(), window->Height()).ArrowUp;
    return TShownTutorialPopup{popup.Name, cell, up, TutorialArrowTip(cell, up, currentTick_)};
}
