#include "app/WindowInput.h"

#include "app/GameWindows.h"
#include "app/OptionsWindow.h"
#include "app/PlayerProfiles.h"
#include "app/SurfaceReport.h"
#include "app/screens/PlaySession.h"
#include "app/screens/ScreenFlow.h"
#include "core/KelException.h"

namespace {

constexpr int F2 = 113, F3 = 114;

}  // namespace

bool TWindowInput::InterfaceTakesInput() const {
    // Not while pictures are being loaded.
    return s_.Surfaces != nullptr && !s_.Loading;
}

void TWindowInput::MouseDown(const TEvent& event) {
    Guarded("Exception error in TKelGameEngine.FormMouseDown", [&] {
        if (InterfaceTakesInput())
            s_.Interface.MouseDown(event.Button, event.Shift, event.X, event.Y);
        if (IScreen* screen = s_.Flow->Current()) screen->HandleEvent(event);
    });
}

void TWindowInput::MouseUp(const TEvent& event) {
    if (!InterfaceTakesInput()) return;
    Guarded("Exception error in TKelGameEngine.FormMouseUp", [&] {
        // The screen has its part of the release only when the windows did not leave it.
        IScreen* before = s_.Flow->Current();
        s_.Interface.MouseUp(event.Button, event.Shift, event.X, event.Y);
        if (before && s_.Flow->Current() == before) before->HandleEvent(event);
    });
}

void TWindowInput::MouseMove(const TEvent& event) {
    if (InterfaceTakesInput()) {
        try {
            s_.Interface.MouseMove(event.Shift, event.X, event.Y);
        } catch (const std::exception&) {
            throw KelException("Error in KelInterfaceEngine.MouseMove!");
        }
    }
    if (IScreen* screen = s_.Flow->Current()) screen->HandleEvent(event);
}

void TWindowInput::MouseWheel(const TEvent& event) {
    if (s_.Play.Game.State == gsGame || !InterfaceTakesInput()) return;
    bool handled = false;
    s_.Interface.MouseWheel(event.Shift, event.WheelDelta, {event.X, event.Y}, handled);
}

void TWindowInput::KeyPress(const TEvent& event) {
    if (pressedChar_ != 0 && event.Char == pressedChar_) {
        pressedChar_ = 0;
        return;  // the key pressed a button; the edit of a window it opened does not type it
    }
    if (InterfaceTakesInput()) s_.Interface.KeyPress(char32_t(event.Char));
}

void TWindowInput::KeyDown(const TEvent& event) {
    const int key = event.Key;
    pressedChar_ = 0;
    if (key == vk::Escape) {
        CheckPressEscape();
        return;
    }
    // Pause (a pad's Start) opens the game menu in play and closes it again, as Escape does.
    if (key == vk::Pause) {
        if (s_.Flow->Play().BoardTakesKeys() || s_.Windows->TopForm() == "WGameMenu")
            CheckPressEscape();
        return;
    }
    if (key == vk::Return && (event.Shift & ssAlt)) {
        CheckPressEnter(event.Shift);
        return;
    }
    // In play the arrows, Space and Delete are the board's; the windows have the other keys.
    const bool board = s_.Flow->Play().BoardTakesKeys();
    const bool boardKey =
        board && (key == vk::Space || key == vk::Delete || (key >= vk::Left && key <= vk::Down));
    if (boardKey) {
        s_.Flow->Play().HandleEvent(event);
        // A player on the keys finds the focus marked in the menu that Escape opens.
        s_.Interface.SetKeyNavigation(true);
    }
    if (s_.Options.Diagnostic() && DebugKey(key, event.Shift)) return;
    const bool taken = !boardKey && InterfaceTakesInput() && s_.Interface.KeyDown(key, event.Shift);
    if (taken && (key == vk::Space || key == vk::Return))
        pressedChar_ = key == vk::Space ? ' ' : '\r';
    // Return on no button is the dialogs' shortcut for their OK.
    if (key == vk::Return && !taken) CheckPressEnter(event.Shift);
}

bool TWindowInput::DebugKey(int key, TShiftState shift) {
    TGame& game = s_.Play.Game;
    if (key == F2 && (shift & ssCtrl) && game.State == gsGame) {
        s_.Flow->Play().LevelComplete(s_.Now);
    } else if (key == F3) {
        s_.Flow->ShowGameComplete();
        game.CurrentLevel = game.SelectedLevel = 41;
        s_.Players->SavePlayerState();
        return true;  // not for the windows
    } else if (key == vk::F9 && s_.Surfaces) {
        WriteSurfaceReport(*s_.Surfaces, s_.Log);
    }
    return false;
}

void TWindowInput::CheckPressEnter(TShiftState shift) {
    Guarded("Exception error in TKelGameEngine.CheckPressEnter!", [&] {
        if (shift & ssAlt) {
            if (s_.Play.Game.State == gsGame) s_.Flow->PauseClock();
            s_.OptionsWindow->ChangeWindowMode();
            return;
        }
        const std::string top = s_.Windows->TopForm();
        // A window with a close button (the hint windows) closes on Return as on a click.
        if (top.empty() || s_.Interface.Press(top + "_BClose")) return;
        if (top == "WYourName") {
            s_.Handlers.Exec("WYourName_BOk_MouseUp");
        } else if (top == "WNewPlayer") {
            s_.Handlers.Exec("WNewPlayer_BOk_MouseUp");
        } else if (top == "WPlayerExist") {
            s_.Interface.HideTopModal();
        } else if (top == "WRenamePlayer") {
            s_.Handlers.Exec("WRenamePlayer_BOk_MouseUp");
        }
        // Return stands for the OK button: the scripts its handler queued (the players' list
        // refilled) go, as they go after a click, rather than run at the next input.
        s_.Interface.ClearScriptQueue();
    });
}

void TWindowInput::CheckPressEscape() {
    Guarded("Exception error in TKelGameEngine.CheckPressEscape!", [&] {
        const std::string top = s_.Windows->TopForm();
        if (top.empty()) return;
        // A tutorial popup belongs to play: Escape opens the menu over it too.
        if (s_.Flow->Play().BoardTakesKeys()) {
            s_.Handlers.Exec("WGame_BMenu_MouseUp");
        } else if (top == "WGameMenu") {
            s_.Handlers.Exec("WGameMenu_BResume_MouseUp");
            s_.Interface.HideTopModal();
        } else if (top == "WPlayerExist") {
            s_.Interface.HideTopModal();  // its only button closes it
        } else if (!s_.Interface.Press(top + "_BCancel")) {
            // Elsewhere Escape is the window's way back: its Cancel or Close button.
            s_.Interface.Press(top + "_BClose");
        }
    });
}
