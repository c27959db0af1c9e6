// The game object's level set-up: loading a level description onto the board with its objects,
// effects, sounds and pictures, starting a new game, clearing the level, and naming the picture
// of each cell.
#include <algorithm>

#include "app/FishPictures.h"
#include "app/GameEngine.h"
#include "resources/ArchiveXml.h"

namespace {

// The ambient effects of a level are drawn inside this rectangle, clear of the screen's frame.
constexpr TEffectBounds LevelEffectBounds{5, 30, 794, 595};

void AddOnce(std::vector<std::string>& list, const std::string& name) {
    if (std::find(list.begin(), list.end(), name) == list.end()) list.push_back(name);
}

}  // namespace

TEffectSources TKelGameEngine::EffectSources() {
    return TEffectSources{*archive_, surfaceStore_.get(), fontEngine_.get(), &random_,
                          [this](const std::string& line) { log_.WriteLog(line); }};
}

std::shared_ptr<TKelParticleEffect> TKelGameEngine::CreateCellEffect(const std::string& file) {
    std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(*archive_, file, &random_);
    if (!effect) {
        log_.WriteLog("Can not find file name " + file + " in GameFolder");
        return nullptr;
    }
    StartEffect(*effect, currentTick_);
    return effect;
}

void TKelGameEngine::MakeFishSurfName(int col, int row) {
    try {
        TFish& fish = level_.Board.Cell(col, row);
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
        } else if (fish.Type >= 0 && size_t(fish.Type) < fishkaTypes_.size()) {
            const TFishkaType& type = fishkaTypes_[size_t(fish.Type)];
            int mask = 0;
            for (int i = 1; i <= type.PieceCount; ++i)
                if (fish.Has[size_t(i)]) mask += 1 << (i - 1);
            fish.SurfName = FishPictureName(type, mask, fish.Color);
            if (fish.Kind == fkGhost) fish.SurfName.back() = 'G';
        } else {
            fish.SurfName.clear();  // an empty cell shows nothing
        }
        const TPoint size = surfaceStore_->GetSurfaceSize(fish.SurfName);
        fish.PicWidth = size.X;
        fish.PicHeight = size.Y;
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.MakeFishSurfName!");
    }
}

void TKelGameEngine::ClearLevel() {
    game_.SelectedCell = game_.HoverCell = TCell{};
    game_.PreviewGroup.clear();
    ::ClearLevel(level_);
    // Freed, not ended: no end callback runs.
    screenEffects_.clear();
    levelEffectsList_.clear();
    backgroundList_.clear();
    soundEvents_.SoundEffects.clear();
    game_.SmartCount = 0;
    game_.MoveMade = false;
    game_.Mood = StartMood;
    game_.MoodState = StartMoodState;
}

bool TKelGameEngine::LoadPuzzleLevelFromXML(const std::string& entryName, int /*flag*/) {
    if (!archive_->FindFile(entryName)) return true;
    try {
        TKelParser document;
        LoadXmlEntry(*archive_, entryName, document);
        std::vector<std::string> oldList = backgroundList_;
        ClearLevel();
        const TLevelSetUp setUp =
            ReadPuzzleLevel(document, entryName, fishkaTypes_, game_.ShowHints, level_);
        backgroundList_ = setUp.BackgroundList;
        for (const TCell& cell : setUp.Scarabs) MakeFishSurfName(cell.Col, cell.Row);
        for (const TCell& cell : setUp.Cobras)
            level_.Board.Cell(cell.Col, cell.Row).Effect =
                CreateCellEffect(ObjectEffectFile(fkCobra));
        for (const TCell& cell : setUp.Pyramids)
            level_.Board.Cell(cell.Col, cell.Row).Effect =
                CreateCellEffect(ObjectEffectFile(fkPyramid));
        // The random filling of the board comes here once the play timers exist; until then the
        // board holds the fixed pieces only.
        PutFishes(level_.Board, setUp.PutFishes);
        for (const TPutFish& piece : setUp.PutFishes) {
            TFish& fish = level_.Board.Cell(piece.Cell.Col, piece.Cell.Row);
            if (piece.Jump) fish.Effect = CreateCellEffect(JumpBallEffectFile);
            MakeFishSurfName(piece.Cell.Col, piece.Cell.Row);
        }
        GiveObjectsAType(level_.Board);
        SetUpLevelEffects(setUp, entryName);
        LoadLevelPictures(std::move(oldList));
        // The score and level labels of the play window are updated here once the interface
        // exists. The archive is opened again to give back the memory of the entries read.
        archive_ = std::make_unique<TFileFolder>(TFileFolder::Open(WorkingArchivePath()));
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.LoadPuzzleLevelFromXML!");
    }
    return true;
}

void TKelGameEngine::SetUpLevelEffects(const TLevelSetUp& setUp, const std::string& entryName) {
    try {
        for (const TLevelEffectSpec& effect : setUp.Effects) {
            try {
                const size_t before = levelEffectsList_.size();
                CreateKelEffectFromFile(levelEffectsList_, EffectSources(),
                                        {.Name = effect.Name,
                                         .File = effect.Filename,
                                         .X = effect.Position.X,
                                         .Y = effect.Position.Y,
                                         .Bounds = LevelEffectBounds,
                                         .Flag = effect.Scrollable,
                                         .Active = effect.Visible,
                                         .RepeatDelay = effect.Period},
                                        currentTick_);
                if (levelEffectsList_.size() > before && levelEffectsList_.back().Effect)
                    for (const std::string& picture :
                         EffectPictures(*levelEffectsList_.back().Effect))
                        AddOnce(backgroundList_, picture);
            } catch (const std::exception&) {
                throw KelException("Error in LevelEffects tag in " + entryName);
            }
        }
        for (const TLevelSoundSpec& sound : setUp.Sounds)
            soundEvents_.AddSoundEffect(sound.Name, 100, -1, true, sound.Period, sound.WorkPeriod,
                                        sound.PausePeriod, currentTick_);
    } catch (const std::exception&) {
        throw KelException("LevelEffects tag error!");
    }
}

void TKelGameEngine::LoadLevelPictures(std::vector<std::string> oldList) {
    surfaceStore_->LoadPictureList(*archive_, backgroundList_);
    for (const std::string& name : oldList)
        if (std::find(backgroundList_.begin(), backgroundList_.end(), name) ==
                backgroundList_.end() &&
            std::find(permanentPictures_.begin(), permanentPictures_.end(), name) ==
                permanentPictures_.end())
            surfaceStore_->DeleteSurface(name);
}

void TKelGameEngine::MakeColorFishesSurfaces() {
    ::MakeColorFishesSurfaces(*surfaceStore_, *archive_, fishkaTypes_, level_.LevelFishes);
    surfaceStore_->DrawSurface("Background", "MemorySurface", 0, 0, nullptr);
    MarkWholeScreen();
    for (int col = 1; col <= BoardColumns; ++col)
        for (int row = 1; row <= BoardRows; ++row) MakeFishSurfName(col, row);
}

void TKelGameEngine::ChangeGameState(const std::string& name) {
    if (name == "gsLoading") {
        soundEvents_.ChangeMusic(level_.LevelMusic, 1000, 1000, 0, 0, currentTick_);
        MakeColorFishesSurfaces();
        game_.State = gsGame;
        // The play window, the state's background and saving the player join here with the
        // interface and the players file.
        MarkWholeScreen();
    }
}

void TKelGameEngine::StartFirstLevel() {
    try {
        game_.Score = game_.PrevScore = 0;
        game_.CurrentLevel = game_.SelectedLevel = 1;
        surfaceStore_->LoadPictureList(*archive_, {"Back1.jpg"});
        backgroundList_.push_back("Back1.jpg");
        surfaceStore_->DrawSurface("Back1.jpg", "Background", 0, 0, nullptr);
        LoadPuzzleLevelFromXML(PuzzleLevelName(1), 1);
        ChangeGameState("gsLoading");
        // The instructions window and its animated examples are shown here once the interface
        // exists.
        if (game_.ShowInstructions) game_.State = gsInstructions;
        game_.LevelStartTime = platform_.System.Ticks();
    } catch (const std::exception&) {
        throw KelException("Exception error in TKelGameEngine.StartFirstLevel!");
    }
}
