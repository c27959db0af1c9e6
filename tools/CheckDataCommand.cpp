// tervolin-tool check-data: the content's linter. Opens an archive and runs every check on it,
// printing each problem found on its own line; the exit code is 1 when there was any. Each kind
// of content adds its check to the list, loading its descriptions with the engine's own loaders.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <regex>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "app/GlobalEffects.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/KelException.h"
#include "core/KelParserText.h"
#include "core/Random.h"
#include "core/Utf8.h"
#include "graphics/KelFont.h"
#include "graphics/KelFontEngine.h"
#include "resources/ArchiveXml.h"
#include "resources/FileFolder.h"
#include "resources/JpegPNG.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"
#include "ui/KelCheckBox.h"
#include "ui/KelEdit.h"
#include "ui/KelGrid.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/KelProgressBar.h"
#include "ui/KelSlider.h"

using TProblems = std::vector<std::string>;

struct TDataCheck {
    const char* Name;
    void (*Run)(TFileFolder& archive, TProblems& problems);
};

// Every entry's data lies inside the file.
static void CheckEntriesLoad(TFileFolder& archive, TProblems& problems) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        try {
            archive.LoadFile(name);
            archive.Stream(i).Clear();  // give the memory back at once
        } catch (const std::exception& error) {
            problems.push_back(name + ": " + error.what());
        }
    }
}

// Look-ups ignore case and take the first match, so a repeated or empty name hides an entry.
static void CheckEntryNames(TFileFolder& archive, TProblems& problems) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        if (name.empty())
            problems.push_back("entry " + std::to_string(i) + " has no name");
        else if (archive.IndexOfFile(name) != i)
            problems.push_back(name + ": duplicate entry name, only the first one is read");
    }
}

// A picture entry that exists and decodes as its name's suffix says.
static void CheckPicture(TFileFolder& archive, const std::string& owner, const std::string& name,
                         TProblems& problems) {
    TMemoryStream* entry = archive.FindFile(name);
    if (!entry) {
        problems.push_back(owner + ": picture " + name + " is not in the archive");
        return;
    }
    try {
        const std::span<const uint8_t> bytes = entry->Bytes();
        if (name.size() >= 3 && SameText(name.substr(name.size() - 3), "png"))
            TPngPicture::Decode(bytes);
        else
            DecodeJpeg(bytes);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": picture " + name + ": " + error.what());
    }
}

// An effect file that exists and loads, with every picture its particles draw.
static void CheckEffect(TFileFolder& archive, const std::string& owner, const std::string& file,
                        TProblems& problems) {
    try {
        const std::unique_ptr<TKelParticleEffect> effect = LoadEffectEntry(archive, file, nullptr);
        if (!effect) {
            problems.push_back(owner + ": effect " + file + " is not in the archive");
            return;
        }
        for (const std::string& picture : EffectPictures(*effect))
            CheckPicture(archive, file, picture, problems);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": " + error.what());
    }
}

// Cells the player can see and click on the 800 x 600 screen: columns 1 and 2 lie under the
// finish bar and the Pharaoh, column 13 is off the screen, row 9 is cut by the bottom edge and
// the odd (raised) columns' first row by the top.
static bool CellVisible(int col, int row) {
    return col >= 3 && col <= 12 && row <= 8 && (col % 2 == 0 || row >= 2);
}

// What a level loads besides its description: its pictures, the effects of its objects, fixed
// jump balls and ambient effects, and the pictures of its scarabs.
static void CheckLevelContent(TFileFolder& archive, const std::string& level,
                              const TLevelSetUp& setUp, const TLevel& read, TProblems& problems) {
    for (int row = 1; row <= BoardRows; ++row)
        for (int col = 1; col <= BoardColumns; ++col)
            if (read.Board.CellExists(col, row) && !CellVisible(col, row))
                problems.push_back(level + ": Board cell (" + std::to_string(col) + ", " +
                                   std::to_string(row) + ") lies outside the visible board");
    for (const std::string& picture : setUp.BackgroundList)
        CheckPicture(archive, level, picture, problems);
    std::vector<std::string> effects;
    if (!setUp.Cobras.empty()) effects.push_back(ObjectEffectFile(fkCobra));
    if (!setUp.Pyramids.empty()) effects.push_back(ObjectEffectFile(fkPyramid));
    for (const TPutFish& piece : setUp.PutFishes)
        if (piece.Jump) effects.push_back(JumpBallEffectFile);
    for (const TLevelEffectSpec& effect : setUp.Effects) effects.push_back(effect.Filename);
    std::sort(effects.begin(), effects.end());
    effects.erase(std::unique(effects.begin(), effects.end()), effects.end());
    for (const std::string& effect : effects) CheckEffect(archive, level, effect, problems);
    for (const TCell& cell : setUp.Scarabs) {
        const uint8_t kind = read.Board.Cell(cell.Col, cell.Row).Kind;
        if (kind >= fkScarab0 && kind <= fkScarab300)
            CheckPicture(archive, level, ScarabPictureName(kind), problems);
    }
}

// The piece types and every level "PuzzleLevel1.xml", "PuzzleLevel2.xml", ... up to the first
// missing one, read with the game's loaders; levels need the types, so they are required then.
static void CheckTypesAndLevels(TFileFolder& archive, TProblems& problems) {
    TFishkaTypes types;
    TKelParser typesDocument;
    const bool hasTypes = LoadXmlEntry(archive, "FishkaTypes.xml", typesDocument);
    if (hasTypes) {
        TProblems typeProblems;
        try {
            ReadFishkaTypes(typesDocument, types, &typeProblems);
        } catch (const KelException& error) {
            typeProblems.push_back(error.what());
        }
        for (const std::string& problem : typeProblems)
            problems.push_back("FishkaTypes.xml: " + problem);
    }
    for (int n = 1;; ++n) {
        TKelParser document;
        if (!LoadXmlEntry(archive, PuzzleLevelName(n), document)) break;
        if (!hasTypes) {
            problems.push_back(PuzzleLevelName(n) + ": no FishkaTypes.xml for its pieces");
            break;
        }
        TLevel level;
        try {
            const TLevelSetUp setUp =
                ReadPuzzleLevel(document, PuzzleLevelName(n), types, true, level, &problems);
            CheckLevelContent(archive, PuzzleLevelName(n), setUp, level, problems);
        } catch (const KelException& error) {
            problems.push_back(PuzzleLevelName(n) + ": " + error.what());
        }
    }
    TKelParser points;
    if (LoadXmlEntry(archive, "PathPoints.xml", points)) {
        try {
            const auto path = ReadPathPoints(points);
            if (path.size() < 42)
                problems.push_back("PathPoints.xml: " + std::to_string(path.size()) +
                                   " points; the level map needs 42");
        } catch (const KelException& error) {
            problems.push_back(std::string("PathPoints.xml: ") + error.what());
        }
    }
}

// The texts the player reads: every element text of the interface and language descriptions.
static void CollectTexts(const TKelXMLTag& tag, std::u32string& texts) {
    std::vector<const TKelXMLTag*> pending{&tag};
    while (!pending.empty()) {
        const TKelXMLTag* current = pending.back();
        pending.pop_back();
        texts += Utf8ToWide(current->Text);
        for (const auto& child : current->Tags()) pending.push_back(child.get());
    }
}

// The fonts the interface draws with.
static const char* const GameFonts[] = {"KelUnicode",         "Lithos",
                                        "Lithos-Bold",        "Lithos-Black",
                                        "LithosDigist-Black", "LithosSmall-Bold"};

// The six fonts load with their glyph pictures, and know every character of the shipped texts.
// Archives without any of them (partial archives of modders and tests) are not game archives.
static void CheckFonts(TFileFolder& archive, TProblems& problems) {
    bool anyFont = false;
    for (const char* name : GameFonts)
        anyFont |= archive.IndexOfFile(std::string(name) + ".xml") >= 0;
    if (!anyFont) return;
    std::u32string texts;
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string& name = archive.Entry(i).Name;
        const std::string lower = name.size() >= 4 ? name.substr(name.size() - 4) : "";
        if (lower != ".lng" && (name.size() < 3 || name.substr(name.size() - 3) != ".li")) continue;
        TKelParser document;
        if (LoadXmlEntry(archive, name, document)) CollectTexts(document, texts);
    }
    TKelFontEngine fonts;
    for (const char* name : GameFonts) {
        const std::string entry = std::string(name) + ".xml";
        TMemoryStream* stream = archive.FindFile(entry);
        if (!stream) {
            problems.push_back(entry + ": the font is missing");
            continue;
        }
        try {
            const TKelFont* font = fonts.LoadFontFromStream(*stream);
            TMemoryStream* picture = archive.FindFile(font->Picture);
            if (!picture)
                problems.push_back(entry + ": its picture " + font->Picture + " is missing");
            else
                TPngPicture::Decode(std::span<const uint8_t>(picture->Memory(), picture->Size()));
            std::u32string missing;
            for (char32_t c : texts)
                if (c >= 32 && !font->IsCharKnown(c) && missing.find(c) == std::u32string::npos)
                    missing += c;
            if (!missing.empty())
                problems.push_back(entry + ": no glyphs for \"" + WideToUtf8(missing) + "\"");
        } catch (const std::exception& error) {
            problems.push_back(entry + ": " + error.what());
        }
    }
}

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
static TFishkaTypes PieceTypes(TFileFolder& archive) {
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
static void CheckScreenContent(TFileFolder& archive, TProblems& problems) {
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

// ---- The interface description ---------------------------------------------------------------

constexpr const char* InterfaceEntry = "Tervolin.li";

// The windows the game shows by name.
static const char* const GameWindows[] = {
    "WTitle",
    "WResource",
    "WSelectGameMode",
    "WContinue",
    "WInstructions",
    "WGame",
    "WGameMenu",
    "WHelp",
    "WQuit",
    "WExitToMainMenu",
    "WAbortLevel",
    "WGameOver",
    "WBetweenLevels",
    "WGameComplete",
    "WAfterGameComplete",
    "WHighScores",
    "WClearHighScores",
    "WChangePlayer",
    "WNewPlayer",
    "WRenamePlayer",
    "WDelete",
    "WPlayerExist",
    "WYourName",
    "WFileProblem",
    "WOptions",
    "WLanguage",
    "WGameLoading",
    "WLoadLevel",
    "WBonusGemHint",
    "WBouncingGemHint",
    "WGemWithLightningHint",
    "WGhostHint",
    "WBombPlaceHint",
    "WScarabHint",
    "WCobraHint",
    "WPyramidHint",
    "WCoinHint",
    "WCartoucheHint",
    "WPyramidStoneHint",
};

// The objects the game reads or writes by name, with the class each must have; labels and
// buttons may be any kind of label.
struct TGameWidget {
    const char* Name;
    const TKelClass& (*Class)();  // none: a label of any kind
};

static const TGameWidget GameWidgets[] = {
    {"WTitle_LWelcome", nullptr},
    {"WResource_LWelcome", nullptr},
    {"WResource_LFileDamagedTitle", nullptr},
    {"WResource_LPlayersDamaged", nullptr},
    {"WResource_LSaveFailedTitle", nullptr},
    {"WResource_LSavePlayers", nullptr},
    {"WResource_LSaveHighScores", nullptr},
    {"WResource_LSaveOptions", nullptr},
    {"WResource_LSaveLanguage", nullptr},
    {"WResource_LDiskFull", nullptr},
    {"WResource_LNoPermission", nullptr},
    {"WResource_LReadOnly", nullptr},
    {"WResource_LNoFolder", nullptr},
    {"WFileProblem_LTitle", nullptr},
    {"WFileProblem_LText", nullptr},
    {"WFileProblem_LDetail", nullptr},
    {"WInstructions_TFPage1", &TKelTabForm::StaticClass},
    {"WInstructions_TFPlay", &TKelTabForm::StaticClass},
    {"WInstructions_TFOk", &TKelTabForm::StaticClass},
    {"WInstructions_CBInstructionsOff", &TKelCheckBox::StaticClass},
    {"WGame_LScoreCount", nullptr},
    {"WGame_LLevelCount", nullptr},
    {"WGame_BHint", nullptr},
    {"WGameComplete_LYourScoreCount", nullptr},
    {"WGameComplete_EName", &TKelEdit::StaticClass},
    {"WHighScores_GHighScores", &TKelGrid::StaticClass},
    {"WHighScores_BViewAction", nullptr},
    {"WHighScores_BViewRelax", nullptr},
    {"WChangePlayer_GPlayers", &TKelGrid::StaticClass},
    {"WNewPlayer_ENewPlayer", &TKelEdit::StaticClass},
    {"WRenamePlayer_EPlayerName", &TKelEdit::StaticClass},
    {"WYourName_EYourName", &TKelEdit::StaticClass},
    {"WOptions_CBFullScreen", &TKelCheckBox::StaticClass},
    {"WOptions_CB32bitColor", &TKelCheckBox::StaticClass},
    {"WOptions_CBHintsOff", &TKelCheckBox::StaticClass},
    {"WOptions_SMusicVolume", &TKelSlider::StaticClass},
    {"WOptions_SSoundVolume", &TKelSlider::StaticClass},
    {"WOptions_BOk", nullptr},
    {"WOptions_BCancel", nullptr},
    {"WLanguage_RBENU", &TKelRadioButton::StaticClass},
    {"WGameLoading_PBGameLoading", &TKelProgressBar::StaticClass},
    {"WGameLoading_LLoading", nullptr},
    {"WLoadLevel_PBLoadLevel", &TKelProgressBar::StaticClass},
    {"WLoadLevel_LLoadLevelText", nullptr},
};

// The game's handlers that scripts may call with ExecMethod.
static const std::set<std::string> PublishedHandlers = {
    "WTitle_BStartGame_MouseUp",
    "WContinue_BNewGame_MouseUp",
    "WContinue_BPlaySaved_MouseUp",
    "WContinue_BCancel_MouseUp",
    "WSelectGameMode_BAction_MouseUp",
    "WSelectGameMode_BRelax_MouseUp",
    "WTitle_BHighScores_MouseUp",
    "WTitle_BChangePlayer_MouseUp",
    "WTitle_BQuit_MouseUp",
    "WTitle_LBrontelLink_MouseUp",
    "AddLogoMouseUp",
    "WFileProblem_BClose_MouseUp",
    "WType_BOK_MouseUp",
    "WInstructions_TFPlay_BPlay_MouseUp",
    "WInstructions_TFOk_BOk_MouseUp",
    "WInstructions_TFPage1_BPage2_MouseUp",
    "WInstructions_CBINstructionsOff_MouseUp",
    "WGame_BMenu_MouseUp",
    "WGame_BQuit_MouseUp",
    "WGame_BHelp_MouseUp",
    "WGame_BMize_MouseUp",
    "WGame_BUndo_MouseUp",
    "WGameMenu_BResume_MouseUp",
    "WGameMenu_BInstructions_MouseUp",
    "WGameMenu_BQuit_MouseUp",
    "WHelp_BClose_MouseUp",
    "WQuit_BCancel_MouseUp",
    "WExitToMainMenu_BOk_MouseUp",
    "WGameOver_BOk_MouseUp",
    "WAbortLevel_BOk_MouseUp",
    "WBetweenLevels_BPlay_MouseUp",
    "WLevelComplete_BOk_MouseUp",
    "WGameComplete_BOk_MouseUp",
    "WAfterGameComplete_BOk_MouseUp",
    "WHighScores_BViewAction_MouseUp",
    "WHighScores_BViewRelax_MouseUp",
    "WHighScores_BClear_MouseUp",
    "WClearHighScores_BOk_MouseUp",
    "WYourName_BOk_MouseUp",
    "WNewPlayer_BOk_MouseUp",
    "WChangePlayer_BDone_MouseUp",
    "WChangePlayer_GPlayers_MouseDown",
    "WChangePlayer_GPlayers_DblClick",
    "WChangePlayer_BCancel_MouseUp",
    "WChangePlayer_BDelete_MouseUp",
    "WDelete_BOk_MouseUp",
    "WChangePlayer_BRename_MouseUp",
    "WRenamePlayer_BOk_MouseUp",
    "WOptions_BOk_MouseUp",
    "WOptions_BCancel_MouseUp",
    "WOptions_SMusicVolume_Change",
    "WOptions_SSoundVolume_Change",
    "WLanguage_BOk_MouseUp",
};

// The sizes of the archive's pictures, for laying the windows out as the game does; nothing is
// drawn.
class TArchivePictureSizes : public IKelGraphic {
  public:
    explicit TArchivePictureSizes(TFileFolder& archive) : archive_(archive) {}

    void GetPictureSize(int& width, int& height, const std::string& picture) override {
        auto [known, added] = sizes_.try_emplace(picture, TPoint{0, 0});
        if (added) known->second = Measure(picture);
        width = known->second.X;
        height = known->second.Y;
    }
    void GetScreenSize(int& width, int& height) override {
        width = ScreenWidth;
        height = ScreenHeight;
    }
    void Draw(const std::string&, const std::string&, TBlendingMode, int, int, uint8_t,
              const std::optional<TRect>&) override {}
    void DrawBumpMap(const std::string&, const std::string&, int, int) override {}
    void DrawRect(const std::string&, const TRect&, uint32_t, uint8_t, bool) override {}
    void ExtDraw(const std::string&, int) override {}
    void DrawColoredAlpha(const std::string&, const std::string&, int, int, uint32_t,
                          uint8_t) override {}
    void PlaySound(const std::string&) override {}
    void PostFormDraw(const std::string&) override {}
    void LowExtDraw(const std::string&, const TRect&, const std::string&, int, int, uint32_t,
                    uint8_t) override {}

  private:
    TPoint Measure(const std::string& picture) {
        TMemoryStream* entry = picture.empty() ? nullptr : archive_.FindFile(picture);
        if (!entry) return {0, 0};
        try {
            if (picture.size() >= 3 && SameText(picture.substr(picture.size() - 3), "png")) {
                const TPngPicture png = TPngPicture::Decode(entry->Bytes());
                return {png.Width, png.Height};
            }
            const TBitmap24 jpeg = DecodeJpeg(entry->Bytes());
            return {jpeg.Width, jpeg.Height};
        } catch (const std::exception&) {
            return {0, 0};  // the pictures check reports it
        }
    }

    TFileFolder& archive_;
    std::map<std::string, TPoint> sizes_;
};

// The top-level form an interface object belongs to.
static const TKelInterfaceObject* WindowOf(const TKelInterfaceObject& object) {
    const TKelInterfaceObject* window = &object;
    for (int depth = 0; depth < 16; ++depth) {
        const auto* parent = dynamic_cast<const TKelInterfaceObject*>(window->Parent);
        if (!parent) break;
        window = parent;
    }
    return window;
}

static bool Inside(const TRect& inner, const TRect& outer) {
    return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
           inner.Bottom <= outer.Bottom;
}

// The lines a label holds: the lines' distance gives the line space.
static int64_t LineCapacity(const TKelLabel& label, const TKelFont& font) {
    const std::vector<TKelTextLine>& lines = label.Lines();
    const int64_t step =
        lines.size() > 1 ? std::max<int64_t>(1, lines[1].Y - lines[0].Y) : font.Height;
    return (int64_t{label.Height()} + step - font.Height) / step;
}

// A caption must fit its label in English with room for translations 30 % longer: on a
// one-line label its width, in a taller one the lines its text would wrap to.
static void CheckCaptionRoom(const TKelLabel& label, const TKelFontEngine& fonts,
                             TProblems& problems) {
    const std::vector<TKelTextLine>& lines = label.Lines();
    const TKelFont* font = fonts.FindFont(label.FontName());
    if (lines.empty() || !font || font->Height <= 0) return;
    const std::string owner = std::string(InterfaceEntry) + ": " + label.Name();
    const int64_t capacity = LineCapacity(label, *font);
    const int64_t room = label.AvailableWidth();
    if (room <= 0) return;
    if (int64_t(lines.size()) > capacity) {
        problems.push_back(owner + ": its caption needs " + std::to_string(lines.size()) +
                           " lines, the label holds " + std::to_string(capacity));
        return;
    }
    int64_t width = 0;
    for (const TKelTextLine& line : lines) width += line.Width;
    // Wrapped lines fill about 85 % of the width.
    const bool roomy = capacity == 1 ? width * 13 <= room * 10
                                     : (width * 1300 + room * 850 - 1) / (room * 850) <= capacity;
    if (!roomy)
        problems.push_back(owner + ": its caption leaves too little room for longer translations");
}

// The characters of the text that the font has no glyph for, each once.
static std::u32string MissingGlyphs(const std::u32string& text, const TKelFont& font) {
    std::u32string missing;
    for (char32_t c : text)
        if (c >= 32 && !font.IsCharKnown(c) && missing.find(c) == std::u32string::npos)
            missing += c;
    return missing;
}

// A translated caption must simply fit: the label's font has all of its characters, no word is
// wider than the label (it would be cut in the middle) and the label holds all of its lines.
static void CheckCaptionFits(const std::string& owner, const TKelLabel& label,
                             const TKelFontEngine& fonts, TProblems& problems) {
    const TKelFont* font = fonts.FindFont(label.FontName());
    if (!font || font->Height <= 0) return;
    const std::string who = owner + ": " + label.Name();
    const std::u32string caption = Utf8ToWide(label.Caption());
    const std::u32string missing = MissingGlyphs(caption, *font);
    if (!missing.empty())
        problems.push_back(who + ": the font " + label.FontName() + " has no glyphs for \"" +
                           WideToUtf8(missing) + "\"");
    const int64_t room = label.AvailableWidth();
    if (label.Lines().empty() || room <= 0) return;
    const int64_t capacity = LineCapacity(label, *font);
    if (int64_t(label.Lines().size()) > capacity) {
        problems.push_back(who + ": its caption needs " + std::to_string(label.Lines().size()) +
                           " lines, the label holds " + std::to_string(capacity));
        return;
    }
    std::u32string word;
    for (size_t i = 0; i <= caption.size(); ++i) {
        if (i < caption.size() && caption[i] > 32) {
            word += caption[i];
            continue;
        }
        if (font->TextWidth(word) > room)
            problems.push_back(who + ": \"" + WideToUtf8(word) + "\" is wider than the label");
        word.clear();
    }
}

// ---- The language files ----------------------------------------------------------------------

// A file of the folder "lng" beside the archive, which the game lays over the description: its
// first three letters are the language's code, the number between the first "_" and the first
// "." orders the buttons of the language window, and a name holding "scn" gets no button.
struct TLanguageFile {
    std::string Name, Code;
    int Order = 0;
    bool OwnButton = false;
};

static std::string LowerAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return text;
}

static std::string UpperAscii(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return text;
}

// The leading whole number of the text between the first "_" and the first "."; 0 when there is
// none.
static int OrderNumber(const std::string& name) {
    const size_t underscore = name.find('_');
    const size_t dot = name.find('.');
    if (underscore == std::string::npos || dot == std::string::npos || dot < underscore) return 0;
    int order = 0;
    for (size_t i = underscore + 1; i < dot && i < underscore + 9; ++i) {
        if (name[i] < '0' || name[i] > '9') break;
        order = order * 10 + (name[i] - '0');
    }
    return order;
}

// The folder's language files, by name.
static std::vector<TLanguageFile> LanguageFiles(const std::filesystem::path& folder) {
    std::vector<TLanguageFile> files;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const std::string lower = LowerAscii(name);
        if (!entry.is_regular_file() || lower.size() < 3 || !lower.ends_with("lng")) continue;
        files.push_back(
            {name, lower.substr(0, 3), OrderNumber(name), lower.find("scn") == std::string::npos});
    }
    std::sort(files.begin(), files.end(),
              [](const TLanguageFile& a, const TLanguageFile& b) { return a.Name < b.Name; });
    return files;
}

static std::string LanguageButton(const std::string& code) {
    return "WLanguage_RB" + UpperAscii(code);
}

// The language window's buttons as the game adds them: one per language besides English, in the
// order of their numbers, each a copy of the English button, one row further down (a second
// column from the sixth on).
static std::vector<std::string> AddLanguageButtons(TKelInterfaceEngine& engine,
                                                   const std::vector<TLanguageFile>& files) {
    std::vector<std::string> added;
    const auto* model =
        dynamic_cast<const TKelRadioButton*>(engine.FindObject(LanguageButton("enu")));
    if (!model) return added;  // the description's check reports it
    std::vector<TLanguageFile> ordered = files;
    std::stable_sort(
        ordered.begin(), ordered.end(),
        [](const TLanguageFile& a, const TLanguageFile& b) { return a.Order < b.Order; });
    int row = 1;
    for (const TLanguageFile& file : ordered) {
        const std::string name = LanguageButton(file.Code);
        if (!file.OwnButton || file.Code == "enu" || engine.FindObject(name)) continue;
        auto* button = dynamic_cast<TKelRadioButton*>(
            engine.GetObject(engine.CreateObject(name, "WLanguage", "TKelRadioButton")));
        if (!button) continue;
        button->Assign(*model);
        button->ResolveParent();
        button->SetTop(model->Top() + row * 24 - (row > 5 ? 144 : 0));
        if (row > 5) button->SetLeft(model->Left() + 200);
        ++row;
        added.push_back(name);
    }
    if (auto* window = dynamic_cast<TKelForm*>(engine.FindObject("WLanguage")))
        window->CollectChildren();
    return added;
}

static std::string LastPropertyText(const TKelXMLTag& object, const std::string& property) {
    std::string text;
    for (const auto& p : object.Tags()) {
        const TKelParserAttribute* n = p->FindAttribute("n");
        if (n && n->Value == property) text = p->Text;
    }
    return text;
}

static bool HasLetters(const std::string& text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c & 0x80) != 0;
    });
}

// The cells a language file gives a grid: every character in the cell's font, every text within
// its column.
static void CheckGridCells(const std::string& owner, const TKelGrid& grid,
                           const TKelFontEngine& fonts, TProblems& problems) {
    const auto& columns = grid.Columns();
    for (size_t i = 0; i < grid.Cells().size() && !columns.empty(); ++i) {
        const TKelGrid::TCell& cell = grid.Cells()[i];
        const TKelFont* font = fonts.FindFont(cell.FontName);
        if (cell.Text.empty() || !font) continue;
        const std::string who = owner + ": " + grid.Name() + " cell " + std::to_string(i);
        const std::u32string missing = MissingGlyphs(cell.Text, *font);
        if (!missing.empty())
            problems.push_back(who + ": the font " + cell.FontName + " has no glyphs for \"" +
                               WideToUtf8(missing) + "\"");
        const TKelGrid::TColumn& column = columns[i % columns.size()];
        if (font->TextWidth(cell.Text) + std::abs(cell.TextShiftLeft) > column.Width)
            problems.push_back(who + ": \"" + WideToUtf8(cell.Text) +
                               "\" is wider than its column");
    }
}

// One language file laid over the description as the game does it, on the language buttons the
// game adds: it reads; names only objects and readable properties that exist (a language must be
// undone when another one is chosen); the values convert; a language other than English
// translates every caption that has words, the language buttons included; and every caption and
// grid cell it sets fits, and every object it names or adds stays inside its window.
static void CheckLanguage(const std::filesystem::path& folder, const TLanguageFile& file,
                          const std::vector<TLanguageFile>& files, const std::string& description,
                          IKelGraphic& host, TKelFontEngine& fonts, TProblems& problems) {
    const std::string owner = "lng/" + file.Name;
    std::string text;
    try {
        TMemoryStream bytes;
        bytes.LoadFromFile((folder / file.Name).string());
        text = bytes.ToString();
    } catch (const std::exception& error) {
        problems.push_back(owner + ": " + error.what());
        return;
    }
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    engine.LoadFromString(description);
    const std::vector<std::string> buttons = AddLanguageButtons(engine, files);

    TKelParser document;
    document.LoadFromString(text);
    for (const std::string& warning : document.Warnings) problems.push_back(owner + ": " + warning);
    const TKelXMLTag* root = document.GetTag(0);
    if (!root || root->Name != "KelInterface") {
        problems.push_back(owner + ": the file does not begin with a KelInterface element");
        return;
    }
    std::set<std::string> named, captioned;
    for (const auto& object : root->Tags()) {
        if (object->Name != "o") continue;
        const bool properties =
            std::all_of(object->Tags().begin(), object->Tags().end(), [](const auto& p) {
                return p->Name == "p" && p->AttributeCount() == 1 && p->FindAttribute("n");
            });
        const std::string name = LastPropertyText(*object, "Name");
        if (!properties) {
            problems.push_back(owner + ": the element of " + (name.empty() ? "no name" : name) +
                               " holds more than properties; the rest of the file is ignored");
            break;
        }
        const TKelObject* target = engine.FindObject(name);
        if (!target) {
            problems.push_back(owner + ": there is no object " +
                               (name.empty() ? "without a name" : name));
            continue;
        }
        named.insert(name);
        for (const auto& p : object->Tags()) {
            const std::string property = p->FindAttribute("n")->Value;
            const TKelProperty* known = target->GetClass().FindProperty(property);
            if (!known)
                problems.push_back(owner + ": " + name + " has no property " + property);
            else if (!known->Read && property != "Name")
                problems.push_back(owner + ": " + name + "." + property +
                                   " cannot be read back, so another language cannot undo it");
            else if (property == "Caption")
                captioned.insert(name);
        }
    }

    engine.OnError = [&](const std::string& error) { problems.push_back(owner + ": " + error); };
    try {
        engine.LoadLanguageFromString(text);
    } catch (const std::exception& error) {
        problems.push_back(owner + ": loading stops: " + error.what());
    }
    engine.OnError = nullptr;

    for (const auto& object : engine.Objects()) {
        const std::string& name = object->Name();
        const bool button = std::find(buttons.begin(), buttons.end(), name) != buttons.end();
        const auto* ui = dynamic_cast<const TKelInterfaceObject*>(object.get());
        if (ui && (named.count(name) || button) && ui != WindowOf(*ui) && ui->Visible() &&
            ui->Width() > 0 && !Inside(ui->ScreenRect(), WindowOf(*ui)->ScreenRect()))
            problems.push_back(owner + ": " + name + " lies outside its window");
        if (const auto* label = dynamic_cast<const TKelLabel*>(object.get())) {
            if (named.count(name)) CheckCaptionFits(owner, *label, fonts, problems);
            // The language buttons read the languages' own names: English stays English.
            if (!captioned.count(name) && (button || file.Code != "enu") &&
                name != LanguageButton("enu") && HasLetters(label->Caption()))
                problems.push_back(owner + ": " + name + " keeps its English caption \"" +
                                   label->Caption() + "\"");
        } else if (const auto* grid = dynamic_cast<const TKelGrid*>(object.get())) {
            if (named.count(name)) CheckGridCells(owner, *grid, fonts, problems);
        }
    }
}

// The windows a level shows by name: its hint window and its tutorial popups, each with the cell
// it points at.
struct TLevelWindows {
    std::string Level, HintWindow;
    std::vector<TPopupWindow> Popups;
};

static std::vector<TLevelWindows> LevelWindows(TFileFolder& archive) {
    std::vector<TLevelWindows> levels;
    const TFishkaTypes types = PieceTypes(archive);
    for (int n = 1;; ++n) {
        TKelParser document;
        if (!LoadXmlEntry(archive, PuzzleLevelName(n), document)) break;
        TLevel level;
        try {
            ReadPuzzleLevel(document, PuzzleLevelName(n), types, true, level);
        } catch (const KelException&) {
            continue;  // the levels check reports it
        }
        levels.push_back({PuzzleLevelName(n), level.HintWindow, level.PopupWindows});
    }
    return levels;
}

static bool Overlap(const TRect& a, const TRect& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

// Every window a level names exists; a popup, placed by the game above its cell (its arrow
// points down at it), stays on the screen and leaves the cell free to click.
static void CheckLevelWindows(TFileFolder& archive, const TKelInterfaceEngine& engine,
                              TProblems& problems) {
    const TRect screen{0, 0, ScreenWidth - 1, ScreenHeight - 1};
    for (const TLevelWindows& level : LevelWindows(archive)) {
        if (!level.HintWindow.empty() &&
            !dynamic_cast<const TKelForm*>(engine.FindObject(level.HintWindow)))
            problems.push_back(level.Level + ": its hint window " + level.HintWindow +
                               " is not in " + InterfaceEntry);
        for (const TPopupWindow& popup : level.Popups) {
            const auto* window = dynamic_cast<const TKelForm*>(engine.FindObject(popup.Name));
            const std::string cell =
                "(" + std::to_string(popup.Col) + ", " + std::to_string(popup.Row) + ")";
            if (!window) {
                problems.push_back(level.Level + ": its popup " + popup.Name + " is not in " +
                                   InterfaceEntry);
                continue;
            }
            const int left = popup.Col * 65 - 143;
            const int top = popup.Row * 73 - (popup.Col % 2 ? 36 : 0) - 224;
            const TRect placed{left, top, left + window->Width() - 1, top + window->Height() - 1};
            if (!Inside(placed, screen))
                problems.push_back(level.Level + ": the popup " + popup.Name + " for cell " + cell +
                                   " leaves the screen; point it at another cell");
            else if (Overlap(placed, CellBox(popup.Col, popup.Row)))
                problems.push_back(level.Level + ": the popup " + popup.Name + " covers its cell " +
                                   cell + "; point it at a cell lower on the board");
        }
    }
}

// Every language file of the folder, and the language buttons in English: their captions are
// copies of the English button's until a file names them, and English has a file only when one
// with the code "enu" exists.
static void CheckLanguages(const std::filesystem::path& folder, const std::string& description,
                           IKelGraphic& host, TKelFontEngine& fonts, TProblems& problems) {
    const std::vector<TLanguageFile> files = LanguageFiles(folder);
    for (const TLanguageFile& file : files)
        CheckLanguage(folder, file, files, description, host, fonts, problems);
    const bool english = std::any_of(files.begin(), files.end(),
                                     [](const TLanguageFile& file) { return file.Code == "enu"; });
    const bool others = std::any_of(files.begin(), files.end(), [](const TLanguageFile& file) {
        return file.Code != "enu" && file.OwnButton;
    });
    if (others && !english)
        problems.push_back(
            "lng: no enu file names the language buttons, so in English they all "
            "read like the English one");
}

// "Tervolin.li", read with the game's loader and laid out with the archive's pictures and fonts:
// it loads; has every window and object the game uses by name, and those the levels name, of the
// class the game expects, each object in its own window; calls only published handlers; names only
// pictures of the archive; every window lies on the 800 x 600 screen, every shown object inside its
// window, and every caption fits. Archives without the description or "surfaces.dat" are not game
// archives.
static void CheckInterface(TFileFolder& archive, TProblems& problems) {
    const std::string owner = InterfaceEntry;
    TMemoryStream* entry = archive.FindFile(InterfaceEntry);
    if (!entry) {
        if (archive.IndexOfFile("surfaces.dat") >= 0)
            problems.push_back(owner + ": the interface description is missing");
        return;
    }
    TKelFontEngine fonts;
    for (const char* name : GameFonts) {
        TMemoryStream* font = archive.FindFile(std::string(name) + ".xml");
        try {
            if (font) fonts.LoadFontFromStream(*font);
        } catch (const std::exception&) {
            // the fonts check reports it
        }
    }
    TArchivePictureSizes host(archive);
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    const std::string description = entry->ToString();
    engine.LoadFromString(description);
    if (!engine.LoadError().empty()) problems.push_back(owner + ": " + engine.LoadError());

    for (const char* name : GameWindows)
        if (!dynamic_cast<const TKelForm*>(engine.FindObject(name)))
            problems.push_back(owner + ": the window " + name + " is missing");
    CheckLevelWindows(archive, engine, problems);
    for (const TGameWidget& widget : GameWidgets) {
        const auto* object =
            dynamic_cast<const TKelInterfaceObject*>(engine.FindObject(widget.Name));
        const bool rightClass =
            object && (widget.Class ? &object->GetClass() == &widget.Class()
                                    : dynamic_cast<const TKelLabel*>(object) != nullptr);
        const std::string name = widget.Name;
        const std::string window = name.substr(0, name.find('_'));
        if (!object)
            problems.push_back(owner + ": " + widget.Name + " is missing");
        else if (!rightClass)
            problems.push_back(owner + ": " + widget.Name + " is a " + object->GetClass().Name +
                               ", not a " + (widget.Class ? widget.Class().Name : "TKelLabel"));
        else if (WindowOf(*object)->Name() != window)
            problems.push_back(owner + ": " + widget.Name + " is not in the window " + window);
    }

    static const std::regex method("Method=\"([^\"]*)\"");
    for (auto it = std::sregex_iterator(description.begin(), description.end(), method);
         it != std::sregex_iterator(); ++it)
        if (!PublishedHandlers.count((*it)[1]))
            problems.push_back(owner + ": ExecMethod names " + std::string((*it)[1]) +
                               ", which the game does not publish");

    std::istringstream pictures(engine.GetAllPictures());
    for (std::string picture; std::getline(pictures, picture);) {
        if (!picture.empty() && picture.back() == '\r') picture.pop_back();
        if (!picture.empty() && archive.IndexOfFile(picture) < 0)
            problems.push_back(owner + ": picture " + picture + " is not in the archive");
    }

    const TRect screen{0, 0, ScreenWidth - 1, ScreenHeight - 1};
    for (const auto& object : engine.Objects()) {
        const auto* ui = dynamic_cast<const TKelInterfaceObject*>(object.get());
        if (!ui) continue;
        const TKelInterfaceObject* window = WindowOf(*ui);
        if (ui == window) {
            if (!Inside(ui->ScreenRect(), screen))
                problems.push_back(owner + ": the window " + ui->Name() +
                                   " does not fit the 800 x 600 screen");
            continue;
        }
        // Objects the game moves off the screen on purpose start hidden or are placed by it.
        if (ui->Visible() && ui->Width() > 0 && !Inside(ui->ScreenRect(), window->ScreenRect()))
            problems.push_back(owner + ": " + ui->Name() + " lies outside its window");
        if (const auto* label = dynamic_cast<const TKelLabel*>(ui))
            CheckCaptionRoom(*label, fonts, problems);
    }
    CheckLanguages(std::filesystem::path(archive.FileName()).parent_path() / "lng", description,
                   host, fonts, problems);
}

static const TDataCheck Checks[] = {
    {"entries load", &CheckEntriesLoad},
    {"entry names", &CheckEntryNames},
    {"piece types and levels", &CheckTypesAndLevels},
    {"fonts", &CheckFonts},
    {"sounds", &CheckSoundData},
    {"screen effects and pictures", &CheckScreenContent},
    {"interface", &CheckInterface},
};

static int RunCheckData(const ToolArgs& args) {
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: tervolin-tool check-data ARCHIVE\n");
        return 2;
    }
    TFileFolder archive = TFileFolder::Open(args[0]);
    TProblems problems;
    if (!archive.LastError().empty()) {
        problems.push_back(archive.LastError());
    } else {
        for (const TDataCheck& check : Checks) {
            try {
                check.Run(archive, problems);
            } catch (const std::exception& error) {
                problems.push_back(std::string(check.Name) + ": " + error.what());
            }
        }
    }
    for (const std::string& problem : problems) std::printf("%s\n", problem.c_str());
    return problems.empty() ? 0 : 1;
}

static ToolCommand checkDataCommand{"check-data", "check-data ARCHIVE", &RunCheckData};
