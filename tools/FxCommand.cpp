// tervolin-tool fx: opens an effect the way the game does (Start at 0, Initialize), updates it to
// each given time and prints every system's live particle count and the first three live
// particles' parameters, then whether the effect has finished. Effect authors check timings and
// paths with it. The effect comes from a file or, by entry name, from a resource archive.
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "ToolCommand.h"
#include "core/MemoryStream.h"
#include "core/Random.h"
#include "fx/KelFXNumbers.h"
#include "fx/KelFXParticles.h"
#include "resources/FileFolder.h"

namespace {

std::string EffectBytes(const std::string& source, const std::string& name) {
    TFileFolder archive = TFileFolder::Open(source);
    if (archive.LastError().empty()) {
        TMemoryStream* entry = archive.FindFile(name);
        if (!entry) throw std::runtime_error("Cannot load file (wrong file name)");
        return entry->ToString();
    }
    TMemoryStream file;
    file.LoadFromFile(source);
    return file.ToString();
}

std::vector<uint32_t> ParseTimes(const std::string& list) {
    std::vector<uint32_t> times;
    size_t start = 0;
    for (;;) {
        const size_t comma = list.find(',', start);
        const std::string item = list.substr(start, comma - start);
        const double value = StrToFloatStrict(item);
        if (value < 0 || value > 4294967295.0 || value != double(uint64_t(value)))
            throw std::runtime_error("'" + item + "' is not a time in milliseconds");
        times.push_back(uint32_t(value));
        if (comma == std::string::npos) return times;
        start = comma + 1;
    }
}

std::string Number(float value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", double(value));
    return std::string(text) == "-0.000" ? "0.000" : text;
}

void PrintParticle(int index, const TKelParticle& particle, const TKelParticleTemplate& tmpl) {
    std::string line = "  particle=" + std::to_string(index);
    for (size_t i = 0; i < particle.Params.size() && i < tmpl.ParamTypes.size(); ++i) {
        const TKelParticleParamType& type = tmpl.ParamTypes[i];
        line += " " + type.Name + "=";
        for (int k = 0; k < type.Dim; ++k)
            line += (k ? "," : "") + Number(particle.Params[i].Value[k]);
    }
    std::printf("%s\n", line.c_str());
}

int Usage() {
    std::fprintf(stderr,
                 "usage: tervolin-tool fx FILE_OR_ARCHIVE EFFECT [--seed N] --at T1,T2,...\n");
    return 2;
}

int RunFx(const ToolArgs& args) {
    std::vector<std::string> positional;
    std::string seed = "0", at;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--seed" && i + 1 < args.size())
            seed = args[++i];
        else if (args[i] == "--at" && i + 1 < args.size())
            at = args[++i];
        else
            positional.push_back(args[i]);
    }
    if (positional.size() != 2 || at.empty()) return Usage();
    const std::vector<uint32_t> times = ParseTimes(at);
    if (seed.empty() || seed.find_first_not_of("0123456789") != std::string::npos ||
        seed.size() > 19)
        return Usage();
    TKelRandom random(std::stoull(seed));

    TKelParticleEffect effect;
    effect.SetName(positional[1]);
    effect.SetRandom(&random);
    effect.LoadFromText(EffectBytes(positional[0], positional[1]));
    effect.Start(0);
    effect.Initialize();
    for (uint32_t time : times) {
        effect.Update(time);
        for (int s = 0; s < effect.SystemCount(); ++s) {
            const TKelParticleSystem* system = effect.GetSystem(s);
            int live = 0;
            for (int p = 0; p < system->ParticleCount(); ++p) live += !system->GetParticle(p)->Dead;
            std::printf("t=%u system=%s live=%d\n", time, system->Name().c_str(), live);
            int shown = 0;
            for (int p = 0; p < system->ParticleCount() && shown < 3 && system->Template; ++p) {
                const TKelParticle* particle = system->GetParticle(p);
                if (particle->Dead) continue;
                PrintParticle(p, *particle, *system->Template);
                ++shown;
            }
        }
    }
    std::printf("finished=%d\n", effect.Finished ? 1 : 0);
    return 0;
}

}  // namespace

static ToolCommand fxCommand{"fx", "fx FILE_OR_ARCHIVE EFFECT [--seed N] --at T1,T2,...", &RunFx};
