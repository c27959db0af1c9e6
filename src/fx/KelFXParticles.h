// Particle templates and particles, particle systems and particle effects. A template lists the
// animated parameters of a kind of particle (each driven by a morph of the effect, shared or
// copied per particle, prepared at birth by initial morph properties, optionally limited to a
// live range); a particle holds one morph and the last value per parameter; a system throws
// particles of one template (initially, continuously or in bursts) and removes them; an effect
// owns the functions, morphs, templates and systems read from one effect file and runs one clock
// for them. "Now" is always given by the caller; random numbers come from the source given to
// the effect (SetRandom). Relies on KelFXFunctions, KelFXMorphs and the XML document classes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/KelBaseObject.h"
#include "fx/KelFXFunctions.h"
#include "fx/KelFXMorphs.h"

class TKelParticleEffect;
class TKelParticleSystem;
class TKelParser;

// ---- templates (KelFXTemplate.cpp) ----

// The initial properties a parameter gives one morph at each particle's birth.
struct TMorphInit {
    int32_t MorphIndex = -1;  // into the parameter's morph tree when InTree, else the effect's
    uint8_t InTree = 0;
    std::unique_ptr<TKelMorph> PrivateMorph;  // a copy of the effect morph, when not InTree
    std::vector<TKelDynamicParams> Properties;
};

struct TKelParticleParamType {
    std::string Name;  // at most 32 characters
    uint8_t Dim = 1;
    int32_t MorphIndex = -1;  // the driving morph in the effect's library, -1 for none
    uint8_t ClonedMorph = 0;  // each particle gets a private copy of the morph
    std::vector<TMorphInit> Inits;
    uint8_t HasLiveValue = 0;
    TKelVector LiveMin, LiveMax;
};

class TKelParticleTemplate : public TKelBaseObject {
  public:
    TKelParticleEffect* OwnerEffect = nullptr;  // not owned
    std::vector<TKelParticleParamType> ParamTypes;

    TKelParticleTemplate();  // with the six standard parameters
    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticleTemplate"; }
    bool Assign(const TKelBaseObject* source) override;
    bool Initialize() override;

    int AddParamType(const std::string& name, int dim);
    int IndexOfParamType(const std::string& name) const;
    void AddParamTypeByTag(const TKelXMLTag* tag);

  private:
    void OrderInits(TKelParticleParamType& type);
};

class TKelParticleTemplateLib : public TKelStaticCollection {
  public:
    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticleTemplateLib"; }
    TKelParticleTemplate* GetTemplate(int index) const;
};

// ---- particles (KelFXParticle.cpp) ----

struct TKelParticleParams {
    TKelMorph* Morph = nullptr;          // the private copy or the effect's shared morph
    std::unique_ptr<TKelMorph> Private;  // set when the parameter's morph is cloned
    TKelVector Value;
};

class TKelParticle : public TKelBaseObject {
  public:
    TKelParticleSystem* System = nullptr;  // not owned
    std::vector<TKelParticleParams> Params;
    uint32_t BirthTime = 0;
    uint32_t CurrentTime = 0;
    uint32_t TimeShift = 0;  // ms given to the morph of parameter 0
    uint8_t Dead = 0;

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticle"; }
    bool Assign(const TKelBaseObject* source) override;

    void SetBirth(uint32_t time);
    void SetShift(uint32_t ms);
    virtual void Update(uint32_t time);  // allocates nothing
    uint32_t Age() const { return CurrentTime - BirthTime; }

    TKelVector GetPosition() const { return ValueAt(0); }
    float GetAlpha() const { return ValueAt(1)[0]; }
    TKelVector GetColor() const { return ValueAt(2); }
    float GetColorValue() const { return ValueAt(3)[0]; }
    int32_t GetFrame() const;  // rounded, halves to even
    int IndexOfParam(const std::string& name) const;
    const TKelParticleParams* GetParamRecord(int index) const;

  private:
    TKelVector ValueAt(int index) const;
};

// A new particle of the template born at `time` in `system` (Params set up, inits applied).
std::unique_ptr<TKelParticle> CreateParticle(TKelParticleTemplate* tmpl, uint32_t time,
                                             TKelParticleSystem* system);

// ---- systems (KelFXSystem.cpp) ----

class TKelParticleSystem : public TKelBaseObject {
  public:
    // No system holds more particles than this, whatever its file says.
    static inline int32_t ParticleLimit = 10000;

    TKelParticleEffect* OwnerEffect = nullptr;  // not owned
    TKelParticleTemplate* Template = nullptr;   // not owned
    std::vector<std::unique_ptr<TKelParticle>> Particles;
    int32_t InitParticles = 0;
    int32_t InitInterval = 0;
    uint8_t InitDivided = 0;
    int32_t InitDivisor = 0;
    int32_t MinParticles = 0;
    int32_t MaxParticles = 2147483647;
    int32_t MaxLifetime = 0;
    int32_t ThrowInterval = 0;
    int32_t ParticlesPerThrow = 0;
    int32_t EmissionInterval = 0;
    int32_t ThrowsPerEmission = 0;
    int32_t FrameCount = 0;
    std::string Resource;
    int32_t OutputMode = 0;  // 0 plain, 1 additive, 2 shader
    uint32_t LastThrow = 0;
    uint32_t LastEmissionEnd = 0;
    uint8_t Emitting = 0;
    int32_t ThrowsDone = 0;
    TKelVector Position;

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticleSystem"; }
    bool Assign(const TKelBaseObject* source) override;
    bool Initialize() override;

    void SetTemplate(TKelParticleTemplate* tmpl);
    int ParticleCount() const { return int(Particles.size()); }
    TKelParticle* GetParticle(int index) const;
    void ClearParticles() { Particles.clear(); }
    void Throw(int64_t count, bool spread);
    void Update(uint32_t time);
};

class TKelParticleSystemLib : public TKelStaticCollection {
  public:
    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticleSystemLib"; }
    TKelParticleSystem* GetSystem(int index) const;
};

// ---- effects (KelFXEffect.cpp, KelFXEffectReader.cpp) ----

class TKelParticleEffect : public TKelBaseObject {
  public:
    uint32_t StartTime = 0, CurrentTime = 0;
    uint32_t TotalParticles = 0;
    uint8_t HasLifetime = 0;
    uint32_t Lifetime = 4294967295u;
    uint8_t HasMinParticles = 0;
    int32_t MinParticles = 0;
    uint8_t Finished = 0;
    std::unique_ptr<TKelMorphFuncLib> Functions = std::make_unique<TKelMorphFuncLib>();
    std::unique_ptr<TKelMorphLib> Morphs = std::make_unique<TKelMorphLib>();
    std::unique_ptr<TKelParticleTemplateLib> Templates =
        std::make_unique<TKelParticleTemplateLib>();
    std::unique_ptr<TKelParticleSystemLib> Systems = std::make_unique<TKelParticleSystemLib>();

    TKelParticleEffect() = default;
    ~TKelParticleEffect() override;
    TKelParticleEffect(const TKelParticleEffect&) = delete;
    TKelParticleEffect& operator=(const TKelParticleEffect&) = delete;

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelParticleEffect"; }
    bool Assign(const TKelBaseObject* source) override;
    bool Initialize() override;

    // The source every random draw of this effect takes (ranges of morphs and initial
    // properties); not owned. Without one every draw gives 0.
    void SetRandom(IRandom* random) { Morphs->Random = random; }
    IRandom* Random() const { return Morphs->Random; }

    // Reads an effect file's bytes; an empty text raises
    // "[TKelParticleEffect.LoadFromStream]: Invalid effect "<name>" XML stream".
    void LoadFromText(const std::string& text);
    void AnalyzeXML(const TKelXMLTag* document);

    void Start(uint32_t time);
    void SetLifetime(uint32_t ms);
    void Update(uint32_t time);
    uint32_t Elapsed() const { return CurrentTime - StartTime; }

    int SystemCount() const { return Systems->Count(); }
    TKelParticleSystem* GetSystem(int index) const { return Systems->GetSystem(index); }
    int IndexOfFunction(const std::string& name) const { return Functions->IndexOf(name); }
    TKelMorphFunc* GetFunction(int index) const { return Functions->GetFunc(index); }
    int IndexOfMorph(const std::string& name) const { return Morphs->IndexOf(name); }
    TKelMorph* GetMorph(int index) const { return Morphs->GetMorph(index); }
    int AddTemplate(const std::string& name);
    int AddSystem(const std::string& name, const std::string& templateName);

    // Gives the piecewise function of that name a run-time path. Answers false, changing
    // nothing, when the effect has no such function or it is of another kind.
    bool SetFunctionScript(const std::string& name, const std::string& script);

  private:
    void ReadSystem(TKelParticleSystem* system, const TKelXMLTag* tag);
};
