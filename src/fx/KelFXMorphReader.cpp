// Reading morphs from "Morph" elements: their functions ("Functions"/"Function") and properties
// ("Properties"/"Property": fixed values, ranges, child morphs, rotation pattern, viewport and
// camera). Relies on the XML helpers and on strict number reading.
#include <stdexcept>

#include "fx/KelFXMorphs.h"
#include "fx/KelFXNumbers.h"
#include "fx/KelFXText.h"
#include "fx/KelFXXml.h"

void TKelMorph::AddFuncByTag(const TKelXMLTag* tag) {
    if (XmlName(tag) != "Function")
        throw std::runtime_error(
            "[TKelMorph.AddFuncByTag]: <Functions> tag contains invalid child tag <" +
            XmlName(tag) + ">");
    std::string name;
    if (!XmlAttr(tag, "Name", name))
        throw std::runtime_error(
            "[TKelMorph.AddFuncByTag]: <Function> tag has no \"Name\" attribute");
    name = FxShortName(name);
    std::string clone, weight;
    const int index = XmlAttr(tag, "Clone", clone) && clone == "true" ? AddClonedFuncByName(name)
                                                                      : AddFuncByName(name);
    if (index >= 0 && XmlAttr(tag, "Weight", weight))
        Funcs[index]->Weight = float(StrToFloatStrict(weight));
}

void TKelMorph::AddParamByTag(const TKelXMLTag* tag) {
    const char* const where = "[TKelMorph.AddParamByTag]: ";
    if (XmlName(tag) != "Property")
        throw std::runtime_error(std::string(where) + "Morph + \"" + Name() +
                                 "\" <Properties> tag contains invalid tag \"" + XmlName(tag) +
                                 "\"");
    std::string name;
    if (!XmlAttr(tag, "Name", name))
        throw std::runtime_error(std::string(where) + "<Property> tag has no \"Name\" attribute");
    const std::string& text = XmlText(tag);

    int type = 0, funcIndex = -1, paramIndex = -1;
    if (name == "Position") {
        type = 0;
    } else if (name == "Rotation") {
        type = 1;
    } else if (name == "Scale") {
        type = 2;
    } else if (name == "StartTime") {
        type = 3;
    } else if (name == "RotationPattern") {
        return SetRotationPattern(text);
    } else if (name == "ViewportWidth") {
        CenterX = StrToIntStrict(text) / 2;
        return;
    } else if (name == "ViewportHeight") {
        CenterY = StrToIntStrict(text) / 2;
        return;
    } else if (name == "CameraDistance") {
        CameraDistance = float(StrToFloatStrict(text));
        return;
    } else {
        const size_t dot = name.find('.');
        if (dot == std::string::npos || dot == 0)
            throw std::runtime_error(std::string(where) +
                                     "<Property> tag \"Name\" attribute has invalid value \"" +
                                     name + "\"");
        const std::string function = FxShortName(name.substr(0, dot));
        funcIndex = IndexOfFunc(function);
        if (funcIndex < 0)
            throw std::runtime_error(
                std::string(where) +
                "<Property> tag \"Name\" attribute value contains unknown Function name \"" +
                function + "\"");
        paramIndex = Funcs[funcIndex]->GetParamIdx(name.substr(dot + 1));
        type = 4;
    }

    if (MorphLib->IndexOf(text) >= 0) {
        AddDynamicParam(type, {}, paramIndex, funcIndex, text, {});
        return;
    }
    const size_t range = text.find("..");
    if (range != std::string::npos && range >= 3) {
        AddDynamicParam(type, StrToVect(text.substr(0, range)), paramIndex, funcIndex, "",
                        StrToVect(text.substr(range + 2)));
        return;
    }
    const TKelVector value = StrToVect(text);
    if (VectSqrLength(value, Dim) > 1e-12f) ApplyProperty(-1 - type, value, paramIndex, funcIndex);
}

std::unique_ptr<TKelMorph> CreateMorphByTag(const TKelXMLTag* tag, TKelMorphFuncLib* funcLib,
                                            TKelMorphLib* morphLib) {
    if (!tag || XmlName(tag) != "Morph") return nullptr;
    std::string name, dim, startTime;
    if (!XmlAttr(tag, "Name", name))
        throw std::runtime_error("[CreateMorphByTag]: <Morph> tag has no \"Name\" attribute");
    if (!XmlAttr(tag, "Dim", dim))
        throw std::runtime_error("[CreateMorphByTag]: <Morph> tag has no \"Dim\" attribute");
    const int32_t start = XmlAttr(tag, "StartTime", startTime) ? StrToIntStrict(startTime) : 0;
    auto morph =
        CreateMorph(FxShortName(name), StrToIntStrict(dim), uint32_t(start), morphLib, funcLib, "");
    for (int i = 0; i < XmlChildCount(tag); ++i) {
        const TKelXMLTag* section = XmlChild(tag, i);
        if (XmlName(section) == "Functions") {
            for (int k = 0; k < XmlChildCount(section); ++k)
                morph->AddFuncByTag(XmlChild(section, k));
        } else if (XmlName(section) == "Properties") {
            for (int k = 0; k < XmlChildCount(section); ++k)
                morph->AddParamByTag(XmlChild(section, k));
        }
    }
    return morph;
}
