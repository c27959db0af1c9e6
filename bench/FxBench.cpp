// One frame of a particle effect: 1,000 particles of a template with three morphs (a path, a
// periodic function and a parabola) updated to the next frame's time.
#include <benchmark/benchmark.h>

#include "core/Random.h"
#include "fx/KelFXParticles.h"

namespace {

const char* const ThreeMorphEffect = R"(<ParticleEffect Name="B"><Functions>
<Function Name="P" Dim="2" Type="piecewise"><Script>Path (0,0) .. (100,50) .. (200,0) .. (300,80); Ending Loop;</Script></Function>
<Function Name="A" Dim="1" Type="periodic"><XParam>0.5*sin(3*t)+0.5</XParam></Function>
<Function Name="F" Dim="1" Type="parabolic"><StartVelocity>10</StartVelocity></Function>
</Functions><Morphs>
<Morph Name="MP" Dim="2"><Functions><Function Name="P"/></Functions><Properties><Property Name="Position">(0,0)..(50,50)</Property></Properties></Morph>
<Morph Name="MA" Dim="1"><Functions><Function Name="A"/></Functions></Morph>
<Morph Name="MF" Dim="1"><Functions><Function Name="F"/></Functions></Morph>
</Morphs><Particles><Particle Name="T">
<Parameter Name="Position" Dim="2" Morph="MP" ClonedMorph="true"/>
<Parameter Name="Alpha" Dim="1" Morph="MA"/>
<Parameter Name="Frame" Dim="1" Morph="MF"/>
</Particle></Particles><ParticleSystems><ParticleSystem Name="S" Template="T"><InitParticles>1000</InitParticles></ParticleSystem></ParticleSystems></ParticleEffect>)";

void BM_FxUpdate1000(benchmark::State& state) {
    TKelRandom random(1);
    TKelParticleEffect effect;
    effect.SetRandom(&random);
    effect.LoadFromText(ThreeMorphEffect);
    effect.Start(0);
    effect.Initialize();
    uint32_t now = 0;
    for (auto _ : state) effect.Update(now += 16);
    state.counters["particles"] = double(effect.TotalParticles);
}

}  // namespace

BENCHMARK(BM_FxUpdate1000)->Unit(benchmark::kMicrosecond)->Repetitions(5)->MinTime(0.2);
