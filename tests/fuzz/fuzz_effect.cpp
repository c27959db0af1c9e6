// Fuzz target for effect files: any bytes are loaded as an effect (or refused with an error),
// then a copy of it is started and run for a few simulated seconds while its particles are read
// the way the game draws them. Nothing may crash, hang or allocate without bound.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <string>

#include "core/Random.h"
#include "fx/KelFXParticles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TKelParticleSystem::ParticleLimit = 200;  // keeps each input fast; the limit is tested apart
    TKelRandom random(1);                     // every input replays the same way
    TKelParticleEffect loaded;
    try {
        loaded.LoadFromText(std::string(reinterpret_cast<const char*>(data), size));
    } catch (const std::exception&) {
        // What was read before the error stays in the effect: run that too.
    }
    TKelParticleEffect effect;
    effect.SetRandom(&random);
    if (!effect.Assign(&loaded)) return 0;
    effect.SetFunctionScript("FPath",
                             "Set Linear; Set Timing 0.3; Path (10,20) (30,40); Ending Stop;");
    try {
        effect.Start(10000000);
        effect.Initialize();
        for (uint32_t t = 10000000; t <= 10004000; t += 40) {
            effect.Update(t);
            for (int s = 0; s < effect.SystemCount(); ++s) {
                const TKelParticleSystem* system = effect.GetSystem(s);
                for (int p = 0; p < system->ParticleCount(); ++p) {
                    const TKelParticle* particle = system->GetParticle(p);
                    volatile float sink = particle->GetPosition()[0] + particle->GetAlpha() +
                                          particle->GetColor()[2] + particle->GetColorValue() +
                                          float(particle->GetFrame());
                    (void)sink;
                }
            }
        }
    } catch (const std::exception&) {
        // A function parameter the file names out of range is refused while running.
    }
    return 0;
}
