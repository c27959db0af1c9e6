// The instructions' handlers and drawing: their examples run while they are shown; Play starts
// the level (with its hint window when hints are on), OK goes back to the game menu.
#include "app/screens/InstructionsScreen.h"

#include "app/FrameParts.h"
#include "app/GameWindows.h"
#include "app/PlayerProfiles.h"
#include "app/screens/ScreenFlow.h"

void TInstructionsScreen::Draw() {
    DrawBackgroundByGrid(s_);
    s_.Interface.DrawAll();
    DrawKelScreenEffects(s_.Canvas(), "MemorySurface", s_.ScreenEffects);
    DrawCursor(s_);
}

void TInstructionsScreen::RegisterHandlers() {
    THandlers& h = s_.Handlers;
    TGame& game = s_.Play.Game;
    h.Register("WInstructions_TFPlay_BPlay_MouseUp", [this, &game] {
        s_.Instructions->StopInstructionEffects();
        s_.Flow->Show(gsGame);
        s_.Screen->DrawGameStateBackground();
        const std::string& hint = s_.Play.Level.HintWindow;
        if (!hint.empty() && game.ShowHints) {
            s_.Interface.ShowModal(hint);
            s_.Sounds.ScheduleSoundEvent("HintAppear", -1, s_.Now);
        }
    });
    h.Register("WInstructions_TFOk_BOk_MouseUp", [this, &game] {
        s_.Instructions->StopInstructionEffects();
        s_.Flow->Show(gsPause);
        s_.Screen->DrawGameStateBackground();
    });
    h.Register("WInstructions_TFPage1_BPage2_MouseUp", [this] {
        s_.Instructions->StopInstructionEffects();
        s_.Instructions->StartInstructionEffects();
    });
    h.Register("WInstructions_CBINstructionsOff_MouseUp", [this, &game] {
        game.ShowInstructions = !s_.Windows->Checked("WInstructions_CBInstructionsOff");
        s_.Players->SavePlayerState();
    });
}
