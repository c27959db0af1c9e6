// The playlist: every sample and module of the game, loaded once at start-up from the "Sounds"
// folder and the archive and afterwards addressed by file name; playing an entry by name and
// stopping all music. Relies on the audio layer (IAudio), the archive and the folder listing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Platform.h"

class TFileFolder;

enum TSoundKind : uint8_t { skSample = 0, skModule = 1 };

struct TOneMusic {
    std::string Name;  // file name as listed, or archive entry name; compared exactly
    uint8_t SoundKind = skSample;
    uint32_t Handle = 0;  // 0 when the sound did not load
};
using TMusicList = std::vector<TOneMusic>;

// Samples may sound this many times at once.
constexpr int MaxSamplePlaybacks = 5;
// Files of the "Sounds" folder above this size are not read (their entry keeps handle 0).
constexpr uintmax_t MaxSoundFileSize = 64u << 20;

int IndexOfMusic(const std::string& name, const TMusicList& list);
uint32_t MusicHandle(const std::string& name, const TMusicList& list);
// The index of the entry that receives a sound of that name: an existing one (its sound freed)
// or a new last one.
int AddMusic(IAudio& audio, const std::string& name, TMusicList& list);
void FreeMusicHandle(IAudio& audio, int index, TMusicList& list);
void DeleteMusic(IAudio& audio, int index, TMusicList& list);
// Loads a sample or module from the bytes (the audio layer copies them) into AddMusic's entry.
void LoadMusicFromStream(IAudio& audio, const uint8_t* data, size_t size, const std::string& name,
                         TSoundKind kind, TMusicList& list);
// The folder's files whose lower-cased names end in "ogg" or "wav", as samples, in listing
// order. Nothing when the folder does not exist; a file that cannot be read throws
// std::runtime_error.
void LoadMusicFromDirectory(IAudio& audio, const std::string& folder, TMusicList& list);
// The archive's entries ending exactly in "ogg"/"wav" (samples, unless the folder gave one of
// that name) and "mo3" (modules, always), in directory order. An entry whose data
// cannot be read gets handle 0.
void LoadMusicFromArchive(IAudio& audio, TFileFolder& archive, TMusicList& list);

// Plays the entry of that name: a sample at sampleVolume, or a module from `order` with its
// volume gliding from 0 to musicVolume over slideTime ms, which becomes `current` whether or
// not it started. Volumes are clamped to 0..100; at 0 nothing starts. Unknown names do nothing.
void PlayMusic(IAudio& audio, const std::string& name, const TMusicList& list, int musicVolume,
               int sampleVolume, uint16_t order, std::string& current, uint32_t slideTime);
// Stops every module, and every sample too when withSamples.
void StopMusic(IAudio& audio, const TMusicList& list, bool withSamples);
