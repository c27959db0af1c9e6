// The game object's level set-up: loading a level description onto the board with its objects,
// effects, sounds and pictures, starting a new game, clearing the level, and naming the picture
// of each cell.
#include <algorithm>

#include "app/FishPictures.h"
#include "app/GameEngine.h"
#include "resources/ArchiveXml.h"

namespace {

// The ambient effects of a level are drawn inside this rectangle, clear of the screen's frame.
constexpr TRect LevelEffectBounds{5, 30, 794, 595};

void AddOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

}  // namespace

TEffectSources TKelGameEngine::EffectSources() {
    return TEffectSources{*Archive, SurfaceStore.get(), FontEngine.get(), &Random,
                          [this](const std::string& line) { Log.WriteLog(line); }};
}

std::shared_ptr<TKelParticleEffect> TKelGameEngine::CreateCellEffect(const std::string& file) {
    std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(*Archive, file, &Random);
    if (!effect) {
        Log.WriteLog("Can not find file name " + file + " in GameFolder");
        return nullptr;
    }
    StartEffect(*effect, CurrentTick);
    return effect;
}

void TKelGameEngine::MakeFishSurfName(int col, int row) {
    try {
        TFish& fish = Level.Board.Cell(col, row);
        if (fish.Kind >= fkScarab0 && fish.Kind <= fkPyramid) {
            const bool scarab = fish.Kind <= fkScarab300;
            fish.SurfName = scarab ? ScarabPictureName(fish.Kind) : "";
            if (fish.JumpBall) {
                fish.JumpBall = false;
                fish.Effect.reset();
            }
            if (!scarab && !fish.Effect)
                fish.Effect = CreateCellEffect(ObjectEffectFile(fish.Kind));
            fish.Extras = 0;
        } else if (fish.Type >= 0 && size_t(fish.Type) < FishkaTypes.size()) {
            const TFishkaType& type = FishkaTypes[size_t(fish.Type)];
            int mask = 0;
            for (int i = 1; i <= type.PieceCount; ++i)
                if (fish.Has[size_t(i)]) mask += 1 << (i - 1);
            fish.SurfName = FishPictureName(type, mask, fish.Color);
            if (fish.Kind == fkGhost) fish.SurfName.back() = 'G';
        } else {
            fish.SurfName.clear();  // an empty cell shows nothing
        }
        const TPoint size = SurfaceStore->GetSurfaceSize(fish.SurfName);
        fish.PicWidth = size.X;
        fish.PicHeight = size.Y;
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.MakeFishSurfName!");
    }
}

void TKelGameEngine::ClearLevel() {
    Game.SelectedCell = Game.HoverCell = TCell{};
    Game.PreviewGroup.clear();
    ::ClearLevel(Level);
    // Freed, not ended: no end callback runs.
    ScreenEffects.clear();
    LevelEffectsList.clear();
    BackgroundList.clear();
    SoundEvents.SoundEffects.clear();
    Game.SmartCount = 0;
    Game.MoveMade = false;
    Game.Mood = StartMood;
    Game.MoodState = StartMoodState;
}

bool TKelGameEngine::LoadPuzzleLevelFromXML(const std::string& entryName, int /*flag*/) {
    if (!Archive->FindFile(entryName)) return true;
    try {
        TKelParser document;
        LoadXmlEntry(*Archive, entryName, document);
        std::vector<std::string> oldList = BackgroundList;
        ClearLevel();
        const TLevelSetUp setUp =
            ReadPuzzleLevel(document, entryName, FishkaTypes, Game.ShowHints, Level);
        BackgroundList = setUp.BackgroundList;
        for (const TCell& cell : setUp.Scarabs) MakeFishSurfName(cell.Col, cell.Row);
        for (const TCell& cell : setUp.Cobras)
            Level.Board.Cell(cell.Col, cell.Row).Effect =
                CreateCellEffect(ObjectEffectFile(fkCobra));
        for (const TCell& cell : setUp.Pyramids)
            Level.Board.Cell(cell.Col, cell.Row).Effect =
                CreateCellEffect(ObjectEffectFile(fkPyramid));
        // The random filling of the board comes here once the play timers exist; until then the
        // board holds the fixed pieces only.
        PutFishes(Level.Board, setUp.PutFishes);
        for (const TPutFish& piece : setUp.PutFishes) {
            TFish& fish = Level.Board.Cell(piece.Cell.Col, piece.Cell.Row);
            if (piece.Jump) fish.Effect = CreateCellEffect(JumpBallEffectFile);
            MakeFishSurfName(piece.Cell.Col, piece.Cell.Row);
        }
        GiveObjectsAType(Level.Board);
        SetUpLevelEffects(setUp, entryName);
        LoadLevelPictures(std::move(oldList));
        // The score and level labels of the play window are updated here once the interface
        // exists. The archive is opened again to give back the memory of the entries read.
        Archive = std::make_unique<TFileFolder>(TFileFolder::Open(WorkingArchivePath()));
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!");
    }
    return true;
}

void TKelGameEngine::SetUpLevelEffects(const TLevelSetUp& setUp, const std::string& entryName) {
    try {
        for (const TLevelEffectSpec& effect : setUp.Effects) {
            try {
                const size_t before = LevelEffectsList.size();
                CreateKelEffectFromFile(LevelEffectsList, EffectSources(),
                                        {.Name = effect.Name,
                                         .File = effect.Filename,
                                         .X = effect.Position.X,
                                         .Y = effect.Position.Y,
                                         .Bounds = LevelEffectBounds,
                                         .Flag = effect.Scrollable,
                                         .Active = effect.Visible,
                                         .RepeatDelay = effect.Period},
                                        CurrentTick);
                if (LevelEffectsList.size() > before && LevelEffectsList.back().Effect)
                    for (const std::string& picture :
                         EffectPictures(*LevelEffectsList.back().Effect))
                        AddOnce(BackgroundList, picture);
            } catch (const std::exception&) {
                throw KelException("Error in LevelEffects tag in " + entryName);
            }
        }
        for (const TLevelSoundSpec& sound : setUp.Sounds)
            SoundEvents.AddSoundEffect(sound.Name, 100, -1, true, sound.Period, sound.WorkPeriod,
                                       sound.PausePeriod, CurrentTick);
    } catch (const std::exception&) {
        throw KelException("LevelEffects tag error!");
    }
}

void TKelGameEngine::LoadLevelPictures(std::vector<std::string> oldList) {
    SurfaceStore->LoadPictureList(*Archive, BackgroundList);
    for (const std::string& name : oldList)
        if (std::find(BackgroundList.begin(), BackgroundList.end(), name) == BackgroundList.end() &&
            std::find(PermanentPictures.begin(), PermanentPictures.end(), name) ==
                PermanentPictures.end())
            SurfaceStore->DeleteSurface(name);
}

void TKelGameEngine::MakeColorFishesSurfaces() {
    ::MakeColorFishesSurfaces(*SurfaceStore, *Archive, FishkaTypes, Level.LevelFishes);
    SurfaceStore->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
    RedrawRects = {ScreenRect};
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) MakeFishSurfName(col, row);
}

void TKelGameEngine::ChangeGameState(const std::string& name) {
    if (name == "gsLoading") {
        SoundEvents.ChangeMusic(Level.LevelMusic, 1000, 1000, 0, 0);
        MakeColorFishesSurfaces();
        Game.State = gsGame;
        // The play window, the state's background and saving the player join here with the
        // interface and the players file.
        RedrawRects = {ScreenRect};
    }
}

void TKelGameEngine::StartFirstLevel() {
    try {
        Game.Score = Game.PrevScore = 0;
        Game.CurrentLevel = Game.SelectedLevel = 1;
        SurfaceStore->LoadPictureList(*Archive, {"Back1.jpg"});
        BackgroundList.push_back("Back1.jpg");
        SurfaceStore->DrawSurface("Back1.jpg", "Background", 0, 0, nullptr);
        LoadPuzzleLevelFromXML(PuzzleLevelName(1), 1);
        ChangeGameState("gsLoading");
        // The instructions window and its animated examples are shown here once the interface
        // exists.
        if (Game.ShowInstructions) Game.State = gsInstructions;
        Game.LevelStartTime = platform_.System.Ticks();
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.StartFirstLevel!");
    }
}
