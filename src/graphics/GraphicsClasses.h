// The classes of the graphics layer that engines create by name: TKelFont. Relies on the class
// registry (KelBaseClasses).
#pragma once

// Adds the graphics classes to the class registry; a second call changes nothing. Programs call
// it once at start-up, before any font is loaded.
void RegisterGraphicsClasses();
