// Running effect instances: particle effects loaded from the archive and placed on the screen,
// kept in lists in drawing order (the screen effects over everything, the level's ambient
// effects under the board). An instance is created from an effect file, advanced with the game
// clock, restarted after its repeat delay or removed when it ends, and then calls back. Time
// ("now") and randomness come from the caller. Relies on the archive, the particle effects, the
// surface store and the font engine (to check what an instance names).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/Geometry.h"
#include "fx/KelFXParticles.h"

class IRandom;
class TFileFolder;
class TKelFontEngine;
class TSurfEngine;

using TEffectCallback = std::function<void(const std::string&)>;

struct TPartEffect {
    std::string Name{};
    std::string Picture{};  // drawn instead of each system's picture; a text instance's text
    int32_t X = 0, Y = 0;
    std::string Path{};
    int64_t EndTime = -1;                          // -1 or 0: none
    std::unique_ptr<TKelParticleEffect> Effect{};  // none while the instance could not be set up
    TRect Bounds = ScreenRect;                     // drawing is clipped to it
    bool IsText = false;
    int32_t FontIndex = -1;
    int32_t TextColor = -1;  // -1: each particle's own colour
    bool Active = true;
    int64_t RestartTime = -1;  // -1 or 0: none
    int32_t RepeatDelay = 0;   // > 0: restarts this long after its previous start
    int32_t Flag = 0;
    std::string CallbackArg{};
    TEffectCallback OnEnd{};
};
using TScreenEffects = std::vector<TPartEffect>;

// What an instance is made from.
struct TEffectSources {
    TFileFolder& Archive;
    const TSurfEngine* Surfaces = nullptr;
    const TKelFontEngine* Fonts = nullptr;
    IRandom* Random = nullptr;
    std::function<void(const std::string&)> Log;
};

struct TEffectRequest {
    std::string Name{}, File{};
    int32_t X = 0, Y = 0;
    int64_t StartTime = -1;  // -1: now
    std::string Picture{};
    bool IsText = false;
    std::optional<TRect> Bounds{};  // none: the whole screen
    int32_t Flag = 0;
    std::string FontName{};
    int32_t TextColor = -1;
    bool Active = true;
    int32_t RepeatDelay = 0;
    std::string CallbackArg{};
    TEffectCallback OnEnd{};
    std::string Path{};  // given to the effect's piecewise function "FPath" when not empty
};

// Loads an effect file of the archive, ready to start: none when the archive has no such entry;
// a file that does not load raises "Error in CTKelGameEngine.CreateKelEffectFromFile. Could not
// LoadFromStream <file>".
std::unique_ptr<TKelParticleEffect> LoadEffectEntry(TFileFolder& archive, const std::string& file,
                                                    IRandom* random);
// Starts an effect at `time`: its clock and morphs start and its systems throw their first
// particles.
void StartEffect(TKelParticleEffect& effect, uint32_t time);
// The picture names of an effect's particle systems, each once, in system order.
std::vector<std::string> EffectPictures(const TKelParticleEffect& effect);

// Appends an instance of the effect file. A missing file writes "Can not find file name <file>
// in GameFolder" to the log and creates nothing. A missing font or picture, or a file that does
// not load, leaves the instance in the list without effect and raises KelException
// "Exception error in TKelGameEngine.CreateKelEffectFromFile <name>".
void CreateKelEffectFromFile(TScreenEffects& list, const TEffectSources& sources,
                             const TEffectRequest& request, uint32_t now);

// Appends an instance whose effect is a copy of an effect already loaded (a global one), with the
// request's path given to the copy's function "FPath" when it has such a piecewise function.
// Fonts, text colours and end callbacks are not taken from the request.
void CreateKelEffectFromTemplate(TScreenEffects& list, const TKelParticleEffect& source,
                                 const TEffectRequest& request, uint32_t now);

// Removes the instance at index, then calls its OnEnd with its CallbackArg.
void DeleteKelScreenEffect(TScreenEffects& list, size_t index);
// Removes the first instance of that name (or every one), without calling back.
void DeleteKelScreenEffectByName(TScreenEffects& list, const std::string& name);
void DeleteAllScreenEffectByName(TScreenEffects& list, const std::string& name);
// The index of the first instance of that name, -1 when none.
int IndexOfScreenEffect(const TScreenEffects& list, const std::string& name);

// Advances every active instance to `now`. An instance whose effect finished (or whose EndTime
// has passed) waits for its restart when it repeats and is otherwise removed with its callback;
// then every waiting instance whose restart time has passed starts again. Callbacks may add to
// and remove from the list.
void TickScreenEffects(TScreenEffects& list, uint32_t now);
