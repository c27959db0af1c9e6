// The animated examples of the instructions window: effect instances on the game's screen list,
// a set for each of its two pages, some of them cycling through pairs of effects that create
// each other when they end, and all removed when the window closes. They show the pieces of the
// level being played: their effect files name piece pictures by placeholders that are replaced
// by the level's own coloured piece strips. Relies on the effect instances, the particle
// effects, the piece types and the level record.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "app/ScreenEffects.h"
#include "fx/KelFXParticles.h"
#include "rules/FishkaTypes.h"
#include "rules/Level.h"

// Every particle system whose picture name begins with "1" or "2" shows the level's first or
// second piece kind instead: the name from its third character on lists the pieces shown ("1",
// "2", "3"), and the picture becomes that kind's animation strip of those pieces, e.g. "1_13"
// with the first kind of type "Sun", colour 0, gives "Sun5c1anime". A level without that kind
// keeps the name. Errors raise "Exception error in TKelGameEngine.ChangeEffectParticlesPictures!".
void ChangeEffectParticlesPictures(TKelParticleEffect& effect, const TFishkaTypes& types,
                                   const TLevel& level);

struct TInstructionLinks {
    // The game's screen effects, where the examples run.
    TScreenEffects& List;
    // What an instance is made from, asked for each one: the game replaces its archive.
    std::function<TEffectSources()> Sources;
    // The game clock.
    std::function<uint32_t()> Clock;
    const TFishkaTypes& Types;
    // The level whose pieces the examples show.
    const TLevel& Level;
    // Whether an interface form is visible; none when there is no such form.
    std::function<std::optional<bool>(const std::string& form)> FormVisible;
};

struct TInstructionExample;

// Every example is an instance named like its effect file, over the whole screen, started now or
// a given time later. A missing effect file is logged and creates nothing.
class TInstructionEffects {
  public:
    explicit TInstructionEffects(TInstructionLinks links) : links_(std::move(links)) {}

    // Starts the examples of the page shown: the first while the tab form
    // "WInstructions_TFPage1" is visible, else the second. Without that form the second page is
    // taken (logged once). Errors raise "Exception error in
    // TKelGameEngine.StartInstructionEffects!".
    void StartInstructionEffects();
    // The end callback of the cycling examples: `name` is the argument of the instance that
    // ended and selects the examples that follow it.
    void InstructionEffectEnded(const std::string& name);
    // Removes the first instance of every example, without end callbacks. Errors raise
    // "Exception error in TKelGameEngine.!".
    void StopInstructionEffects();

  private:
    void Create(const TInstructionExample& example, uint32_t now);
    bool FirstPageShown();

    TInstructionLinks links_;
    bool missingPageLogged_ = false;
};
