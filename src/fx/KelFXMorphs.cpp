// Morph evaluation, properties, child morphs, copying and the libraries; the element reader is
// in KelFXMorphReader.cpp.
#include "fx/KelFXMorphs.h"

#include <stdexcept>

#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"

// ---- libraries ----

std::unique_ptr<TKelBaseObject> TKelMorphLib::Create() const {
    return std::make_unique<TKelMorphLib>();
}

bool TKelMorphLib::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelMorphLib*>(source);
    if (!src || !TKelStaticCollection::Assign(source)) return false;
    Random = src->Random;
    return true;
}

TKelMorph* TKelMorphLib::GetMorph(int index) const {
    return dynamic_cast<TKelMorph*>(GetItem(index));
}

TKelMorphFuncLib& GlobalFunctionsLibrary() {
    static TKelMorphFuncLib library;
    static const bool named = (library.SetName("GlobalFunctionsLibrary"), true);
    (void)named;
    return library;
}

TKelMorphLib& GlobalMorphsLibrary() {
    static TKelMorphLib library;
    static const bool named = (library.SetName("GlobalMorphsLibrary"), true);
    (void)named;
    return library;
}

// ---- TKelMorph ----

TKelMorph::~TKelMorph() {
    for (TKelMorphFunc* function : Funcs)
        if (function->Owned) delete function;
}

std::unique_ptr<TKelBaseObject> TKelMorph::Create() const {
    return std::make_unique<TKelMorph>();
}

bool TKelMorph::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelMorph*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    Dim = src->Dim;
    StartTime = src->StartTime;
    TimeOffset = src->TimeOffset;
    Shift = src->Shift;
    CenterX = src->CenterX;
    CenterY = src->CenterY;
    CameraDistance = src->CameraDistance;
    Position = src->Position;
    HasPosition = src->HasPosition;
    Angle = src->Angle;
    Matrix = src->Matrix;
    Rotator.Assign(&src->Rotator);
    HasRotation = src->HasRotation;
    Scale = src->Scale;
    HasScale = src->HasScale;
    // Functions come from this morph's own library: private copies where the source had them.
    for (const TKelMorphFunc* function : src->Funcs) {
        if (function->Owned)
            AddClonedFuncByName(function->Name());
        else
            AddFuncByName(function->Name());
    }
    for (const TKelDynamicParams& param : src->DynParams) {
        const std::string child =
            param.ChildIndex >= 0 ? src->ChildMorphs[param.ChildIndex].Morph->Name() : "";
        AddDynamicParam(param.Type, param.Low, param.ParamIndex, param.FuncIndex, child,
                        param.High);
    }
    return true;
}

bool TKelMorph::Initialize() {
    if (!TKelBaseObject::Initialize()) return false;
    for (TChildMorphs& child : ChildMorphs)
        if (!child.Morph->Initialize()) return false;
    const uint32_t now = StartTime + uint32_t(TimeOffset) + Shift;
    for (TChildMorphs& child : ChildMorphs) child.Value = child.Morph->EvaluateByDim(now);
    for (size_t i = 0; i < DynParams.size(); ++i) {
        const TKelDynamicParams& param = DynParams[i];
        TKelVector value = param.Low;
        if (param.Source == 1) {
            for (int k = 0; k < Dim; ++k)
                value[k] =
                    param.Low[k] + FxRandom(MorphLib->Random) * (param.High[k] - param.Low[k]);
        } else if (param.Source == 2) {
            value = ChildMorphs[param.ChildIndex].Value;
        }
        ApplyProperty(int(i), value, param.ParamIndex, param.FuncIndex);
    }
    return true;
}

void TKelMorph::SetDim(int dim) {
    if (dim < 1 || dim > 3 || dim == Dim) return;
    Dim = uint8_t(dim);
    if (dim != 3) return;
    Rotator.Clear();
    Rotator.AddItem('X', 1, {}, 0);
    Rotator.AddItem('Y', 2, {}, 0);
    Rotator.AddItem('Z', 3, {}, 0);
    Matrix = Rotator.Matrix;
}

void TKelMorph::SetStartTime(uint32_t ms) {
    StartTime = ms;
    for (TChildMorphs& child : ChildMorphs) child.Morph->SetStartTime(ms);
}

void TKelMorph::SetTimeOffset(int32_t ms) {
    TimeOffset = ms;
    for (TChildMorphs& child : ChildMorphs) child.Morph->SetTimeOffset(ms);
}

void TKelMorph::SetRotationPattern(const std::string& text) {
    if (Dim != 3) return;
    Rotator.SetRotationPattern(text);
    if (Rotator.Count() > 0) HasRotation = 1;
}

int TKelMorph::AddFunc(TKelMorphFunc* function) {
    if (!function || function->Dim != Dim) return -1;
    Funcs.push_back(function);
    return int(Funcs.size()) - 1;
}

int TKelMorph::AddClonedFunc(const TKelMorphFunc* function) {
    if (!function) return -1;
    std::unique_ptr<TKelBaseObject> object = function->Create();
    auto* copy = dynamic_cast<TKelMorphFunc*>(object.get());
    if (!copy || !copy->Assign(function)) return -1;
    copy->Owned = 1;
    const int index = AddFunc(copy);
    if (index >= 0) object.release();  // now owned by this morph
    return index;
}

int TKelMorph::AddFuncByName(const std::string& name) {
    return AddFunc(FuncLib->GetFunc(FuncLib->IndexOf(name)));
}

int TKelMorph::AddClonedFuncByName(const std::string& name) {
    return AddClonedFunc(FuncLib->GetFunc(FuncLib->IndexOf(name)));
}

int TKelMorph::IndexOfFunc(const std::string& name) const {
    for (size_t i = 0; i < Funcs.size(); ++i)
        if (SameText(Funcs[i]->Name(), name)) return int(i);
    return -1;
}

int TKelMorph::AddChild(const std::string& name) {
    if (name.empty()) return -1;
    const int existing = IndexOfChild(name);
    if (existing >= 0) return existing;
    TKelMorph* child = MorphLib->GetMorph(MorphLib->IndexOf(name));
    if (!child) return -1;
    if (child == this || TreeSize + child->TreeSize > MaxTreeSize)
        throw std::runtime_error("[TKelMorph.AddChild]: Morph \"" + Name() +
                                 "\" would grow too large a morph tree with \"" + name + "\"");
    TreeSize += child->TreeSize;
    ChildMorphs.push_back({child, {}});
    return int(ChildMorphs.size()) - 1;
}

int TKelMorph::IndexOfChild(const std::string& name) const {
    for (size_t i = 0; i < ChildMorphs.size(); ++i)
        if (SameText(ChildMorphs[i].Morph->Name(), name)) return int(i);
    return -1;
}

void TKelMorph::GetMorphTree(std::vector<TKelMorph*>& list) {
    for (TChildMorphs& child : ChildMorphs) child.Morph->GetMorphTree(list);
    list.push_back(this);
}

int TKelMorph::AddDynamicParam(int type, const TKelVector& low, int paramIndex, int funcIndex,
                               const std::string& childName, const TKelVector& high) {
    const int existing = FindDynamicParam(type, funcIndex, paramIndex);
    if (existing >= 0) return existing;
    TKelDynamicParams param;
    param.Type = type;
    param.FuncIndex = funcIndex;
    param.ParamIndex = paramIndex;
    param.Low = low;
    param.High = high;
    param.Source = VectSqrLength(VectSub(high, low, Dim), Dim) >= 1e-12f ? 1 : 0;
    const int child = AddChild(childName);
    if (child >= 0) {
        param.ChildIndex = child;
        param.Source = 2;
        ++ChildBoundCount;
    }
    DynParams.push_back(param);
    return int(DynParams.size()) - 1;
}

int TKelMorph::FindDynamicParam(int type, int funcIndex, int paramIndex) const {
    for (size_t i = 0; i < DynParams.size(); ++i) {
        const TKelDynamicParams& param = DynParams[i];
        if (param.Type == type && param.FuncIndex == funcIndex && param.ParamIndex == paramIndex)
            return int(i);
    }
    return -1;
}

void TKelMorph::ApplyProperty(int selector, const TKelVector& value, int paramIndex,
                              int funcIndex) {
    if (selector < 0) return ApplyByType(-1 - selector, value, paramIndex, funcIndex);
    if (size_t(selector) >= DynParams.size()) return;
    const TKelDynamicParams& param = DynParams[selector];
    ApplyByType(param.Type, value, param.ParamIndex, param.FuncIndex);
}

void TKelMorph::ApplyByType(int type, const TKelVector& value, int paramIndex, int funcIndex) {
    switch (type) {
        case 0:
            SetPosition(value);
            break;
        case 1:
            SetRotation(value);
            break;
        case 2:
            SetScale(value);
            break;
        case 3:
            SetTimeOffset(SaturateRound<int32_t>(double(value[0]) * 1000.0));
            break;
        case 4:
            if (funcIndex >= 0 && size_t(funcIndex) < Funcs.size())
                Funcs[funcIndex]->SetParam(paramIndex, value);
            break;
        default:
            break;
    }
}

void TKelMorph::SetPosition(const TKelVector& value) {
    Position = value;
    HasPosition = 1;
}

void TKelMorph::SetScale(const TKelVector& value) {
    Scale = value;
    HasScale = 1;
}

void TKelMorph::SetRotation(const TKelVector& value) {
    if (Dim == 3) {
        Rotator.UpdateAngles(value.C, 3);
        Matrix = Rotator.Matrix;
    } else {
        Angle = value[0];
    }
    HasRotation = 1;
}

void TKelMorph::RefreshChildren(uint32_t time) {
    for (TChildMorphs& child : ChildMorphs) child.Value = child.Morph->EvaluateByDim(time);
    for (const TKelDynamicParams& param : DynParams)
        if (param.ChildIndex >= 0)
            ApplyByType(param.Type, ChildMorphs[param.ChildIndex].Value, param.ParamIndex,
                        param.FuncIndex);
}

TKelVector TKelMorph::Sum(uint32_t time) {
    if (ChildBoundCount != 0) RefreshChildren(time);
    const uint32_t tau = time + uint32_t(TimeOffset) + Shift - StartTime;  // wraps before start
    TKelVector value, term;
    for (const TKelMorphFunc* function : Funcs) {
        function->Evaluate(tau, false, term);
        for (int i = 0; i < Dim; ++i) value[i] += function->Weight * term[i];
    }
    if (HasScale)
        for (int i = 0; i < Dim; ++i) value[i] *= Scale[i];
    if (HasRotation) {
        if (Dim == 3)
            value = MatrixTransform(Matrix, value);
        else
            value = VectTurn(value, Angle, Dim, {});
    }
    if (HasPosition)
        for (int i = 0; i < Dim; ++i) value[i] += Position[i];
    return value;
}

TKelVector TKelMorph::EvaluateByDim(uint32_t time) {
    return Sum(time);
}
float TKelMorph::Evaluate1D(uint32_t time) {
    return Sum(time)[0];
}

TKelVector TKelMorph::Evaluate2D(uint32_t time) {
    TKelVector value = Sum(time);
    value[2] = 0;
    return value;
}

TKelVector TKelMorph::Evaluate3D(uint32_t time) {
    return Sum(time);
}

TKelVector TKelMorph::EvaluateProjected(uint32_t time) {
    const TKelVector p = Evaluate3D(time);
    const float d = CameraDistance;
    const float depth = d + p[2];
    // A point in the camera's plane has no projection: it is drawn at the centre.
    const float k = depth == 0 ? 0.0f : float(d / depth);
    return {{p[0] * k + float(CenterX), float(CenterY) - p[1] * k, 0}};
}

// ---- free functions ----

std::unique_ptr<TKelMorph> CreateMorph(const std::string& name, int dim, uint32_t startTime,
                                       TKelMorphLib* morphLib, TKelMorphFuncLib* funcLib,
                                       const std::string& pattern) {
    auto morph = std::make_unique<TKelMorph>();
    morph->SetName(name);
    if (morphLib) morph->MorphLib = morphLib;
    if (funcLib) morph->FuncLib = funcLib;
    morph->SetDim(dim);
    morph->StartTime = startTime;
    if (!pattern.empty()) morph->SetRotationPattern(pattern);
    return morph;
}

bool CopyMorph(TKelMorph* destination, const TKelMorph* source, TKelMorphFuncLib* funcLib,
               TKelMorphLib* morphLib) {
    if (!destination || !source) return false;
    destination->FuncLib = funcLib;
    destination->MorphLib = morphLib;
    return destination->Assign(source);
}

int AddMorphToLib(TKelMorphLib* library, std::unique_ptr<TKelMorph> morph) {
    if (!library) throw std::runtime_error("[AddMorphToLib]: Library reference is invalid");
    if (!morph) throw std::runtime_error("[AddMorphToLib]: Morph reference is invalid");
    const int existing = library->IndexOf(morph->Name());
    if (existing >= 0) return existing;
    return library->Add(std::move(morph));
}
