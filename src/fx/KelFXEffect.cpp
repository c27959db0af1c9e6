// Particle effects: start, initialisation, the update to a time, lifetime and end, copies of a
// loaded effect, and the look-ups the game uses. The file reader is in KelFXEffectReader.cpp.
#include "fx/KelFXParticles.h"

TKelParticleEffect::~TKelParticleEffect() {
    // Systems (and their particles) go before the templates, morphs and functions they use.
    Systems.reset();
    Templates.reset();
    Morphs.reset();
    Functions.reset();
}

std::unique_ptr<TKelBaseObject> TKelParticleEffect::Create() const {
    return std::make_unique<TKelParticleEffect>();
}

bool TKelParticleEffect::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelParticleEffect*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    StartTime = src->StartTime;
    CurrentTime = src->CurrentTime;
    TotalParticles = src->TotalParticles;
    HasLifetime = src->HasLifetime;
    Lifetime = src->Lifetime;
    HasMinParticles = src->HasMinParticles;
    MinParticles = src->MinParticles;
    Finished = src->Finished;

    Systems = std::make_unique<TKelParticleSystemLib>();
    Templates = std::make_unique<TKelParticleTemplateLib>();
    auto morphs = std::make_unique<TKelMorphLib>();
    morphs->Random = Morphs->Random;
    Morphs = std::move(morphs);
    Functions = std::make_unique<TKelMorphFuncLib>();
    Functions->Assign(src->Functions.get());
    for (int i = 0; i < src->Morphs->Count(); ++i) {
        const TKelMorph* from = src->Morphs->GetMorph(i);
        if (!from) continue;
        auto morph = CreateMorph(from->Name(), from->Dim, from->StartTime, Morphs.get(),
                                 Functions.get(), "");
        TKelMorph* added = morph.get();
        const int index = AddMorphToLib(Morphs.get(), std::move(morph));
        if (Morphs->GetMorph(index) == added) added->Assign(from);
    }
    for (int i = 0; i < src->Templates->Count(); ++i) {
        const TKelParticleTemplate* from = src->Templates->GetTemplate(i);
        if (!from) continue;
        Templates->GetTemplate(AddTemplate(from->Name()))->Assign(from);
    }
    for (int i = 0; i < src->Systems->Count(); ++i) {
        const TKelParticleSystem* from = src->Systems->GetSystem(i);
        if (!from) continue;
        const std::string templateName = from->Template ? from->Template->Name() : "";
        GetSystem(AddSystem(from->Name(), templateName))->Assign(from);
    }
    return true;
}

bool TKelParticleEffect::Initialize() {
    return TKelBaseObject::Initialize() && Systems->Initialize();
}

void TKelParticleEffect::Start(uint32_t time) {
    StartTime = CurrentTime = time;
    for (int i = 0; i < Morphs->Count(); ++i)
        if (TKelMorph* morph = Morphs->GetMorph(i)) morph->SetStartTime(time);
}

void TKelParticleEffect::SetLifetime(uint32_t ms) {
    Lifetime = ms;
    HasLifetime = ms != 4294967295u;
}

void TKelParticleEffect::Update(uint32_t time) {
    if (int32_t(time - StartTime) < 0) return;  // before the start (ticks compared by difference)
    CurrentTime = time;
    uint64_t total = 0;
    for (int i = 0; i < Systems->Count(); ++i) {
        TKelParticleSystem* system = Systems->GetSystem(i);
        if (!system) continue;
        system->Update(time);
        total += uint64_t(system->ParticleCount());
    }
    TotalParticles = uint32_t(std::min<uint64_t>(total, UINT32_MAX));
    Finished = (HasLifetime && Elapsed() >= Lifetime) ||
               (HasMinParticles && int64_t(MinParticles) >= int64_t(TotalParticles));
}

int TKelParticleEffect::AddTemplate(const std::string& name) {
    const int existing = Templates->IndexOf(name);
    if (existing >= 0) return existing;
    auto tmpl = std::make_unique<TKelParticleTemplate>();
    tmpl->SetName(name);
    tmpl->OwnerEffect = this;
    return Templates->Add(std::move(tmpl));
}

int TKelParticleEffect::AddSystem(const std::string& name, const std::string& templateName) {
    const int existing = Systems->IndexOf(name);
    if (existing >= 0) return existing;
    auto system = std::make_unique<TKelParticleSystem>();
    system->SetName(name);
    system->OwnerEffect = this;
    system->SetTemplate(Templates->GetTemplate(Templates->IndexOf(templateName)));
    return Systems->Add(std::move(system));
}

bool TKelParticleEffect::SetFunctionScript(const std::string& name, const std::string& script) {
    auto* path = dynamic_cast<TKelPiecewiseFunc*>(GetFunction(IndexOfFunction(name)));
    if (!path) return false;
    path->SetScript(script);
    return true;
}
