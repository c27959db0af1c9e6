// The enumerations that published properties use, with the value names by which descriptions
// and scripts write them (in ordinal order), and the trait KelEnumNames<E> that the property
// tables read those names from. Relies on the standard library only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum TBlendingMode : uint8_t {
    bmNormal,
    bmAddBlend,
    bmMulBlend,
    bmAvrBlend,
    bmAddBump,
    bmMulBump,
    bmAvrBump
};
enum TAutoSizeType : uint8_t { asNone, asPicture, asCaption };
enum TPictureHAlignType : uint8_t { phaLeft, phaCenter, phaRight };
enum TPictureVAlignType : uint8_t { pvaTop, pvaCenter, pvaBottom };
enum THAlignType : uint8_t { haNone, haLeft, haCenter, haRight, haJustify };
enum TVAlignType : uint8_t { vaNone, vaTop, vaCenter, vaBottom, vaJustify };
enum TTextAlignment : uint8_t { taLeft, taCenter, taRight, taJustify };
enum TTextLayout : uint8_t { tlTop, tlCenter, tlBottom };
enum TTrackBarOrientation : uint8_t { trHorizontal, trVertical };
enum TInputMode : uint8_t { imNormal, imNumbersOnly };
enum TBoxPlace : uint8_t { bpLeft, bpRight };

// The type name and the value names of an enumeration, in ordinal order.
template <class E>
struct KelEnumNames;

#define KEL_ENUM_NAMES(Type, ...)                                      \
    template <>                                                        \
    struct KelEnumNames<Type> {                                        \
        static constexpr const char* TypeName = #Type;                 \
        static const std::vector<std::string>& Values() {              \
            static const std::vector<std::string> values{__VA_ARGS__}; \
            return values;                                             \
        }                                                              \
    };

KEL_ENUM_NAMES(TBlendingMode, "bmNormal", "bmAddBlend", "bmMulBlend", "bmAvrBlend", "bmAddBump",
               "bmMulBump", "bmAvrBump")
KEL_ENUM_NAMES(TAutoSizeType, "asNone", "asPicture", "asCaption")
KEL_ENUM_NAMES(TPictureHAlignType, "phaLeft", "phaCenter", "phaRight")
KEL_ENUM_NAMES(TPictureVAlignType, "pvaTop", "pvaCenter", "pvaBottom")
KEL_ENUM_NAMES(THAlignType, "haNone", "haLeft", "haCenter", "haRight", "haJustify")
KEL_ENUM_NAMES(TVAlignType, "vaNone", "vaTop", "vaCenter", "vaBottom", "vaJustify")
KEL_ENUM_NAMES(TTextAlignment, "taLeft", "taCenter", "taRight", "taJustify")
KEL_ENUM_NAMES(TTextLayout, "tlTop", "tlCenter", "tlBottom")
KEL_ENUM_NAMES(TTrackBarOrientation, "trHorizontal", "trVertical")
KEL_ENUM_NAMES(TInputMode, "imNormal", "imNumbersOnly")
KEL_ENUM_NAMES(TBoxPlace, "bpLeft", "bpRight")
KEL_ENUM_NAMES(bool, "False", "True")
