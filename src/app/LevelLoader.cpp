// Loading levels onto the play state with their effects, sounds and pictures, starting a new
// game and clearing the level.
#include "app/LevelLoader.h"

#include <algorithm>

#include "app/FishPictures.h"
#include "core/CoreError.h"
#include "core/KelException.h"
#include "resources/ArchiveXml.h"

namespace {

// The ambient effects of a level are drawn inside this rectangle, clear of the screen's frame.
constexpr TRect LevelEffectBounds{5, 30, 794, 595};

bool Contains(const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
}

void AddOnce(std::vector<std::string>& list, const std::string& name) {
    if (!Contains(list, name)) list.push_back(name);
}

}  // namespace

TEffectSources TLevelLoader::EffectSources() {
    return TEffectSources{*links_.Archive, links_.SurfaceStore.get(), links_.FontEngine.get(),
                          &links_.Random,
                          [this](const std::string& line) { links_.Log.WriteLog(line); }};
}

void TLevelLoader::ClearLevel() {
    ClearPlayState(links_.Play);
    links_.View.Clear();
    // Freed, not ended: no end callback runs.
    links_.ScreenEffects.clear();
    links_.LevelEffects.clear();
    BackgroundList.clear();
    links_.SoundEvents.SoundEffects.clear();
}

bool TLevelLoader::LoadPuzzleLevelFromXML(const std::string& entryName, uint32_t now) {
    if (!links_.Archive->FindFile(entryName)) return true;
    Guarded("Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!", [&] {
        TKelParser document;
        LoadXmlEntry(*links_.Archive, entryName, document);
        // Refused before anything is cleared, so the running level stays as it was.
        if (!document.GetTag(0)) throw TKelCoreError(entryName + "XML file does not has tags!");
        const std::vector<std::string> oldList = BackgroundList;
        ClearLevel();
        TPlayState& play = links_.Play;
        const TLevelSetUp setUp =
            ReadPuzzleLevel(document, entryName, links_.Types, play.Game.ShowHints, play.Level);
        BackgroundList = setUp.BackgroundList;
        // Fixed pieces of pairs the level never generates still need their pictures.
        LevelPairs = play.Level.LevelFishes;
        for (const TPutFish& piece : setUp.PutFishes)
            if (std::find(LevelPairs.begin(), LevelPairs.end(), piece.Fish) == LevelPairs.end())
                LevelPairs.push_back(piece.Fish);
        links_.FillBoard();  // before the fixed pieces, which replace what fell there
        links_.Presenter.Apply(PlaceLevelObjects(play, setUp, now), now);
        SetUpLevelEffects(setUp, entryName, now);
        links_.LoadProgress(50);
        LoadLevelPictures(oldList);
        links_.LoadProgress(100);
        links_.ReopenArchive();
    });
    return true;
}

void TLevelLoader::SetUpLevelEffects(const TLevelSetUp& setUp, const std::string& entryName,
                                     uint32_t now) {
    Guarded("LevelEffects tag error!", [&] {
        for (const TLevelEffectSpec& effect : setUp.Effects) {
            Guarded("Error in LevelEffects tag in " + entryName, [&] {
                const size_t before = links_.LevelEffects.size();
                CreateKelEffectFromFile(links_.LevelEffects, EffectSources(),
                                        {.Name = effect.Name,
                                         .File = effect.Filename,
                                         .X = effect.Position.X,
                                         .Y = effect.Position.Y,
                                         .Bounds = LevelEffectBounds,
                                         .Flag = effect.Scrollable,
                                         .Active = effect.Visible,
                                         .RepeatDelay = effect.Period},
                                        now);
                if (links_.LevelEffects.size() > before && links_.LevelEffects.back().Effect)
                    for (const std::string& picture :
                         EffectPictures(*links_.LevelEffects.back().Effect))
                        AddOnce(BackgroundList, picture);
            });
        }
        for (const TLevelSoundSpec& sound : setUp.Sounds)
            links_.SoundEvents.AddSoundEffect(sound.Name, 100, -1, true, sound.Period,
                                              sound.WorkPeriod, sound.PausePeriod, now);
    });
}

void TLevelLoader::LoadLevelPictures(const std::vector<std::string>& oldList) {
    links_.SurfaceStore->LoadPictureList(*links_.Archive, BackgroundList);
    for (const std::string& name : oldList)
        if (!Contains(BackgroundList, name) && !Contains(links_.PermanentPictures, name))
            links_.SurfaceStore->DeleteSurface(name);
}

void TLevelLoader::MakeColorFishesSurfaces(uint32_t now) {
    TSurfEngine& store = *links_.SurfaceStore;
    BuildColorFishPictures(store, *links_.Archive, links_.Types, LevelPairs);
    store.DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
    links_.Redraw.Fill(2);
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) links_.Presenter.NameCellPicture(col, row, now);
}

void TLevelLoader::StartFirstLevel(uint32_t now) {
    StartGameAt(1, PuzzleLevelName(1), now);
}

void TLevelLoader::StartGameAt(int32_t level, const std::string& entryName, uint32_t now) {
    Guarded("Exception error in TKelGameEngine.StartFirstLevel!", [&] {
        TGame& game = links_.Play.Game;
        game.Score = game.PrevScore = 0;
        game.CurrentLevel = game.SelectedLevel = level;
        links_.SurfaceStore->LoadPictureList(*links_.Archive, {"Back1.jpg"});
        BackgroundList.push_back("Back1.jpg");
        links_.SurfaceStore->DrawSurface("Back1.jpg", "Background", 0, 0, nullptr);
        links_.LoadProgress(0);
        LoadPuzzleLevelFromXML(entryName, now);
        links_.ChangeGameState("gsLoading");
        if (game.ShowInstructions) {
            game.State = gsInstructions;
            links_.ShowInstructions();
        }
        game.LevelStartTime = now;
    });
}
