#include "support/TestContent.h"

#include <vector>

#include "resources/JpegPNG.h"

std::string SolidPng(int width, int height, uint8_t blue, uint8_t green, uint8_t red) {
    TPngPicture picture;
    picture.Width = width, picture.Height = height, picture.ColorType = pctRgbAlpha;
    for (int i = 0; i < width * height; ++i) {
        picture.Color.insert(picture.Color.end(), {blue, green, red});
        picture.Alpha.push_back(255);
    }
    const std::vector<uint8_t> bytes = picture.Encode();
    return std::string(bytes.begin(), bytes.end());
}

std::string OneParticleEffect(const std::string& lifetimeSeconds, const std::string& resource) {
    return "<ParticleEffect Name=\"Dot\" Lifetime=\"" + lifetimeSeconds +
           "\"><Functions/><Morphs/><Particles><Particle Name=\"P\"/></Particles>"
           "<ParticleSystems><ParticleSystem Name=\"S\" Template=\"P\">"
           "<InitParticles>1</InitParticles><Resource>" +
           resource + "</Resource></ParticleSystem></ParticleSystems></ParticleEffect>";
}
