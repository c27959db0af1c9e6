// The window's input: mouse and keys go to the interface's top window first and then, by the game
// state, to the board or the level map; Enter and Escape are shortcuts of the dialogs; debug keys
// work only in the diagnostic mode.
#include "app/GameEngine.h"
#include "app/SurfaceReport.h"
#include "core/KelException.h"

namespace {

constexpr int F2 = 113, F3 = 114;

}  // namespace

bool TKelGameEngine::InterfaceTakesInput() const {
    // Not while pictures are being loaded.
    return surfaceStore_ != nullptr && !loading_;
}

void TKelGameEngine::FormMouseDown(const TEvent& event) {
    Guarded("Exception error in TKelGameEngine.FormMouseDown", [&] {
        if (InterfaceTakesInput())
            interface_.MouseDown(event.Button, event.Shift, event.X, event.Y);
        BoardMouseDown(event);
    });
}

void TKelGameEngine::FormMouseUp(const TEvent& event) {
    if (!InterfaceTakesInput()) return;
    Guarded("Exception error in TKelGameEngine.FormMouseUp", [&] {
        const TGameState before = play_.Game.State;
        interface_.MouseUp(event.Button, event.Shift, event.X, event.Y);
        if (before == gsBetweenLevels && play_.Game.State == gsBetweenLevels &&
            TopForm() == "WBetweenLevels")
            PickMapLevel();
    });
}

void TKelGameEngine::FormMouseMove(const TEvent& event) {
    if (InterfaceTakesInput()) {
        try {
            interface_.MouseMove(event.Shift, event.X, event.Y);
        } catch (const std::exception&) {
            throw KelException("Error in KelInterfaceEngine.MouseMove!");
        }
    }
    if (play_.Game.State == gsBetweenLevels) play_.Game.HoveredLevel = LevelAtMouse();
    BoardMouseMove(currentTick_);
}

void TKelGameEngine::FormMouseWheel(const TEvent& event) {
    if (play_.Game.State == gsGame || !InterfaceTakesInput()) return;
    bool handled = false;
    interface_.MouseWheel(event.Shift, event.WheelDelta, {event.X, event.Y}, handled);
}

void TKelGameEngine::FormKeyPress(const TEvent& event) {
    if (pressedChar_ != 0 && event.Char == pressedChar_) {
        pressedChar_ = 0;
        return;  // the key pressed a button; the edit of a window it opened does not type it
    }
    if (InterfaceTakesInput()) interface_.KeyPress(char32_t(event.Char));
}

bool TKelGameEngine::BoardTakesKeys() const {
    return play_.Game.State == gsGame && (PlayWindowOnTop() || TutorialPopupOnTop());
}

void TKelGameEngine::FormKeyDown(const TEvent& event) {
    const int key = event.Key;
    pressedChar_ = 0;
    if (key == vk::Escape) {
        CheckPressEscape();
        return;
    }
    // Pause (a pad's Start) opens the game menu in play and closes it again, as Escape does.
    if (key == vk::Pause) {
        if (BoardTakesKeys() || TopForm() == "WGameMenu") CheckPressEscape();
        return;
    }
    if (key == vk::Return && (event.Shift & ssAlt)) {
        CheckPressEnter(event.Shift);
        return;
    }
    // In play the arrows, Space and Delete are the board's; the windows have the other keys.
    const bool board = BoardTakesKeys();
    const bool boardKey =
        board && (key == vk::Space || key == vk::Delete || (key >= vk::Left && key <= vk::Down));
    if (boardKey) {
        PlayKeyDown(key);
        // A player on the keys finds the focus marked in the menu that Escape opens.
        interface_.SetKeyNavigation(true);
    }
    if (options_.Diagnostic() && DebugKey(key, event.Shift)) return;
    const bool taken = !boardKey && InterfaceTakesInput() && interface_.KeyDown(key, event.Shift);
    if (taken && (key == vk::Space || key == vk::Return))
        pressedChar_ = key == vk::Space ? ' ' : '\r';
    // Return on no button is the dialogs' shortcut for their OK.
    if (key == vk::Return && !taken) CheckPressEnter(event.Shift);
}

bool TKelGameEngine::DebugKey(int key, TShiftState shift) {
    TGame& game = play_.Game;
    if (key == F2 && (shift & ssCtrl) && game.State == gsGame) {
        LevelComplete(currentTick_);
    } else if (key == F3) {
        ShowGameComplete();
        game.CurrentLevel = game.SelectedLevel = 41;
        SavePlayerState();
        return true;  // not for the windows
    } else if (key == vk::F9 && surfaceStore_) {
        WriteSurfaceReport(*surfaceStore_, log_);
    }
    return false;
}

void TKelGameEngine::CheckPressEnter(TShiftState shift) {
    Guarded("Exception error in TKelGameEngine.CheckPressEnter!", [&] {
        if (shift & ssAlt) {
            if (play_.Game.State == gsGame) PauseClock();
            ChangeWindowMode();
            return;
        }
        const std::string top = TopForm();
        // A window with a close button (the hint windows) closes on Return as on a click.
        if (top.empty() || interface_.Press(top + "_BClose")) return;
        if (top == "WYourName") {
            ExecMethod("WYourName_BOk_MouseUp");
        } else if (top == "WNewPlayer") {
            ExecMethod("WNewPlayer_BOk_MouseUp");
        } else if (top == "WPlayerExist") {
            interface_.HideTopModal();
        } else if (top == "WRenamePlayer") {
            ExecMethod("WRenamePlayer_BOk_MouseUp");
        }
        // Return stands for the OK button: the scripts its handler queued (the players' list
        // refilled) go, as they go after a click, rather than run at the next input.
        interface_.ClearScriptQueue();
    });
}

void TKelGameEngine::CheckPressEscape() {
    Guarded("Exception error in TKelGameEngine.CheckPressEscape!", [&] {
        const std::string top = TopForm();
        if (top.empty()) return;
        // A tutorial popup belongs to play: Escape opens the menu over it too.
        if (BoardTakesKeys()) {
            ExecMethod("WGame_BMenu_MouseUp");
        } else if (top == "WGameMenu") {
            ExecMethod("WGameMenu_BResume_MouseUp");
            interface_.HideTopModal();
        } else if (top == "WPlayerExist") {
            interface_.HideTopModal();  // its only button closes it
        } else if (!interface_.Press(top + "_BCancel")) {
            // Elsewhere Escape is the window's way back: its Cancel or Close button.
            interface_.Press(top + "_BClose");
        }
    });
}
