// TLevelLoader: the level set-up of the game. It loads a level description from the archive onto
// the play state (board, objects, fixed pieces) and sets up what the screen and sound need for
// it (cell pictures and effects, ambient effects and sounds, the pictures kept, loaded and
// released between levels); it starts a new game, clears the level and builds the level's piece
// pictures when play begins. The clock comes from the caller as "now". Relies on the archive,
// the surface store, the font engine, the random source, the run log, sound events, the effect
// lists, the play state, the board view and its presenter, the piece types and the permanent
// pictures of the game object.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardPresenter.h"
#include "app/BoardView.h"
#include "app/GameScreen.h"
#include "app/Log.h"
#include "app/RedrawGrid.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "rules/FishkaTypes.h"
#include "rules/PlayState.h"

struct TLevelLoaderLinks {
    // The game object's archive, surface store and font engine, which it creates and replaces.
    std::unique_ptr<TFileFolder>& Archive;
    // Opens the working archive again, giving back the memory of the entries read.
    std::function<void()> ReopenArchive;
    std::unique_ptr<TSurfEngine>& SurfaceStore;
    std::unique_ptr<TKelFontEngine>& FontEngine;
    IRandom& Random;
    TGameLog& Log;
    TSoundEvents& SoundEvents;
    TScreenEffects& ScreenEffects;
    TScreenEffects& LevelEffects;  // the level's ambient effects
    TPlayState& Play;
    TBoardView& View;
    TBoardPresenter& Presenter;
    TGameScreen& Screen;
    TFishkaTypes& Types;
    // The pictures of "surfaces.dat": never released between levels.
    const std::vector<std::string>& PermanentPictures;
    TRedrawGrid& Redraw;
    // Fills every cell of the board with new fishkas falling in.
    std::function<void()> FillBoard;
    // The game object's side of starting a game: the level-loading window at a percentage, the
    // named state change once level 1 is loaded, and the instructions window with its examples.
    std::function<void(int)> LoadProgress;
    std::function<void(const std::string&)> ChangeGameState;
    std::function<void()> ShowInstructions;
};

class TLevelLoader {
  public:
    explicit TLevelLoader(TLevelLoaderLinks links) : links_(std::move(links)) {}

    // Sets up the level of an archive entry: board, objects, fixed pieces, ambient effects and
    // sounds, and the pictures it needs (those of the previous level that it does not need are
    // released); the archive is opened again afterwards. A missing entry changes nothing; an
    // entry without elements raises before anything is cleared. Answers true. Errors raise
    // KelException "Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!".
    bool LoadPuzzleLevelFromXML(const std::string& entryName, uint32_t now);
    // A new game: score 0, level 1 loaded and the play state entered at `now`.
    void StartFirstLevel(uint32_t now);
    // A new game started as on level 1, but on level `level` read from the archive entry
    // `entryName` (the authors' tools set up any level this way).
    void StartGameAt(int32_t level, const std::string& entryName, uint32_t now);
    // Resets the play state, the board view, the effect lists, the pictures list and the timed
    // sounds.
    void ClearLevel();
    // Builds the coloured pictures of the level's pieces, shows the background and names every
    // cell's picture.
    void MakeColorFishesSurfaces(uint32_t now);

    // The pictures the current level needs; the previous level's others are released.
    std::vector<std::string> BackgroundList;
    // The (type, colour) pairs whose pictures the level needs: its list of new fishkas and its
    // fixed pieces, each pair once.
    std::vector<TFishSpec> LevelPairs;

  private:
    TEffectSources EffectSources();
    void SetUpLevelEffects(const TLevelSetUp& setUp, const std::string& entryName, uint32_t now);
    void LoadLevelPictures(const std::vector<std::string>& oldList);

    TLevelLoaderLinks links_;
};
