// The interface classes that descriptions create by name. Relies on the class registry
// (KelBaseClasses).
#pragma once

// Adds the interface classes to the class registry; a second call changes nothing. Programs call
// it once at start-up, before the first interface description is loaded.
void RegisterInterfaceClasses();
