// Sound events and music of the game object: the playlist, the current and pending music with
// its crossfade, the queue of scheduled sounds with repeating windows, the sound-event table
// ("Sounds.xml") and the two volume sliders. The clock given at construction dates a music
// change; the other operations take the pass's tick ("now") from the caller. Levels
// handed to the audio layer are computed in 64 bits, rounded half to even and clamped to
// 0..100; the options keep the values they were given. Relies on Music, the audio layer, the
// archive, the XML parser and the options.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/Music.h"
#include "app/Options.h"
#include "platform/Platform.h"

class TFileFolder;
class TKelParser;

struct TSoundEffect {
    std::string Name;
    int32_t NextTime = 0;  // plays at the first pass whose clock is later than this
    bool Repeating = false;
    int32_t Period = 0;       // ms from one play of a repeating sound to the next
    int32_t WorkPeriod = 0;   // length of each playing window; < 1: no windows
    int32_t PausePeriod = 0;  // silence between two windows
    int32_t WorkStart = 0;    // start of the current window
    int32_t Volume = 100;     // percent of the volume options
};
using TSoundEffects = std::vector<TSoundEffect>;

// The events the game plays, each looked up in "Sounds.xml".
extern const char* const SoundEventNames[32];

// The content check of sounds: when the archive holds "Sounds.xml", it names for every event a
// playlist sound of the archive that loads, and "Click.ogg" loads; every level's Music and
// SoundEffect name such a sound. Each problem is appended as one line.
void CheckSoundData(TFileFolder& archive, std::vector<std::string>& problems);

// volume x level / 100, rounded half to even, clamped to 0..100.
int ScaledLevel(int64_t volume, int64_t level);
// A whole number from a slider position, halves to the even neighbour.
int RoundHalfEven(double value);

class TSoundEvents {
  public:
    // The platform's tick count, read when a music change is asked for.
    using Clock = std::function<uint32_t()>;

    TSoundEvents(IAudio& audio, TGameOptions& options, Clock clock);
    ~TSoundEvents();

    // The playlist: the samples of folder/"Sounds", then the archive's sounds.
    void BuildMusicList(const std::string& gameFolder, TFileFolder& archive);
    // A playlist sound at the volume options (a module fades in over 1000 ms).
    void PlaySound(const std::string& name);
    // Fades the current music out over fadeOut ms and starts `name` at `order` with a fade-in
    // once fadeOut + gap ms have passed after the clock's tick at this call.
    void ChangeMusic(const std::string& name, int32_t fadeOut, int32_t fadeIn, uint16_t order,
                     int32_t gap);
    // Queues a sound; start -1 means `now`.
    void AddSoundEffect(const std::string& name, int32_t volume, int64_t start, bool repeating,
                        int32_t period, int32_t workPeriod, int32_t pausePeriod, uint32_t now);
    // The pending music switch and the due queued sounds; once per pass with the pass's tick.
    void TickMusicTimer(uint32_t now);
    // Reads the event table fileName from gameFolder/"Sounds" or else from the archive (none:
    // the table stays as it was).
    void LoadSoundsEvents(const std::string& fileName, const std::string& gameFolder,
                          TFileFolder* archive);
    // The event's sound name ("" when the table does not name it) and volume (100 then).
    std::string GetEventSoundName(const std::string& event) const;
    int32_t GetEventSoundVolume(const std::string& event) const;
    // Queues the event's sound at the event's volume at tick `at` (-1: now).
    void ScheduleSoundEvent(const std::string& event, int64_t at, uint32_t now);
    // The options window's sliders were moved to `position` (0..100).
    void WOptions_SMusicVolume_Change(double position);
    // `preview`: the game has finished starting and the options window is not being filled.
    void WOptions_SSoundVolume_Change(double position, bool preview, uint32_t now);
    // Frees every sound, stops all output and empties the playlist.
    void FreeMusicList();
    // Stops every module and every sample; the playlist stays.
    void StopAllMusic() { StopMusic(Audio, MusicList, true); }

    TMusicList MusicList;
    std::string CurrentMusic;
    std::string PendingMusic;
    int32_t SwitchTime = -1;
    int32_t PendingFadeIn = 1000;
    uint16_t PendingOrder = 0;
    TSoundEffects SoundEffects;
    std::unique_ptr<TKelParser> SoundEventDocument;

  private:
    void Play(const TSoundEffect& effect);

    IAudio& Audio;
    TGameOptions& Options;
    Clock Ticks;
};
