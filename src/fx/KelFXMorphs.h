// Morphs: a value of 1..3 components made of the weighted sum of morph functions, then scaled,
// rotated (an angle, or a rotator's matrix for three components) and moved; properties fixed
// when read, drawn from a range at Initialize, or bound to child morphs re-read at every
// evaluation; a simple perspective projection; the "Morph" element reader; morph libraries and
// the two global libraries. Relies on the object framework of core, KelFXFunctions and
// KelFXRotator; random numbers come from the random source of the morph's library.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/KelBaseObject.h"
#include "fx/KelFXFunctions.h"
#include "fx/KelFXRandom.h"
#include "fx/KelFXRotator.h"

class TKelMorph;
class TKelXMLTag;

// A dynamic parameter of a morph (type 0 position, 1 rotation, 2 scale, 3 time offset, 4 a
// function parameter). Particle templates reuse the record for their initial properties, where
// Type is a property code (-1..-5) and Place and AtBirth are used too.
struct TKelDynamicParams {
    int32_t Type = 0;
    int32_t FuncIndex = -1;
    int32_t ParamIndex = -1;
    uint8_t Source = 0;       // 0 constant, 1 random range, 2 child morph (or a source morph)
    int32_t ChildIndex = -1;  // the child (or source morph) index
    uint8_t Place = 0;        // initial properties: 0 parameter tree, 1 effect, 2 private morph
    TKelVector Low, High;
    uint8_t AtBirth = 0;  // initial properties: a "StartTime" of "T"
};

struct TChildMorphs {
    TKelMorph* Morph = nullptr;  // belongs to the library
    TKelVector Value;            // its last value
};

class TKelMorphLib : public TKelStaticCollection {
  public:
    IRandom* Random = nullptr;  // what the morphs of this library draw from; not owned

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelMorphLib"; }
    bool Assign(const TKelBaseObject* source) override;
    TKelMorph* GetMorph(int index) const;
};

TKelMorphFuncLib& GlobalFunctionsLibrary();
TKelMorphLib& GlobalMorphsLibrary();

class TKelMorph : public TKelBaseObject {
  public:
    uint8_t Dim = 2;
    uint32_t StartTime = 0;
    int32_t TimeOffset = 0;
    uint32_t Shift = 0;
    TKelMorphFuncLib* FuncLib = &GlobalFunctionsLibrary();
    std::vector<TKelMorphFunc*> Funcs;  // those with Owned set are destroyed with the morph
    int32_t CenterX = 400, CenterY = 300;
    float CameraDistance = 720;
    TKelVector Scale{{1, 1, 1}};
    TKelVector Position;
    float Angle = 0;
    TKelMatrix Matrix;
    TKelRotator Rotator;
    std::vector<TKelDynamicParams> DynParams;
    int32_t ChildBoundCount = 0;
    TKelMorphLib* MorphLib = &GlobalMorphsLibrary();
    std::vector<TChildMorphs> ChildMorphs;
    uint8_t HasScale = 0, HasRotation = 0, HasPosition = 0;

    TKelMorph() = default;
    ~TKelMorph() override;
    TKelMorph(const TKelMorph&) = delete;
    TKelMorph& operator=(const TKelMorph&) = delete;

    std::unique_ptr<TKelBaseObject> Create() const override;
    const char* ClassName() const override { return "TKelMorph"; }
    bool Assign(const TKelBaseObject* source) override;
    bool Initialize() override;

    void SetDim(int dim);            // 0, above 3 and the current value are ignored
    void SetStartTime(uint32_t ms);  // also in every child morph
    void SetTimeOffset(int32_t ms);  // also in every child morph
    void SetRotationPattern(const std::string& text);

    int AddFunc(TKelMorphFunc* function);  // -1 when its Dim differs
    int AddClonedFunc(const TKelMorphFunc* function);
    int AddFuncByName(const std::string& name);
    int AddClonedFuncByName(const std::string& name);
    int IndexOfFunc(const std::string& name) const;

    int AddChild(const std::string& name);
    int IndexOfChild(const std::string& name) const;
    // Appends every morph reachable through child morphs (descendants before each child),
    // then the morph itself.
    void GetMorphTree(std::vector<TKelMorph*>& list);

    int AddDynamicParam(int type, const TKelVector& low, int paramIndex, int funcIndex,
                        const std::string& childName, const TKelVector& high);
    int FindDynamicParam(int type, int funcIndex, int paramIndex) const;
    // selector: -1 position, -2 rotation, -3 scale, -4 time offset (seconds), -5 parameter
    // paramIndex of function funcIndex; 0 or more: that dynamic parameter, by its type.
    void ApplyProperty(int selector, const TKelVector& value, int paramIndex, int funcIndex);
    void SetPosition(const TKelVector& value);
    void SetScale(const TKelVector& value);
    void SetRotation(const TKelVector& value);

    float Evaluate1D(uint32_t time);
    TKelVector Evaluate2D(uint32_t time);
    TKelVector Evaluate3D(uint32_t time);
    TKelVector EvaluateProjected(uint32_t time);  // (x, y) on the screen
    TKelVector EvaluateByDim(uint32_t time);      // by the morph's own Dim, the rest 0

    void AddFuncByTag(const TKelXMLTag* tag);
    void AddParamByTag(const TKelXMLTag* tag);

    // Number of morph evaluations one evaluation of this morph costs (itself and its children,
    // counted with repetition); a child that would make it exceed MaxTreeSize is refused.
    uint32_t TreeSize = 1;
    static constexpr uint32_t MaxTreeSize = 256;

  private:
    TKelVector Sum(uint32_t time);
    void RefreshChildren(uint32_t time);
    void ApplyByType(int type, const TKelVector& value, int paramIndex, int funcIndex);
};

std::unique_ptr<TKelMorph> CreateMorph(const std::string& name, int dim, uint32_t startTime,
                                       TKelMorphLib* morphLib, TKelMorphFuncLib* funcLib,
                                       const std::string& pattern);
// Sets the destination's libraries and assigns the source; false without a source.
bool CopyMorph(TKelMorph* destination, const TKelMorph* source, TKelMorphFuncLib* funcLib,
               TKelMorphLib* morphLib);
std::unique_ptr<TKelMorph> CreateMorphByTag(const TKelXMLTag* tag, TKelMorphFuncLib* funcLib,
                                            TKelMorphLib* morphLib);
// Answers the index of the library's morph of that name (the new one is dropped), else adds it.
int AddMorphToLib(TKelMorphLib* library, std::unique_ptr<TKelMorph> morph);
