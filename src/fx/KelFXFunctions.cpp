// Morph function base, constant and parabolic kinds, the function library and the "Function"
// element reader. The piecewise kind is in KelFXPath.cpp, the periodic kind in
// KelFXPeriodic.cpp.
#include "fx/KelFXFunctions.h"

#include <stdexcept>

#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"
#include "fx/KelFXXml.h"

// ---- TKelMorphFunc ----

bool TKelMorphFunc::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelMorphFunc*>(source);
    if (!TKelBaseObject::Assign(source) || !src) return false;
    Dim = src->Dim;
    Owned = src->Owned;
    Weight = src->Weight;
    return true;
}

int TKelMorphFunc::GetParamIdx(const std::string& name) const {
    if (name == "Weight") return 0;
    InvalidParamName(name);
}

void TKelMorphFunc::SetParam(int index, const TKelVector& values) {
    if (index != 0) InvalidParamIndex(index);
    Weight = values[0];
}

void TKelMorphFunc::InvalidParamName(const std::string& param) const {
    throw std::runtime_error(std::string("[TKelMorphFunc.GetParamIdx]: Invalid ") + ClassName() +
                             " function \"" + Name() + "\" parameter \"" + param + "\"");
}

void TKelMorphFunc::InvalidParamIndex(int index) const {
    throw std::runtime_error(std::string("[TKelMorpFunc.SetParam]: Invalid ") + ClassName() +
                             " function \"" + Name() + "\" parameter index " +
                             std::to_string(index));
}

// ---- TKelConstantFunc ----

std::unique_ptr<TKelBaseObject> TKelConstantFunc::Create() const {
    return std::make_unique<TKelConstantFunc>();
}

bool TKelConstantFunc::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelConstantFunc*>(source);
    if (!src || !TKelMorphFunc::Assign(source)) return false;
    Value = src->Value;
    return true;
}

int TKelConstantFunc::GetParamIdx(const std::string& name) const {
    return name == "Value" ? 1 : TKelMorphFunc::GetParamIdx(name);
}

void TKelConstantFunc::SetParam(int index, const TKelVector& values) {
    if (index == 1) {
        Value = values;
        return;
    }
    TKelMorphFunc::SetParam(index, values);
}

void TKelConstantFunc::Evaluate(uint32_t, bool derivative, TKelVector& out) const {
    out = {};
    if (derivative) return;
    for (int i = 0; i < Dim; ++i) out[i] = Value[i];
}

// ---- TKelParabolicFunc ----

std::unique_ptr<TKelBaseObject> TKelParabolicFunc::Create() const {
    return std::make_unique<TKelParabolicFunc>();
}

bool TKelParabolicFunc::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelParabolicFunc*>(source);
    if (!src || !TKelMorphFunc::Assign(source)) return false;
    StartPosition = src->StartPosition;
    StartVelocity = src->StartVelocity;
    Acceleration = src->Acceleration;
    return true;
}

int TKelParabolicFunc::GetParamIdx(const std::string& name) const {
    if (name == "StartPosition") return 1;
    if (name == "StartVelocity") return 2;
    if (name == "Acceleration") return 3;
    return TKelMorphFunc::GetParamIdx(name);
}

void TKelParabolicFunc::SetParam(int index, const TKelVector& values) {
    switch (index) {
        case 1:
            StartPosition = values;
            break;
        case 2:
            StartVelocity = values;
            break;
        case 3:
            Acceleration = values;
            break;
        default:
            TKelMorphFunc::SetParam(index, values);
    }
}

void TKelParabolicFunc::Evaluate(uint32_t time, bool derivative, TKelVector& out) const {
    const float t = float(time) * 0.001f;
    out = {};
    for (int i = 0; i < Dim; ++i)
        out[i] = derivative ? StartVelocity[i] + 2 * Acceleration[i] * t
                            : StartPosition[i] + StartVelocity[i] * t + Acceleration[i] * t * t;
}

// ---- library and element reader ----

std::unique_ptr<TKelBaseObject> TKelMorphFuncLib::Create() const {
    return std::make_unique<TKelMorphFuncLib>();
}

TKelMorphFunc* TKelMorphFuncLib::GetFunc(int index) const {
    return dynamic_cast<TKelMorphFunc*>(GetItem(index));
}

namespace {

std::string RequiredFunctionAttr(const TKelXMLTag* tag, const char* name) {
    std::string value;
    if (!XmlAttr(tag, name, value))
        throw std::runtime_error(std::string("[CreateMorphFuncByTag]: <Function> tag has no \"") +
                                 name + "\" attribute");
    return value;
}

const std::string* ChildText(const TKelXMLTag* tag, const char* name) {
    const TKelXMLTag* child = XmlFind(tag, name);
    return child ? &XmlText(child) : nullptr;
}

}  // namespace

std::unique_ptr<TKelMorphFunc> CreateMorphFuncByTag(const TKelXMLTag* tag) {
    if (!tag || XmlName(tag) != "Function") return nullptr;
    std::string name;
    XmlAttr(tag, "Name", name);
    const uint8_t dim = ReadDim(RequiredFunctionAttr(tag, "Dim"));
    const std::string type = RequiredFunctionAttr(tag, "Type");

    std::unique_ptr<TKelMorphFunc> function;
    if (type == "constant") {
        auto constant = std::make_unique<TKelConstantFunc>();
        if (const std::string* text = ChildText(tag, "Value")) constant->Value = StrToVect(*text);
        function = std::move(constant);
    } else if (type == "piecewise") {
        auto piecewise = std::make_unique<TKelPiecewiseFunc>();
        piecewise->Dim = dim;  // the script's lengths are measured over Dim components
        if (const std::string* text = ChildText(tag, "Script")) piecewise->SetScript(*text);
        function = std::move(piecewise);
    } else if (type == "periodic") {
        auto periodic = std::make_unique<TKelPeriodicFunc>();
        const char* names[3] = {"XParam", "YParam", "ZParam"};
        for (int i = 0; i < 3; ++i)
            if (const std::string* text = ChildText(tag, names[i]))
                periodic->SetExpression(i, *text);
        function = std::move(periodic);
    } else if (type == "parabolic") {
        auto parabolic = std::make_unique<TKelParabolicFunc>();
        if (const std::string* text = ChildText(tag, "StartPosition"))
            parabolic->StartPosition = StrToVect(*text);
        if (const std::string* text = ChildText(tag, "StartVelocity"))
            parabolic->StartVelocity = StrToVect(*text);
        if (const std::string* text = ChildText(tag, "Acceleration"))
            parabolic->Acceleration = StrToVect(*text);
        function = std::move(parabolic);
    } else {
        throw std::runtime_error(
            "[CreateMorphFuncByTag]: Invalid <Function> tag \"Type\" attribute value");
    }
    function->SetName(name);
    function->Dim = dim;
    return function;
}

int AddFuncToLib(TKelMorphFuncLib* library, std::unique_ptr<TKelMorphFunc> function) {
    if (!library) throw std::runtime_error("[AddFuncToLib]: Library reference is invalid");
    if (!function) throw std::runtime_error("[AddFuncToLib]: Function reference is invalid");
    const int existing = library->IndexOf(function->Name());
    if (existing >= 0) return existing;
    function->Owned = 0;
    return library->Add(std::move(function));
}
