// The diagnostic report of the surface store: one line per surface with its size in bytes and
// the total, appended to "CurrentSurfaces.log". Relies on TSurfEngine and TGameLog.
#pragma once

#include "app/Log.h"
#include "graphics/SurfEngine.h"

void WriteSurfaceReport(const TSurfEngine& store, TGameLog& log);
