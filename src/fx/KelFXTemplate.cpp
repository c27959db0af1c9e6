// Particle templates: the standard parameters, the "Parameter" element reader (driving morph,
// live range, initial morph properties) and the ordering of the initial properties.
#include <algorithm>
#include <stdexcept>

#include "fx/KelFXParticles.h"
#include "fx/KelFXText.h"
#include "fx/KelFXXml.h"

namespace {

const char* const Where = "[TKelParticleTemplate.AddParamTypeByTag]: ";
// Initial morphs one parameter may have; ordering them costs cubic time in their number.
constexpr size_t MaxInits = 256;

std::runtime_error ParamError(const std::string& text) {
    return std::runtime_error(Where + text);
}

int IndexInTree(const std::vector<TKelMorph*>& tree, const std::string& name) {
    for (size_t i = 0; i < tree.size(); ++i)
        if (SameText(tree[i]->Name(), name)) return int(i);
    return -1;
}

}  // namespace

TKelParticleTemplate::TKelParticleTemplate() {
    AddParamType("Position", 2);
    AddParamType("Alpha", 1);
    AddParamType("Color", 3);
    AddParamType("ColorValue", 1);
    AddParamType("Frame", 1);
    AddParamType("Size", 2);
}

std::unique_ptr<TKelBaseObject> TKelParticleTemplate::Create() const {
    return std::make_unique<TKelParticleTemplate>();
}

bool TKelParticleTemplate::Assign(const TKelBaseObject* source) {
    const auto* src = dynamic_cast<const TKelParticleTemplate*>(source);
    if (!src || !TKelBaseObject::Assign(source)) return false;
    ParamTypes.clear();
    for (const TKelParticleParamType& type : src->ParamTypes) {
        TKelParticleParamType copy;
        copy.Name = type.Name;
        copy.Dim = type.Dim;
        copy.MorphIndex = type.MorphIndex;
        copy.ClonedMorph = type.ClonedMorph;
        copy.HasLiveValue = type.HasLiveValue;
        copy.LiveMin = type.LiveMin;
        copy.LiveMax = type.LiveMax;
        for (const TMorphInit& init : type.Inits) {
            TMorphInit initCopy;
            initCopy.MorphIndex = init.MorphIndex;
            initCopy.InTree = init.InTree;
            initCopy.Properties = init.Properties;
            if (init.PrivateMorph) {
                initCopy.PrivateMorph = std::make_unique<TKelMorph>();
                CopyMorph(initCopy.PrivateMorph.get(), init.PrivateMorph.get(),
                          OwnerEffect->Functions.get(), OwnerEffect->Morphs.get());
            }
            copy.Inits.push_back(std::move(initCopy));
        }
        ParamTypes.push_back(std::move(copy));
    }
    return true;
}

bool TKelParticleTemplate::Initialize() {
    if (!TKelBaseObject::Initialize()) return false;
    for (TKelParticleParamType& type : ParamTypes)
        for (TMorphInit& init : type.Inits) {
            if (!init.PrivateMorph) continue;
            init.PrivateMorph->SetStartTime(OwnerEffect ? OwnerEffect->StartTime : 0);
            if (!init.PrivateMorph->Initialize()) return false;
        }
    return true;
}

int TKelParticleTemplate::AddParamType(const std::string& name, int dim) {
    int index = IndexOfParamType(name);
    if (index < 0) {
        ParamTypes.emplace_back();
        index = int(ParamTypes.size()) - 1;
    }
    TKelParticleParamType& type = ParamTypes[index];
    type.Name = FxShortName(name);
    type.Dim = uint8_t(dim);
    type.MorphIndex = -1;
    type.ClonedMorph = 0;
    type.HasLiveValue = 0;
    type.LiveMin = type.LiveMax = {};
    return index;
}

int TKelParticleTemplate::IndexOfParamType(const std::string& name) const {
    for (size_t i = 0; i < ParamTypes.size(); ++i)
        if (SameText(ParamTypes[i].Name, name)) return int(i);
    return -1;
}

void TKelParticleTemplate::AddParamTypeByTag(const TKelXMLTag* tag) {
    if (XmlName(tag) != "Parameter")
        throw ParamError("<Particle> tag contains invalid tag \"" + XmlName(tag) + "\"");
    std::string name, dim, morphName, cloned;
    if (!XmlAttr(tag, "Name", name)) throw ParamError("<Parameter> tag has no \"Name\" attribute");
    if (!XmlAttr(tag, "Dim", dim)) throw ParamError("<Parameter> tag has no \"Dim\" attribute");
    const int index = AddParamType(FxShortName(name), ReadDim(dim));
    TKelParticleParamType& type = ParamTypes[index];
    TKelMorphLib* morphs = OwnerEffect->Morphs.get();

    std::vector<TKelMorph*> tree;
    if (XmlAttr(tag, "Morph", morphName)) {
        type.MorphIndex = morphs->IndexOf(morphName);
        if (type.MorphIndex < 0)
            throw ParamError("<Parameter> tag \"Morph\" attribute contains unknown Morph name \"" +
                             morphName + "\"");
        morphs->GetMorph(type.MorphIndex)->GetMorphTree(tree);
    }
    if (XmlAttr(tag, "ClonedMorph", cloned)) type.ClonedMorph = Trim(cloned) == "true";

    for (int i = 0; i < XmlChildCount(tag); ++i) {
        const TKelXMLTag* child = XmlChild(tag, i);
        if (XmlName(child) == "LiveValue") {
            const std::string& text = XmlText(child);
            const size_t dash = text.find(")-(", 1);
            if (dash == std::string::npos)
                throw ParamError("<LiveValue> tag value \"" + text + "\" has invalid syntax");
            type.LiveMin = StrToVect(text.substr(0, dash + 1));
            type.LiveMax = StrToVect(text.substr(dash + 2));
            type.HasLiveValue = 1;
            continue;
        }
        if (XmlName(child) != "InitMorphs")
            throw ParamError("<Parameter> tag contains invalid tag <" + XmlName(child) + ">");
        for (int k = 0; k < XmlChildCount(child); ++k) {
            const TKelXMLTag* initTag = XmlChild(child, k);
            if (XmlName(initTag) != "InitMorph")
                throw ParamError("<InitMorphs> tag contains invalid tag \"" + XmlName(initTag) +
                                 "\"");
            if (type.Inits.size() >= MaxInits)
                throw ParamError("<InitMorphs> tag has more than " + std::to_string(MaxInits) +
                                 " <InitMorph> tags");
            std::string initName;
            if (!XmlAttr(initTag, "Name", initName))
                throw ParamError("<InitMorph> tag has no \"Name\" attribute");
            TMorphInit init;
            TKelMorph* morph = nullptr;
            if (const int inTree = IndexInTree(tree, initName); inTree >= 0) {
                init.InTree = 1;
                init.MorphIndex = inTree;
                morph = tree[inTree];
            } else if (const int inLib = morphs->IndexOf(initName); inLib >= 0) {
                init.MorphIndex = inLib;
                init.PrivateMorph = std::make_unique<TKelMorph>();
                CopyMorph(init.PrivateMorph.get(), morphs->GetMorph(inLib),
                          OwnerEffect->Functions.get(), morphs);
                morph = init.PrivateMorph.get();
            } else {
                throw ParamError(
                    "<InitMorph> tag \"Name\" attribute contains unknown Morph name \"" + initName +
                    "\"");
            }
            for (int p = 0; p < XmlChildCount(initTag); ++p) {
                const TKelXMLTag* propertyTag = XmlChild(initTag, p);
                if (XmlName(propertyTag) != "Property")
                    throw ParamError("<InitMorph> tag contains invalid tag <" +
                                     XmlName(propertyTag) + ">");
                std::string propertyName;
                if (!XmlAttr(propertyTag, "Name", propertyName))
                    throw ParamError("<Property> tag has no \"Name\" attribute");
                const std::string& text = XmlText(propertyTag);
                TKelDynamicParams property;
                if (propertyName == "Position") {
                    property.Type = -1;
                } else if (propertyName == "Rotation") {
                    property.Type = -2;
                } else if (propertyName == "Scale") {
                    property.Type = -3;
                } else if (propertyName == "StartTime") {
                    property.Type = -4;
                    property.AtBirth = Trim(text) == "T";
                } else {
                    const size_t dot = propertyName.find('.');
                    if (dot == std::string::npos || dot == 0)
                        throw ParamError("<Property> tag \"Name\" attribute has invalid value \"" +
                                         propertyName + "\"");
                    property.FuncIndex = morph->IndexOfFunc(propertyName.substr(0, dot));
                    if (property.FuncIndex < 0)
                        throw ParamError("<Property> tag \"Name\" attribute value \"" +
                                         propertyName + "\" contains unknown Function name");
                    property.ParamIndex =
                        morph->Funcs[property.FuncIndex]->GetParamIdx(propertyName.substr(dot + 1));
                    if (property.ParamIndex < 1)
                        throw ParamError("<Property> tag \"Name\" attribute value \"" +
                                         propertyName + "\" contains unknown parameter name");
                    property.Type = -5;
                }
                const size_t range = text.find("..");
                if (const int inTree = IndexInTree(tree, text); inTree >= 0) {
                    property.Source = 2, property.Place = 0, property.ChildIndex = inTree;
                } else if (const int inLib = morphs->IndexOf(text); inLib >= 0) {
                    property.Source = 2, property.Place = 1, property.ChildIndex = inLib;
                } else if (range != std::string::npos && range >= 3) {
                    property.Source = 1;
                    property.Low = StrToVect(text.substr(0, range));
                    property.High = StrToVect(text.substr(range + 2));
                } else if (!property.AtBirth) {
                    property.Low = property.High = StrToVect(text);
                }
                init.Properties.push_back(property);
            }
            type.Inits.push_back(std::move(init));
        }
    }
    OrderInits(type);
}

// Inits on effect morphs first, each after those whose morph it reads (file order among the
// members of a cycle); then the inits on tree morphs by tree index. Afterwards a property of a
// later init that reads an effect morph reads the private copy of the first earlier init on that
// morph instead.
void TKelParticleTemplate::OrderInits(TKelParticleParamType& type) {
    std::vector<TMorphInit>& inits = type.Inits;
    const size_t count = inits.size();
    auto reads = [&](size_t a, size_t b) {  // init a reads the morph of init b
        if (a == b || inits[b].InTree) return false;
        for (const TKelDynamicParams& property : inits[a].Properties)
            if (property.Source == 2 && property.Place == 1 &&
                property.ChildIndex == inits[b].MorphIndex)
                return true;
        return false;
    };
    std::vector<size_t> order;
    std::vector<bool> placed(count, false);
    std::vector<size_t> library;
    for (size_t i = 0; i < count; ++i)
        if (!inits[i].InTree) library.push_back(i);
    while (order.size() < library.size()) {
        size_t pick = count;
        for (size_t a : library) {
            if (placed[a]) continue;
            bool ready = true;
            for (size_t b : library)
                if (!placed[b] && reads(a, b)) ready = false;
            if (ready) {
                pick = a;
                break;
            }
        }
        if (pick == count)  // a cycle: the first unplaced one in file order
            for (size_t a : library)
                if (!placed[a]) {
                    pick = a;
                    break;
                }
        placed[pick] = true;
        order.push_back(pick);
    }
    std::vector<size_t> tree;
    for (size_t i = 0; i < count; ++i)
        if (inits[i].InTree) tree.push_back(i);
    std::stable_sort(tree.begin(), tree.end(),
                     [&](size_t a, size_t b) { return inits[a].MorphIndex < inits[b].MorphIndex; });
    order.insert(order.end(), tree.begin(), tree.end());

    std::vector<int> newPosition(count);
    for (size_t i = 0; i < count; ++i) newPosition[order[i]] = int(i);
    std::vector<TMorphInit> sorted;
    sorted.reserve(count);
    for (size_t index : order) sorted.push_back(std::move(inits[index]));
    inits = std::move(sorted);

    for (size_t j = 0; j < count; ++j)
        for (TKelDynamicParams& property : inits[j].Properties) {
            if (property.Source != 2) continue;
            if (property.Place == 2) {
                property.ChildIndex = newPosition[property.ChildIndex];
                continue;
            }
            if (property.Place != 1 || j == 0) continue;
            for (size_t i = 0; i < j; ++i)
                if (!inits[i].InTree && inits[i].MorphIndex == property.ChildIndex) {
                    property.Place = 2;
                    property.ChildIndex = int(i);
                    break;
                }
        }
}

std::unique_ptr<TKelBaseObject> TKelParticleTemplateLib::Create() const {
    return std::make_unique<TKelParticleTemplateLib>();
}

TKelParticleTemplate* TKelParticleTemplateLib::GetTemplate(int index) const {
    return dynamic_cast<TKelParticleTemplate*>(GetItem(index));
}
