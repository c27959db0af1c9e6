// The animated examples of the instructions window show the pieces of the level being played:
// their effect files name piece pictures by placeholders that are replaced by the level's own
// coloured piece strips. Relies on the particle effects, the piece types and the level record.
#pragma once

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
