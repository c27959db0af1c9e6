// The game's start-up steps that load what every screen uses. Relies on the game's services.
#pragma once

#include <string>

#include "app/GameServices.h"

// Opens the audio device and sets the volumes of the options; false when the game runs silent.
bool SetUpAudio(TGameServices& s);
// The frame's work surfaces: "MemorySurface", the two add buffers and "Background".
void CreateWorkSurfaces(TGameServices& s);
// The loose pictures beside the game, those listed in "surfaces.dat", the windows' and the
// fonts' pictures.
void LoadStartPictures(TGameServices& s);
// "GameParams.xml" (plain or scrambled) into the game parameters.
void LoadGameParams(TGameServices& s, const std::string& fileName);
// The piece types with the ghost pictures, the shaders and the level map's points.
void LoadGameDescriptions(TGameServices& s);
