// Small archive entries the game tests build in memory: a one-colour PNG picture and an effect
// of one particle.
#pragma once

#include <cstdint>
#include <string>

// An opaque width x height PNG of one colour.
std::string SolidPng(int width, int height, uint8_t blue, uint8_t green, uint8_t red);
// An effect whose one system throws one particle drawn with `resource` and which ends after
// `lifetimeSeconds`.
std::string OneParticleEffect(const std::string& lifetimeSeconds, const std::string& resource);
