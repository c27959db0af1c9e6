// Particle systems: the initial throw (optionally spread along the position path), continuous
// throwing, bursts, the particle limits and the removal of dead and old particles.
#include <algorithm>
#include <cstdint>

#include "fx/KelFXParticles.h"
#include "fx/KelFXText.h"

std::unique_ptr<TKelBaseObject> TKelParticleSystem::Create() const {
    return std::make_unique<TKelParticleSystem>();
}

bool TKelParticleSystem::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelParticleSystem*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    InitParticles = src->InitParticles;
    InitInterval = src->InitInterval;
    InitDivided = src->InitDivided;
    InitDivisor = src->InitDivisor;
    MinParticles = src->MinParticles;
    MaxParticles = src->MaxParticles;
    MaxLifetime = src->MaxLifetime;
    ThrowInterval = src->ThrowInterval;
    ParticlesPerThrow = src->ParticlesPerThrow;
    EmissionInterval = src->EmissionInterval;
    ThrowsPerEmission = src->ThrowsPerEmission;
    FrameCount = src->FrameCount;
    Resource = src->Resource;
    OutputMode = src->OutputMode;
    LastThrow = src->LastThrow;
    LastEmissionEnd = src->LastEmissionEnd;
    Emitting = src->Emitting;
    ThrowsDone = src->ThrowsDone;
    Position = src->Position;
    Particles.clear();
    for (const auto& particle : src->Particles) {
        auto copy = std::make_unique<TKelParticle>();
        copy->System = this;
        copy->Assign(particle.get());
        Particles.push_back(std::move(copy));
    }
    return true;
}

bool TKelParticleSystem::Initialize() {
    if (!TKelBaseObject::Initialize()) return false;
    if (InitParticles == 0) return true;
    if (InitDivided && InitDivisor > 0 && Template && OwnerEffect) {
        // The initial particles are spread evenly over the time of the position path.
        const int position = Template->IndexOfParamType("Position");
        const TKelMorph* morph =
            position >= 0 ? OwnerEffect->GetMorph(Template->ParamTypes[position].MorphIndex)
                          : nullptr;
        if (morph)
            for (const TKelMorphFunc* function : morph->Funcs)
                if (const auto* path = dynamic_cast<const TKelPiecewiseFunc*>(function)) {
                    InitInterval =
                        int32_t(std::min<uint32_t>(path->TotalTime / InitDivisor, INT32_MAX));
                    break;
                }
    }
    Throw(InitParticles, InitInterval != 0);
    return true;
}

void TKelParticleSystem::SetTemplate(TKelParticleTemplate* tmpl) {
    ClearParticles();
    Template = tmpl;
    if (Template) Template->OwnerEffect = OwnerEffect;
}

TKelParticle* TKelParticleSystem::GetParticle(int index) const {
    return index >= 0 && size_t(index) < Particles.size() ? Particles[index].get() : nullptr;
}

void TKelParticleSystem::Throw(int64_t count, bool spread) {
    const uint32_t now = OwnerEffect ? OwnerEffect->CurrentTime : 0;
    if (Template && OwnerEffect) {
        // Never more than MaxParticles (nor the engine's limit) at once; negative counts throw
        // nothing.
        const int64_t room =
            std::min<int64_t>(MaxParticles, ParticleLimit) - int64_t(Particles.size());
        count = std::clamp<int64_t>(count, 0, std::max<int64_t>(room, 0));
        for (int64_t k = 0; k < count; ++k) {
            const size_t index = Particles.size();
            std::unique_ptr<TKelParticle> particle = CreateParticle(Template, now, this);
            particle->SetName(FxShortName(Template->Name() + std::to_string(index)));
            particle->System = this;
            particle->SetShift(spread ? uint32_t(k * int64_t(InitInterval)) : 0);
            TKelParticle* thrown = particle.get();
            Particles.push_back(std::move(particle));
            thrown->Update(now);
        }
    }
    LastThrow = now;
}

void TKelParticleSystem::Update(uint32_t time) {
    for (size_t i = 0; i < Particles.size();) {
        TKelParticle* particle = Particles[i].get();
        if (!particle->Dead) particle->Update(time);
        const bool expired =
            particle->Dead || (MaxLifetime != 0 && MaxLifetime < int64_t(particle->Age()));
        if (expired && int64_t(MinParticles) < int64_t(Particles.size()))
            Particles.erase(Particles.begin() + std::ptrdiff_t(i));
        else
            ++i;
    }
    const auto due = [&](uint32_t since, int32_t interval) {
        return int64_t(uint32_t(time - since)) >= int64_t(interval);
    };
    const bool fits =
        int64_t(MaxParticles) >= int64_t(Particles.size()) + int64_t(ParticlesPerThrow);
    if (EmissionInterval != 0) {
        if (!Emitting && due(LastEmissionEnd, EmissionInterval)) {
            Emitting = 1;
            ThrowsDone = 0;
        }
        if (Emitting && ThrowInterval != 0 && due(LastThrow, ThrowInterval) && fits) {
            Throw(ParticlesPerThrow, false);
            if (ThrowsDone < INT32_MAX) ++ThrowsDone;
            if (ThrowsDone == ThrowsPerEmission) {
                Emitting = 0;
                LastEmissionEnd = time;
            }
        }
    } else if (ThrowInterval != 0 && due(LastThrow, ThrowInterval) && fits) {
        Throw(ParticlesPerThrow, false);
    }
}

std::unique_ptr<TKelBaseObject> TKelParticleSystemLib::Create() const {
    return std::make_unique<TKelParticleSystemLib>();
}

TKelParticleSystem* TKelParticleSystemLib::GetSystem(int index) const {
    return dynamic_cast<TKelParticleSystem*>(GetItem(index));
}
