// TGameServices: what the parts of the game share, owned by the game object and lent to the
// screens and the concerns: the platform, the folders and options, the log, the archive, the
// surface store and fonts, the sound events, the random sources, the clock of the pass and the
// mouse, the redraw grid, the game's descriptions, the play state and the objects that show it,
// the interface engine with its published handlers, and the concerns every screen calls on
// (players, high scores, options window, language, user files, windows, host drawing, flow).
// Relies on the platform interfaces and the engines of the layers below.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardPresenter.h"
#include "app/BoardView.h"
#include "app/EffectDrawing.h"
#include "app/FrameRate.h"
#include "app/GameFolders.h"
#include "app/GameScreen.h"
#include "app/GlobalEffects.h"
#include "app/InstructionEffects.h"
#include "app/LevelLoader.h"
#include "app/Log.h"
#include "app/Options.h"
#include "app/PlayScreen.h"
#include "app/RedrawGrid.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "platform/Platform.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "rules/PlayRules.h"
#include "rules/PlayState.h"
#include "ui/KelInterfaceEngine.h"

class TPlayerProfiles;
class THighScoreBoard;
class TOptionsWindow;
class TLanguageChoice;
class TUserFiles;
class TGameWindows;
class TScreenFlow;

// The system clipboard lent to the interface's edits.
class TGameClipboard : public IKelClipboard {
  public:
    explicit TGameClipboard(ISystem& system) : system_(system) {}
    std::string Text() override { return system_.ClipboardText(); }
    void SetText(const std::string& text) override { system_.SetClipboardText(text); }

  private:
    ISystem& system_;
};

// The published handlers, by the names the interface description's scripts call with
// "ExecMethod"; each screen registers those of its own windows.
class THandlers {
  public:
    explicit THandlers(TKelInterfaceEngine& ui) : ui_(ui) {}
    void Register(const std::string& name, std::function<void()> body);
    // Runs the handler; false when no handler has that name.
    bool Exec(const std::string& name);
    bool Has(const std::string& name) const { return handlers_.count(name) > 0; }

  private:
    TKelInterfaceEngine& ui_;
    std::map<std::string, std::function<void()>> handlers_;
};

struct TGameServices {
    TGameServices(::Platform& platform, TGameFolders folders);
    TGameServices(const TGameServices&) = delete;
    TGameServices& operator=(const TGameServices&) = delete;
    ~TGameServices();

    std::string UserPath(const std::string& name) const;
    std::string WorkingArchivePath() const;
    // Opening the working archive again gives back the memory of the entries read so far.
    void ReopenArchive();
    void MarkWholeScreen() { Redraw.Fill(2); }
    TEffectSources EffectSources();
    // The effect drawing's view of the frame of this pass.
    TEffectCanvas Canvas() { return {*Surfaces, Fonts.get(), Redraw, Now}; }

    const std::string AppName = "Tervolin";
    ::Platform& Os;
    TGameFolders Folders;
    TGameOptions Options;
    TGameLog Log;
    std::unique_ptr<TFileFolder> Archive;
    std::unique_ptr<TSurfEngine> Surfaces;
    TSoundEvents Sounds;
    std::unique_ptr<TKelFontEngine> Fonts;
    // Randomness of the effects and the rules, seeded by the platform at start-up; the rules
    // have their own so a game replays from its seed whatever the effects draw.
    TKelRandom Random, PlayRandom;

    // The clock of the pass and the one before, and the mouse now and at the last frame.
    uint32_t Now = 0, PreviousTick = 0;
    TPoint MousePos, PrevMousePos;
    // Pictures are being loaded: the windows take no input.
    bool Loading = false;
    // The next pass closes the window.
    bool CloseRequested = false;
    // Start-up has finished: the game is shown and takes the player's input.
    bool StartedUp = false;

    TFrameRate FrameRate;
    TRedrawGrid Redraw;
    // The pictures listed in "surfaces.dat": loaded at start-up, never released between levels.
    std::vector<std::string> PermanentPictures;
    TGameParams Params;
    std::vector<TPathPoint> PathPoints;
    TFishkaTypes Types;
    // What the puzzle decides: the level with its board, and the game record.
    TPlayState Play;
    // How the board looks: cell pictures and effects, the hover state.
    TBoardView View;
    // Running effect instances: over the screen, and the level's ambient ones under the board.
    TScreenEffects ScreenEffects, LevelEffects;
    TGlobalEffects GlobalEffects;
    TKelInterfaceEngine Interface;
    TGameClipboard Clipboard;
    THandlers Handlers{Interface};

    // Set up by the game object once the concerns exist (they need the services first).
    std::unique_ptr<TBoardPresenter> Presenter;
    std::unique_ptr<TGameScreen> Screen;
    std::unique_ptr<TPlayScreen> PlayScreen;
    std::unique_ptr<TPlayRules> Rules;
    std::unique_ptr<TLevelLoader> Levels;
    std::unique_ptr<TInstructionEffects> Instructions;
    std::unique_ptr<TUserFiles> Files;
    std::unique_ptr<TPlayerProfiles> Players;
    std::unique_ptr<THighScoreBoard> HighScores;
    std::unique_ptr<TOptionsWindow> OptionsWindow;
    std::unique_ptr<TLanguageChoice> Language;
    std::unique_ptr<TGameWindows> Windows;
    std::unique_ptr<TScreenFlow> Flow;
};
