// The effects and pictures the play screen and the instructions use by name.
#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/GlobalEffects.h"
#include "app/ScreenEffects.h"
#include "check/CheckData.h"
#include "core/KelException.h"
#include "core/KelParserText.h"
#include "core/Random.h"
#include "resources/ArchiveXml.h"
#include "rules/FishkaTypes.h"

// The lines of "surfaces.dat": the pictures loaded at start-up.
static std::vector<std::string> PermanentPictures(TFileFolder& archive) {
    std::vector<std::string> names;
    TMemoryStream* list = archive.FindFile("surfaces.dat");
    if (!list) return names;
    std::istringstream lines(list->ToString());
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) names.push_back(line);
    }
    return names;
}

// An effect the play screen uses by name, loaded with every picture it names in the archive;
// none, with the problem, when it is missing or does not load.
static std::unique_ptr<TKelParticleEffect> LoadScreenEffect(TFileFolder& archive,
                                                            const std::string& file,
                                                            IRandom& random, TProblems& problems) {
    try {
        std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, &random);
        if (!effect) {
            problems.push_back(file + ": the effect is missing");
            return nullptr;
        }
        for (const std::string& picture : EffectPictures(*effect))
            if (archive.IndexOfFile(picture) < 0)
                problems.push_back(file + ": its picture " + picture + " is missing");
        return effect;
    } catch (const std::exception& error) {
        problems.push_back(file + ": " + error.what());
        return nullptr;
    }
}

// The piece types of the archive; none when it has none or they do not read, which the piece
// types check reports.
TFishkaTypes PieceTypes(TFileFolder& archive) {
    TFishkaTypes types;
    TKelParser document;
    if (!LoadXmlEntry(archive, "FishkaTypes.xml", document)) return types;
    try {
        ReadFishkaTypes(document, types);
    } catch (const KelException&) {
        types.clear();
    }
    return types;
}

// A system the game draws with a cell's piece strip takes one frame as the strip's width divided
// by the system's frame count: that count must be every piece type's.
static void CheckStripFrames(const std::string& file, const TKelParticleSystem& system,
                             const TFishkaTypes& types, TProblems& problems) {
    for (const TFishkaType& type : types)
        if (system.FrameCount != type.FrameCount)
            problems.push_back(file + ": system " + system.Name() + " has " +
                               std::to_string(system.FrameCount) + " frames, the strips of " +
                               type.Name + " " + std::to_string(type.FrameCount));
}

// The piece spin draws the cell's piece strip in every system.
static void CheckPieceSpin(const std::string& file, const TKelParticleEffect& spin,
                           const TFishkaTypes& types, TProblems& problems) {
    for (int s = 0; s < spin.SystemCount(); ++s)
        if (const TKelParticleSystem* system = spin.GetSystem(s))
            CheckStripFrames(file, *system, types, problems);
}

// Runs an effect from its start in passes of 10 ms, calling `pass` after each, until it finishes
// or ten seconds have passed; answers whether it finished.
static bool RunForTenSeconds(TKelParticleEffect& effect, const std::function<void()>& pass) {
    StartEffect(effect, 0);
    for (uint32_t t = 0; t <= 10000 && !effect.Finished; t += 10) {
        effect.Update(t);
        pass();
    }
    return effect.Finished;
}

// A break (and a bomb's burst) draws the cell's piece strip in its first system only: that
// system turns the piece with a Frame morph through every frame of the strip, ending on the last
// one.
static void CheckBreakPiece(const std::string& file, TKelParticleEffect& effect,
                            const TFishkaTypes& types, TProblems& problems) {
    const TKelParticleSystem* piece = effect.GetSystem(0);
    if (!piece || !piece->Template) {
        problems.push_back(file + ": no particle system for the breaking piece");
        return;
    }
    const TKelParticleTemplate& tmpl = *piece->Template;
    const int frame = tmpl.IndexOfParamType("Frame");
    if (frame < 0 || tmpl.ParamTypes[size_t(frame)].MorphIndex < 0) {
        problems.push_back(file + ": system " + piece->Name() + " has no Frame morph");
        return;
    }
    CheckStripFrames(file, *piece, types, problems);
    int last = -1;
    RunForTenSeconds(effect, [&] {
        for (const auto& particle : piece->Particles) last = std::max(last, particle->GetFrame());
    });
    if (last != piece->FrameCount - 1)
        problems.push_back(file + ": system " + piece->Name() + " shows frames up to " +
                           std::to_string(last) + " of its " + std::to_string(piece->FrameCount));
}

// The game draws a group's number with the particle of the group's bonus word: the effect has
// one system throwing one particle, no more.
static void CheckGroupBonus(const std::string& file, TKelParticleEffect& effect,
                            TProblems& problems) {
    if (effect.SystemCount() != 1) {
        problems.push_back(file + ": " + std::to_string(effect.SystemCount()) +
                           " particle systems; the group's number needs one, of one particle");
        return;
    }
    size_t most = 0;
    RunForTenSeconds(effect, [&] { most = std::max(most, effect.GetSystem(0)->Particles.size()); });
    if (most != 1)
        problems.push_back(file + ": " + std::to_string(most) +
                           " particles at once; the group's number needs one");
}

// A flight follows the path the game writes into the piecewise function "FPath": a Position
// morph of some particle sums it.
static void CheckFlightPath(const std::string& file, const TKelParticleEffect& effect,
                            TProblems& problems) {
    const TKelMorphFunc* path = effect.GetFunction(effect.IndexOfFunction("FPath"));
    bool drives = false;
    if (dynamic_cast<const TKelPiecewiseFunc*>(path))
        for (int s = 0; s < effect.SystemCount() && !drives; ++s) {
            const TKelParticleSystem* system = effect.GetSystem(s);
            if (!system || !system->Template) continue;
            const TKelParticleTemplate& tmpl = *system->Template;
            const int position = tmpl.IndexOfParamType("Position");
            if (position < 0) continue;
            const TKelMorph* morph = effect.GetMorph(tmpl.ParamTypes[size_t(position)].MorphIndex);
            drives = morph && std::find(morph->Funcs.begin(), morph->Funcs.end(), path) !=
                                  morph->Funcs.end();
        }
    if (!drives)
        problems.push_back(file + ": no piecewise function FPath drives its particles' Position");
}

// The effects the play screen starts from their own files for a while: the effects of moves,
// the group bonus words, the level won, clicks on scarabs, cobras and pyramids, and the bursts,
// blasts and shots of bombs.
static const char* const OneShotScreenEffects[] = {
    "efBonus50.xml",
    "efBlickComplete1.xml",
    "efBonusGreat.xml",
    "efBonusExcellent.xml",
    "efBonusIncredible.xml",
    "efBonusFantastic.xml",
    "efLevelComplete.xml",
    "efClickOnPyramid.xml",
    "efClickOnScarabBonus0.xml",
    "efClickOnScarabBonus60.xml",
    "efClickOnScarabBonus300.xml",
    "efClickOnScarabBonus0_Back.xml",
    "efClickOnScarabBonus60_Back.xml",
    "efClickOnScarabBonus300_Back.xml",
    "efClickOnCobra1.xml",
    "efClickOnCobra2.xml",
    "efClickOnCobra3.xml",
    "efClickOnCobra4.xml",
    "efClickOnCobra5.xml",
    "efClickOnCobra6.xml",
    "efBomb1.xml",
    "efBombPlace.xml",
    "efVertBombShot.xml",
    "efDiagRTBombShot.xml",
    "efDiagLTBombShot.xml",
};

// How an example of the instructions window runs: taking turns with another example (it must
// end by itself), as the timed companion of one (started with it, some milliseconds later: it
// must end before that example starts again), or until the window closes (it must never end).
enum class TExampleRun { Turns, Companion, Endless };

struct TInstructionExampleFile {
    const char* File;
    TExampleRun Run;
    const char* With = "";  // a companion's example
    uint32_t Delay = 0;
};

static const TInstructionExampleFile InstructionExamples[] = {
    {"efHelp11.xml", TExampleRun::Turns},
    {"efHelp12.xml", TExampleRun::Turns},
    {"efHelp21.xml", TExampleRun::Turns},
    {"efHelp23.xml", TExampleRun::Turns},
    {"efInstructionBlickComplete.xml", TExampleRun::Companion, "efHelp21.xml", 7500},
    {"efInstructionBlickComplete3.xml", TExampleRun::Companion, "efHelp23.xml", 7500},
    {"efHelp31.xml", TExampleRun::Turns},
    {"efHelp32.xml", TExampleRun::Turns},
    {"efInstructionGBC.xml", TExampleRun::Companion, "efHelp31.xml", 7500},
    {"efInstructionGBC2.xml", TExampleRun::Companion, "efHelp32.xml", 4000},
    {"efScarabOnInstructions.xml", TExampleRun::Endless},
    {"efPharaohFaces6OnInstr.xml", TExampleRun::Turns},
    {"efPharaohAngryOnInstr.xml", TExampleRun::Turns},
    {"efBonusGemOnInstr.xml", TExampleRun::Endless},
    {"efBouncingGemOnInstr.xml", TExampleRun::Endless},
    {"efCobraOnInstr.xml", TExampleRun::Turns},
    {"efClickOnCobra3OnInstr.xml", TExampleRun::Companion, "efCobraOnInstr.xml", 1500},
};

// A picture name the game replaces by the strip of one of the level's two first piece kinds:
// "1" or "2", any character, then the pieces shown, each of "1", "2" and "3".
static bool IsPiecePlaceholder(const std::string& name) {
    return name.size() >= 3 && (name[0] == '1' || name[0] == '2') &&
           name.find_first_not_of("123", 2) == std::string::npos;
}

// The instruction examples load; their pictures are loaded at start-up, but for the piece
// placeholders, which must name pieces and draw as many frames as the piece strips have; and
// each ends, or runs on, as its part in the window's cycles needs.
static void CheckInstructionExamples(TFileFolder& archive,
                                     const std::function<bool(const std::string&)>& listed,
                                     const TFishkaTypes& types, IRandom& random,
                                     TProblems& problems) {
    std::map<std::string, uint32_t> lifetimes;
    for (const TInstructionExampleFile& example : InstructionExamples) {
        const std::string file = example.File;
        std::unique_ptr<TKelParticleEffect> effect;
        try {
            effect = LoadEffectEntry(archive, file, &random);
        } catch (const std::exception& error) {
            problems.push_back(file + ": " + error.what());
            continue;
        }
        if (!effect) {
            problems.push_back(file + ": the instruction example is missing");
            continue;
        }
        for (int s = 0; s < effect->SystemCount(); ++s) {
            const TKelParticleSystem* system = effect->GetSystem(s);
            if (!system || system->Resource.empty()) continue;
            const std::string& picture = system->Resource;
            if (picture[0] == '1' || picture[0] == '2') {
                if (!IsPiecePlaceholder(picture))
                    problems.push_back(file + ": its piece picture " + picture +
                                       " names no pieces");
                CheckStripFrames(file, *system, types, problems);
            } else if (!listed(picture)) {
                problems.push_back(file + ": its picture " + picture + " is not in surfaces.dat");
            }
        }
        const bool ends = effect->HasLifetime || effect->HasMinParticles;
        if (example.Run != TExampleRun::Endless && !effect->HasLifetime)
            problems.push_back(file + ": takes turns with another example but has no Lifetime");
        if (example.Run == TExampleRun::Endless && ends)
            problems.push_back(file + ": ends, and the window's example with it");
        if (effect->HasLifetime) lifetimes[file] = effect->Lifetime;
    }
    for (const TInstructionExampleFile& example : InstructionExamples) {
        if (example.Run != TExampleRun::Companion) continue;
        const auto own = lifetimes.find(example.File), with = lifetimes.find(example.With);
        if (own != lifetimes.end() && with != lifetimes.end() &&
            uint64_t(example.Delay) + own->second >= with->second)
            problems.push_back(std::string(example.File) + ": still runs when " + example.With +
                               " starts it again");
    }
}

// The effects and pictures the play screen uses by name: every global effect, the cursor, the
// cell objects' effects, the piece spin and the one-shot screen effects load, and name only
// pictures of the archive; the fixed pictures of the screen and those the one-shot effects draw
// (screen instances draw only surfaces loaded at start-up) are loaded at start-up; the one-shot
// effects end within ten seconds; the piece spin and the breaking pieces fit the piece strips, a
// group bonus word has the one particle the group's number needs, the pyramid's flight
// follows its path, and the instruction examples fit the window's cycles. Archives without
// "surfaces.dat" are not game archives.
void CheckScreenContent(TFileFolder& archive, TProblems& problems) {
    if (archive.IndexOfFile("surfaces.dat") < 0) return;
    const std::vector<std::string> permanent = PermanentPictures(archive);
    auto listed = [&](const std::string& name) {
        return std::find(permanent.begin(), permanent.end(), name) != permanent.end();
    };
    for (const std::string& name : permanent)
        if (archive.IndexOfFile(name) < 0)
            problems.push_back("surfaces.dat: " + name + " is not in the archive");
    for (const char* name :
         {"Column.png", "FinishLight.png", "FinishScarab.png", "Pharaoh0.png", "CellFrame.png",
          "Select.png", "KeyCursor.png", "BombCellFrame.png", "QuestCellFrame.png",
          "ScarabBonus0.png", "ScarabBonus60.png", "ScarabBonus300.png", "LevelDone.png", "map.jpg",
          "ArrowB.png", "ArrowBUp.png", "cursor_line.png"})
        if (!listed(name)) problems.push_back(std::string("surfaces.dat: ") + name + " is missing");

    std::vector<std::string> effects = TGlobalEffects::Files();
    for (const char* name : {"efMouseCursor.xml", JumpBallEffectFile, ObjectEffectFile(fkCobra),
                             ObjectEffectFile(fkPyramid), ObjectEffectFile(fkCoin)})
        effects.push_back(name);
    TKelRandom random(1);
    const TFishkaTypes types = PieceTypes(archive);
    for (const std::string& file : effects) {
        const auto effect = LoadScreenEffect(archive, file, random, problems);
        if (effect && (file == "efBreakFishka.xml" || file == "efBreakFishka1.xml" ||
                       file == "efBreakFishka2.xml"))
            CheckBreakPiece(file, *effect, types, problems);
    }
    for (const std::string file : OneShotScreenEffects) {
        const auto effect = LoadScreenEffect(archive, file, random, problems);
        if (!effect) continue;
        // A bomb's burst shows the cell's piece strip in its first system.
        const bool burst = file == "efBomb1.xml";
        for (int s = burst ? 1 : 0; s < effect->SystemCount(); ++s) {
            const TKelParticleSystem* system = effect->GetSystem(s);
            if (system && !system->Resource.empty() && !listed(system->Resource))
                problems.push_back(file + ": its picture " + system->Resource +
                                   " is not in surfaces.dat");
        }
        if (file.rfind("efBonus", 0) == 0 && file != "efBonus50.xml")
            CheckGroupBonus(file, *effect, problems);
        if (file == "efClickOnPyramid.xml") CheckFlightPath(file, *effect, problems);
        if (burst) CheckBreakPiece(file, *effect, types, problems);
        // The checks above may have run it through already.
        if (!effect->Finished && !RunForTenSeconds(*effect, [] {}))
            problems.push_back(file + ": does not end within 10 s");
    }
    const std::string spin = "efBallsRotation.xml";
    if (const auto effect = LoadScreenEffect(archive, spin, random, problems))
        CheckPieceSpin(spin, *effect, types, problems);
    CheckInstructionExamples(archive, listed, types, random, problems);
}
