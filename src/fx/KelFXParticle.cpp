// Particles: creation from a template (morphs shared or copied, initial properties applied at
// birth), the per-frame update (allocation-free), copying and the accessors the game draws with.
#include "fx/KelFXNumbers.h"
#include "fx/KelFXParticles.h"
#include "fx/KelFXText.h"

namespace {

// The value of a standard parameter that has no morph, by its position in the template.
TKelVector DefaultValue(size_t position) {
    switch (position) {
        case 1:
            return {{1, 0, 0}};  // Alpha
        case 2:
            return {{255, 255, 255}};  // Color
        case 5:
            return {{1, 1, 1}};  // Size
        default:
            return {};
    }
}

}  // namespace

std::unique_ptr<TKelParticle> CreateParticle(TKelParticleTemplate* tmpl, uint32_t time,
                                             TKelParticleSystem* system) {
    auto particle = std::make_unique<TKelParticle>();
    particle->System = system;
    TKelParticleEffect* effect = tmpl->OwnerEffect;
    IRandom* random = effect->Random();
    std::vector<TKelMorph*> tree;
    particle->Params.resize(tmpl->ParamTypes.size());
    for (size_t i = 0; i < tmpl->ParamTypes.size(); ++i) {
        const TKelParticleParamType& type = tmpl->ParamTypes[i];
        TKelParticleParams& record = particle->Params[i];
        TKelMorph* shared = effect->GetMorph(type.MorphIndex);
        tree.clear();
        if (!shared) {
            record.Value = DefaultValue(i);
        } else if (type.ClonedMorph) {
            record.Private = std::make_unique<TKelMorph>();
            CopyMorph(record.Private.get(), shared, effect->Functions.get(), effect->Morphs.get());
            record.Private->SetStartTime(time);
            record.Private->Initialize();
            record.Morph = record.Private.get();
        } else {
            record.Morph = shared;
        }
        if (record.Morph) record.Morph->GetMorphTree(tree);
        for (const TMorphInit& init : type.Inits) {
            TKelMorph* target =
                init.InTree
                    ? (size_t(init.MorphIndex) < tree.size() ? tree[init.MorphIndex] : nullptr)
                    : init.PrivateMorph.get();
            if (!target) continue;
            for (const TKelDynamicParams& property : init.Properties) {
                if (property.AtBirth) {
                    target->SetStartTime(time);
                    continue;
                }
                TKelVector value;
                if (property.Source == 2) {
                    TKelMorph* source = nullptr;
                    if (property.Place == 0 && size_t(property.ChildIndex) < tree.size())
                        source = tree[property.ChildIndex];
                    if (property.Place == 1) source = effect->GetMorph(property.ChildIndex);
                    if (property.Place == 2 && size_t(property.ChildIndex) < type.Inits.size())
                        source = type.Inits[property.ChildIndex].PrivateMorph.get();
                    if (!source) continue;
                    value = source->EvaluateByDim(time);
                } else if (property.Source == 1) {
                    for (int k = 0; k < type.Dim; ++k)
                        value[k] = property.Low[k] +
                                   FxRandom(random) * (property.High[k] - property.Low[k]);
                } else {
                    value = property.Low;
                }
                target->ApplyProperty(property.Type, value, property.ParamIndex,
                                      property.FuncIndex);
            }
        }
    }
    particle->SetBirth(time);
    return particle;
}

std::unique_ptr<TKelBaseObject> TKelParticle::Create() const {
    return std::make_unique<TKelParticle>();
}

bool TKelParticle::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelParticle*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    BirthTime = src->BirthTime;
    CurrentTime = src->CurrentTime;
    TimeShift = src->TimeShift;
    Dead = src->Dead;
    const TKelParticleTemplate* tmpl = System ? System->Template : nullptr;
    TKelParticleEffect* effect = System ? System->OwnerEffect : nullptr;
    Params.clear();
    Params.resize(src->Params.size());
    for (size_t i = 0; i < src->Params.size(); ++i) {
        TKelParticleParams& record = Params[i];
        record.Value = src->Params[i].Value;
        if (!tmpl || !effect || i >= tmpl->ParamTypes.size() || !src->Params[i].Morph) continue;
        const TKelParticleParamType& type = tmpl->ParamTypes[i];
        if (type.ClonedMorph) {
            record.Private = std::make_unique<TKelMorph>();
            CopyMorph(record.Private.get(), src->Params[i].Morph, effect->Functions.get(),
                      effect->Morphs.get());
            record.Morph = record.Private.get();
        } else {
            record.Morph = effect->GetMorph(type.MorphIndex);
        }
    }
    return true;
}

void TKelParticle::SetBirth(uint32_t time) {
    BirthTime = CurrentTime = time;
    for (TKelParticleParams& record : Params)
        if (record.Private) record.Private->SetStartTime(time);
}

void TKelParticle::SetShift(uint32_t ms) {
    TimeShift = ms;
    if (!Params.empty() && Params[0].Private) Params[0].Private->Shift = ms;
}

void TKelParticle::Update(uint32_t time) {
    CurrentTime = time;
    if (!System || !System->Template) return;
    const std::vector<TKelParticleParamType>& types = System->Template->ParamTypes;
    const size_t count = std::min(Params.size(), types.size());
    for (size_t i = 0; i < count; ++i) {
        TKelParticleParams& record = Params[i];
        TKelMorph* morph = record.Morph;
        if (!morph) continue;
        const TKelParticleParamType& type = types[i];
        if (!type.ClonedMorph) {
            morph->SetStartTime(BirthTime);
            if (i == 0) morph->Shift = TimeShift;
        }
        TKelVector& value = record.Value;
        if (type.Dim == 1) {
            value[0] = morph->Evaluate1D(time);
        } else if (type.Dim == 2) {
            const TKelVector v =
                morph->Dim == 3 ? morph->EvaluateProjected(time) : morph->Evaluate2D(time);
            value[0] = v[0], value[1] = v[1];
        } else {
            value = morph->Evaluate3D(time);
        }
        if (type.HasLiveValue) {
            for (int k = 0; k < type.Dim; ++k)
                if (value[k] < type.LiveMin[k] || value[k] > type.LiveMax[k]) {
                    Dead = 1;
                    return;
                }
            Dead = 0;
        }
        if (i == 0)
            for (int k = 0; k < type.Dim; ++k) value[k] += System->Position[k];
    }
}

int32_t TKelParticle::GetFrame() const {
    return SaturateRound<int32_t>(ValueAt(4)[0]);
}

int TKelParticle::IndexOfParam(const std::string& name) const {
    if (!System || !System->Template) return -1;
    return System->Template->IndexOfParamType(name);
}

const TKelParticleParams* TKelParticle::GetParamRecord(int index) const {
    return index >= 0 && size_t(index) < Params.size() ? &Params[index] : nullptr;
}

TKelVector TKelParticle::ValueAt(int index) const {
    return size_t(index) < Params.size() ? Params[index].Value : TKelVector{};
}
