// Reading an effect file: the "ParticleEffect" element with its four sections (functions,
// morphs, particle templates, particle systems). Any error stops the reading; what was read so
// far stays in the effect. Relies on the XML parser of core and the element readers of the
// functions, morphs and templates.
#include <stdexcept>

#include "fx/KelFXNumbers.h"
#include "fx/KelFXParticles.h"
#include "fx/KelFXText.h"
#include "fx/KelFXXml.h"

namespace {

uint32_t SecondsToMs(const std::string& text) {
    return SaturateRound<uint32_t>(StrToFloatStrict(text) * 1000.0);
}

int32_t SecondsToMsSigned(const std::string& text) {
    return SaturateRound<int32_t>(StrToFloatStrict(text) * 1000.0);
}

}  // namespace

void TKelParticleEffect::LoadFromText(const std::string& text) {
    if (text.empty())
        throw std::runtime_error("[TKelParticleEffect.LoadFromStream]: Invalid effect \"" + Name() +
                                 "\" XML stream");
    TKelParser document;
    document.LoadFromString(text);
    AnalyzeXML(&document);
}

void TKelParticleEffect::AnalyzeXML(const TKelXMLTag* document) {
    const auto effectError = [&](const std::string& what) {
        return std::runtime_error("[TKelParticleEffect.AnalyzeXML]: Effect \"" + Name() + "\"" +
                                  what);
    };
    const TKelXMLTag* root = XmlFind(document, "ParticleEffect");
    if (!root) throw effectError(" XML description has no <ParticleEffect> tag");
    std::string value;
    if (!XmlAttr(root, "Name", value))
        throw std::runtime_error(
            "[TKelParticleEffect.AnalyzeXML]: Tag <ParticleEffect> has no \"Name\" attribute");
    SetName(FxShortName(value));
    if (XmlAttr(root, "Lifetime", value)) {
        HasLifetime = 1;
        Lifetime = SecondsToMs(value);
    }
    if (XmlAttr(root, "MinParticles", value)) {
        HasMinParticles = 1;
        MinParticles = StrToIntStrict(value);
    }
    const auto section = [&](const char* name) {
        const TKelXMLTag* tag = XmlFind(root, name);
        if (!tag) throw effectError(std::string(" XML description has no <") + name + "> tag");
        return tag;
    };
    const TKelXMLTag* functions = section("Functions");
    for (int i = 0; i < XmlChildCount(functions); ++i)
        AddFuncToLib(Functions.get(), CreateMorphFuncByTag(XmlChild(functions, i)));
    const TKelXMLTag* morphs = section("Morphs");
    for (int i = 0; i < XmlChildCount(morphs); ++i)
        AddMorphToLib(Morphs.get(),
                      CreateMorphByTag(XmlChild(morphs, i), Functions.get(), Morphs.get()));
    const TKelXMLTag* particles = section("Particles");
    for (int i = 0; i < XmlChildCount(particles); ++i) {
        const TKelXMLTag* particle = XmlChild(particles, i);
        if (XmlName(particle) != "Particle") continue;
        if (!XmlAttr(particle, "Name", value))
            throw std::runtime_error("<Particle> tag has no \"Name\" attribute");
        TKelParticleTemplate* tmpl = Templates->GetTemplate(AddTemplate(FxShortName(value)));
        for (int k = 0; k < XmlChildCount(particle); ++k)
            tmpl->AddParamTypeByTag(XmlChild(particle, k));
    }
    const TKelXMLTag* systems = section("ParticleSystems");
    for (int i = 0; i < XmlChildCount(systems); ++i) {
        const TKelXMLTag* tag = XmlChild(systems, i);
        if (XmlName(tag) != "ParticleSystem") continue;
        std::string name, templateName;
        if (!XmlAttr(tag, "Name", name))
            throw std::runtime_error("<ParticleSystem> tag has no \"Name\" attribute");
        if (!XmlAttr(tag, "Template", templateName))
            throw std::runtime_error("<ParticleSystem> tag has no \"Template\" attribute");
        ReadSystem(GetSystem(AddSystem(FxShortName(name), FxShortName(templateName))), tag);
    }
}

void TKelParticleEffect::ReadSystem(TKelParticleSystem* system, const TKelXMLTag* tag) {
    const auto text = [&](const char* name) -> const std::string* {
        const TKelXMLTag* child = XmlFind(tag, name);
        return child ? &XmlText(child) : nullptr;
    };
    if (const std::string* v = text("Position")) system->Position = StrToVect(*v);
    if (const std::string* v = text("InitParticles")) system->InitParticles = StrToIntStrict(*v);
    if (const std::string* v = text("InitInterval")) {
        const std::string interval = Trim(*v);
        if (!interval.empty() && interval[0] == '/') {
            system->InitDivided = 1;
            system->InitDivisor = StrToIntStrict(interval.substr(1));
        } else {
            system->InitDivided = 0;
            system->InitInterval = SecondsToMsSigned(interval);
        }
    }
    if (const std::string* v = text("MinParticles")) system->MinParticles = StrToIntStrict(*v);
    if (const std::string* v = text("MaxParticles")) system->MaxParticles = StrToIntStrict(*v);
    if (const std::string* v = text("ThrowInterval")) system->ThrowInterval = SecondsToMsSigned(*v);
    if (const std::string* v = text("ParticlesPerThrow"))
        system->ParticlesPerThrow = StrToIntStrict(*v);
    if (const std::string* v = text("EmissionInterval"))
        system->EmissionInterval = SecondsToMsSigned(*v);
    if (const std::string* v = text("ThrowsPerEmission"))
        system->ThrowsPerEmission = StrToIntStrict(*v);
    if (const std::string* v = text("MaxLifetime")) system->MaxLifetime = SecondsToMsSigned(*v);
    if (const std::string* v = text("FrameCount")) system->FrameCount = StrToIntStrict(*v);
    if (const std::string* v = text("Resource")) system->Resource = FxShortName(Trim(*v));
    if (const std::string* v = text("OutputMode")) system->OutputMode = StrToIntStrict(*v);
}
