// Helpers of the effect tests: loading effects and elements from XML text, reading test effect
// files, comparing vectors and catching error texts.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/KelParser.h"
#include "core/Random.h"
#include "fx/KelFXParticles.h"

inline std::string ReadTestFile(const std::string& name) {
    std::ifstream file(std::string(TERVOLIN_TEST_DATA) + "/fx/" + name, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The first element of a document parsed from text; the document stays alive in `holder`.
inline const TKelXMLTag* ParseElement(TKelParser& holder, const std::string& text) {
    holder.LoadFromString(text);
    return holder.GetTag(0);
}

// An effect file with the given sections' contents.
inline std::string EffectText(const std::string& functions, const std::string& morphs,
                              const std::string& particles, const std::string& systems,
                              const std::string& attributes = "") {
    return "<ParticleEffect Name=\"Test\"" + attributes + "><Functions>" + functions +
           "</Functions><Morphs>" + morphs + "</Morphs><Particles>" + particles +
           "</Particles><ParticleSystems>" + systems + "</ParticleSystems></ParticleEffect>";
}

inline void ExpectVector(const TKelVector& v, float x, float y, float z = 0, float eps = 1e-3f) {
    EXPECT_NEAR(v[0], x, eps);
    EXPECT_NEAR(v[1], y, eps);
    EXPECT_NEAR(v[2], z, eps);
}

// The message of the exception the call raises, or "" when it raises none.
template <typename F>
std::string ErrorOf(F&& call) {
    try {
        call();
    } catch (const std::exception& error) {
        return error.what();
    }
    return "";
}
