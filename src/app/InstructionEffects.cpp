// The instruction examples: their pages, cycles and pictures.
#include "app/InstructionEffects.h"

#include <algorithm>
#include <span>
#include <vector>

#include "app/FishPictures.h"
#include "core/KelException.h"
#include "resources/FileFolder.h"

void ChangeEffectParticlesPictures(TKelParticleEffect& effect, const TFishkaTypes& types,
                                   const TLevel& level) {
    Guarded("Exception error in TKelGameEngine.ChangeEffectParticlesPictures!", [&] {
        for (int i = 0; i < effect.SystemCount(); ++i) {
            TKelParticleSystem* system = effect.GetSystem(i);
            if (!system || system->Resource.empty()) continue;
            const char kind = system->Resource[0];
            if (kind != '1' && kind != '2') continue;
            const size_t which = kind == '1' ? 0 : 1;
            if (which >= level.LevelFishes.size()) continue;
            const TFishSpec& fish = level.LevelFishes[which];
            if (fish.Type < 0 || size_t(fish.Type) >= types.size()) continue;
            int mask = 0;
            for (char piece : system->Resource.substr(std::min<size_t>(2, system->Resource.size())))
                mask += piece == '1' ? 1 : piece == '2' ? 2 : piece == '3' ? 4 : 0;
            const std::string name =
                FishPictureName(types[size_t(fish.Type)], mask, fish.Color) + "anime";
            system->Resource = name.substr(0, TFileFolder::MaxNameLength);
        }
    });
}

// One example: its effect file, how long after the clock it starts, the argument its end calls
// back with (none when empty), whether it shows the level's pieces, and its position.
struct TInstructionExample {
    const char* File;
    uint32_t Delay = 0;
    const char* Then = "";
    bool Pieces = true;
    TPoint At{};
};

namespace {

const char* const FirstPageForm = "WInstructions_TFPage1";

const TInstructionExample FirstPage[] = {
    {.File = "efHelp11.xml", .Then = "efHelp12.xml"},
    {.File = "efHelp21.xml", .Then = "efHelp23.xml"},
    {.File = "efInstructionBlickComplete.xml", .Delay = 7500},
    {.File = "efHelp31.xml", .Then = "efHelp32.xml"},
    {.File = "efInstructionGBC.xml", .Delay = 7500},
    {.File = "efScarabOnInstructions.xml", .At = {540, 420}},
    {.File = "efPharaohFaces6OnInstr.xml", .Then = "efPharaoh1", .Pieces = false},
};

const TInstructionExample SecondPage[] = {
    {.File = "efBonusGemOnInstr.xml"},
    {.File = "efBouncingGemOnInstr.xml"},
    {.File = "efCobraOnInstr.xml", .Then = "efCobra"},
    {.File = "efClickOnCobra3OnInstr.xml", .Delay = 1500},
};

// What follows an example's end, by the argument it ends with: the pairs of help examples take
// turns (the second and third pairs each with a highlight some time later), the Pharaoh's happy
// face and his angry one take turns, and the cobra starts again with its click.
struct TCycleStep {
    const char* Ended;
    std::vector<TInstructionExample> Next;
};

const std::vector<TCycleStep>& Cycles() {
    static const std::vector<TCycleStep> cycles{
        {"efHelp12.xml", {{.File = "efHelp12.xml", .Then = "efHelp11.xml"}}},
        {"efHelp11.xml", {{.File = "efHelp11.xml", .Then = "efHelp12.xml"}}},
        {"efHelp23.xml",
         {{.File = "efHelp23.xml", .Then = "efHelp21.xml"},
          {.File = "efInstructionBlickComplete3.xml", .Delay = 7500}}},
        {"efHelp21.xml",
         {{.File = "efHelp21.xml", .Then = "efHelp23.xml"},
          {.File = "efInstructionBlickComplete.xml", .Delay = 7500}}},
        {"efHelp32.xml",
         {{.File = "efHelp32.xml", .Then = "efHelp31.xml"},
          {.File = "efInstructionGBC2.xml", .Delay = 4000}}},
        {"efHelp31.xml",
         {{.File = "efHelp31.xml", .Then = "efHelp32.xml"},
          {.File = "efInstructionGBC.xml", .Delay = 7500}}},
        {"efPharaoh1",
         {{.File = "efPharaohFaces6OnInstr.xml", .Then = "efPharaoh2", .Pieces = false}}},
        {"efPharaoh2",
         {{.File = "efPharaohAngryOnInstr.xml", .Then = "efPharaoh1", .Pieces = false}}},
        {"efCobra",
         {{.File = "efCobraOnInstr.xml", .Then = "efCobra"},
          {.File = "efClickOnCobra3OnInstr.xml", .Delay = 1500}}},
    };
    return cycles;
}

// The examples removed when the window closes, in this order; "efHelp13.xml" and
// "efHelp22.xml" are among them though no page or cycle creates them.
const char* const AllExamples[] = {
    "efHelp11.xml",
    "efHelp12.xml",
    "efHelp13.xml",
    "efHelp21.xml",
    "efHelp22.xml",
    "efHelp23.xml",
    "efHelp31.xml",
    "efHelp32.xml",
    "efInstructionBlickComplete.xml",
    "efInstructionBlickComplete3.xml",
    "efInstructionGBC.xml",
    "efInstructionGBC2.xml",
    "efScarabOnInstructions.xml",
    "efPharaohFaces6OnInstr.xml",
    "efPharaohAngryOnInstr.xml",
    "efBonusGemOnInstr.xml",
    "efBouncingGemOnInstr.xml",
    "efCobraOnInstr.xml",
    "efClickOnCobra3OnInstr.xml",
};

}  // namespace

void TInstructionEffects::Create(const TInstructionExample& example, uint32_t now) {
    TEffectRequest request{.Name = example.File,
                           .File = example.File,
                           .X = example.At.X,
                           .Y = example.At.Y,
                           .StartTime = example.Delay > 0 ? int64_t(now) + example.Delay : -1};
    if (*example.Then) {
        request.CallbackArg = example.Then;
        request.OnEnd = [this](const std::string& name) { InstructionEffectEnded(name); };
    }
    const size_t before = links_.List.size();
    CreateKelEffectFromFile(links_.List, links_.Sources(), request, now);
    if (example.Pieces && links_.List.size() > before && links_.List.back().Effect)
        ChangeEffectParticlesPictures(*links_.List.back().Effect, links_.Types, links_.Level);
}

bool TInstructionEffects::FirstPageShown() {
    const std::optional<bool> visible = links_.FormVisible(FirstPageForm);
    if (!visible && !missingPageLogged_) {
        missingPageLogged_ = true;
        const TEffectSources sources = links_.Sources();
        if (sources.Log)
            sources.Log(std::string("Can not find tab form ") + FirstPageForm +
                        ", the instructions show their second page");
    }
    return visible.value_or(false);
}

void TInstructionEffects::StartInstructionEffects() {
    Guarded("Exception error in TKelGameEngine.StartInstructionEffects!", [this] {
        const uint32_t now = links_.Clock();
        const std::span<const TInstructionExample> page =
            FirstPageShown() ? std::span<const TInstructionExample>(FirstPage) : SecondPage;
        for (const TInstructionExample& example : page) Create(example, now);
    });
}

void TInstructionEffects::InstructionEffectEnded(const std::string& name) {
    const uint32_t now = links_.Clock();
    for (const TCycleStep& step : Cycles())
        if (name == step.Ended)
            for (const TInstructionExample& example : step.Next) Create(example, now);
}

void TInstructionEffects::StopInstructionEffects() {
    Guarded("Exception error in TKelGameEngine.!", [this] {
        for (const char* name : AllExamples) DeleteKelScreenEffectByName(links_.List, name);
    });
}
