// Sound events and music. Ticks are 32-bit counts compared by signed difference, so the order
// of two ticks is right across a wrap of the counter.
#include "app/SoundEvents.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "core/KelException.h"
#include "core/KelParser.h"
#include "core/KelParserText.h"
#include "core/KelXmlValues.h"
#include "core/TextCase.h"
#include "platform/HeadlessAudio.h"
#include "platform/Mixer.h"
#include "platform/Paths.h"
#include "resources/FileFolder.h"

namespace {

// a is earlier than b.
bool Earlier(int32_t a, int32_t b) {
    return int32_t(uint32_t(a) - uint32_t(b)) < 0;
}

int32_t AddTicks(int32_t tick, int64_t milliseconds) {
    return int32_t(uint32_t(tick) + uint32_t(uint64_t(milliseconds)));
}

// The text of the archive entry, parsed; none when there is no such entry.
std::unique_ptr<TKelParser> ParseEntry(TFileFolder& archive, const std::string& name) {
    const TMemoryStream* stream = archive.FindFile(name);
    if (!stream) return nullptr;
    auto document = std::make_unique<TKelParser>();
    document->LoadFromString(std::string(stream->Bytes().begin(), stream->Bytes().end()));
    return document;
}

}  // namespace

const char* const SoundEventNames[32] = {"PharaohSayWelcome",
                                         "PharaohSayGoodbye",
                                         "HintAppear",
                                         "SoundVolume",
                                         "Select",
                                         "SelectLarge",
                                         "SelectMedium",
                                         "SelectSmall",
                                         "Insert",
                                         "FishType1Complete",
                                         "FishType2Complete",
                                         "FishType3Complete",
                                         "FullSphere",
                                         "Error",
                                         "Impact",
                                         "BombCell",
                                         "FishBombFire",
                                         "ClickOnScarab",
                                         "ClickOnSnake",
                                         "ClickOnPyramid",
                                         "GroupMadeGreat",
                                         "GroupMadeExcellent",
                                         "GroupMadeIncredible",
                                         "GroupMadeFantastic",
                                         "LevelComplete",
                                         "LevelCompletePharaohScream",
                                         "LevelFailed",
                                         "Alert",
                                         "ChangePharaohStateToAngry",
                                         "ChangePharaohStateToSad",
                                         "ChangePharaohStateToHappy",
                                         "ChangePharaohStateToVeryHappy"};

void CheckSoundData(TFileFolder& archive, std::vector<std::string>& problems) {
    HeadlessAudio audio;
    audio.Init(44100);
    TMusicList list;
    LoadMusicFromArchive(audio, archive, list);
    auto check = [&](const std::string& name, const std::string& user) {
        if (MusicHandle(name, list) == 0)
            problems.push_back(user + ": \"" + name +
                               "\" is not a sound of the archive that loads");
    };

    // Without an event table the game runs with silent events; only the levels are checked.
    if (std::unique_ptr<TKelParser> events = ParseEntry(archive, "Sounds.xml")) {
        for (const char* event : SoundEventNames) {
            if (const TKelXMLTag* tag = events->FindTagDeep(event))
                check(tag->Text, std::string("Sounds.xml ") + event);
            else
                problems.push_back(std::string("Sounds.xml: no sound for the event ") + event);
        }
        check("Click.ogg", "level map click");
    }

    for (int i = 0; i < archive.Count(); ++i) {
        const std::string name = archive.Entry(i).Name;
        if (!StartsWithText(name, "PuzzleLevel") || name.size() < 4 ||
            !SameText(name.substr(name.size() - 4), ".xml"))
            continue;
        std::unique_ptr<TKelParser> level = ParseEntry(archive, name);
        const TKelXMLTag* top = level ? level->GetTag(0) : nullptr;
        if (!top) continue;  // the level loader reports an empty level
        std::string music = AttrText(top, "Music");
        if (!music.empty()) check(music, name + " Music");
        const TKelXMLTag* effects = top->FindTag("LevelEffects");
        for (int k = 0; effects && k < effects->TagCount(); ++k) {
            const TKelXMLTag* effect = effects->GetTag(k);
            if (effect->Name == "SoundEffect")
                check(AttrText(effect, "Name"), name + " SoundEffect");
        }
    }
}

int ScaledLevel(int64_t volume, int64_t level) {
    // Both factors come from files; clamp them first so the product cannot overflow.
    volume = std::clamp<int64_t>(volume, -(int64_t(1) << 31), int64_t(1) << 31);
    level = std::clamp<int64_t>(level, -(int64_t(1) << 31), int64_t(1) << 31);
    int64_t product = volume * level;
    int64_t quotient = product / 100, remainder = product % 100;
    if (remainder < 0) quotient -= 1, remainder += 100;  // floor division
    if (remainder > 50 || (remainder == 50 && quotient % 2 != 0)) quotient += 1;
    return int(std::clamp<int64_t>(quotient, 0, 100));
}

int RoundHalfEven(double value) {
    if (!std::isfinite(value)) return 0;
    double clamped = std::clamp(value, -2147483648.0, 2147483647.0);
    return int(std::nearbyint(clamped));  // the default rounding mode sends halves to even
}

TSoundEvents::TSoundEvents(IAudio& audio, TGameOptions& options, Clock clock)
    : Audio(audio), Options(options), Ticks(std::move(clock)) {}

TSoundEvents::~TSoundEvents() = default;

void TSoundEvents::BuildMusicList(const std::string& gameFolder, TFileFolder& archive) {
    LoadMusicFromDirectory(Audio, ResolvePath(JoinPath(gameFolder, "Sounds")), MusicList);
    LoadMusicFromArchive(Audio, archive, MusicList);
}

void TSoundEvents::PlaySound(const std::string& name) {
    PlayMusic(Audio, name, MusicList, Options.MusicVolume, Options.SoundVolume, 0, CurrentMusic,
              1000);
}

void TSoundEvents::ChangeMusic(const std::string& name, int32_t fadeOut, int32_t fadeIn,
                               uint16_t order, int32_t gap) {
    Audio.ChannelSlideVolume(MusicHandle(CurrentMusic, MusicList), 0,
                             uint32_t(std::max(fadeOut, 0)));
    PendingMusic = name;
    SwitchTime = AddTicks(int32_t(Ticks()), int64_t(fadeOut) + gap);
    PendingFadeIn = fadeIn;
    PendingOrder = order;
}

void TSoundEvents::AddSoundEffect(const std::string& name, int32_t volume, int64_t start,
                                  bool repeating, int32_t period, int32_t workPeriod,
                                  int32_t pausePeriod, uint32_t now) {
    TSoundEffect effect;
    effect.Name = name;
    effect.NextTime = start == -1 ? int32_t(now) : int32_t(start);
    effect.Repeating = repeating;
    effect.Period = period;
    effect.WorkPeriod = workPeriod;
    effect.PausePeriod = pausePeriod;
    effect.WorkStart = effect.NextTime;
    effect.Volume = volume;
    SoundEffects.push_back(effect);
}

void TSoundEvents::Play(const TSoundEffect& effect) {
    PlayMusic(Audio, effect.Name, MusicList, ScaledLevel(effect.Volume, Options.MusicVolume),
              ScaledLevel(effect.Volume, Options.SoundVolume), 0, CurrentMusic, 1000);
}

void TSoundEvents::TickMusicTimer(uint32_t now) {
    Guarded("Exception error in TKelGameEngine.TickMusicTimer!", [&] {
        const int32_t clock = int32_t(now);
        if (SwitchTime != -1 && Earlier(SwitchTime, clock)) {
            SwitchTime = -1;
            StopMusic(Audio, MusicList, false);
            PlayMusic(Audio, PendingMusic, MusicList, Options.MusicVolume, Options.SoundVolume,
                      PendingOrder, CurrentMusic, uint32_t(std::max(PendingFadeIn, 0)));
        }
        size_t i = 0;
        while (i < SoundEffects.size()) {
            TSoundEffect& effect = SoundEffects[i];
            bool due = effect.NextTime < 0 || Earlier(effect.NextTime, clock);
            if (!due) {
                ++i;
            } else if (!effect.Repeating) {
                TSoundEffect played = effect;
                SoundEffects.erase(SoundEffects.begin() + std::ptrdiff_t(i));
                Play(played);
            } else if (effect.WorkPeriod < 1) {
                Play(effect);
                effect.NextTime = AddTicks(clock, effect.Period);
                ++i;
            } else {
                if (Earlier(effect.WorkStart, clock)) {
                    if (Earlier(clock, AddTicks(effect.WorkStart, effect.WorkPeriod))) {
                        Play(effect);
                        effect.NextTime = AddTicks(clock, effect.Period);
                    } else {
                        effect.WorkStart = AddTicks(
                            effect.WorkStart, int64_t(effect.WorkPeriod) + effect.PausePeriod);
                    }
                }
                ++i;
            }
        }
    });
}

void TSoundEvents::LoadSoundsEvents(const std::string& fileName, const std::string& gameFolder,
                                    TFileFolder* archive) {
    Guarded("Exception error in TKelGameEngine.LoadSoundsEvents!", [&] {
        std::string path = ResolvePath(JoinPath(JoinPath(gameFolder, "Sounds"), fileName));
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            auto document = std::make_unique<TKelParser>();
            document->LoadFromFile(path);
            document->MakeTree();
            SoundEventDocument = std::move(document);
        } else if (archive && archive->IndexOfFile(fileName) >= 0) {
            const TMemoryStream* stream = archive->FindFile(fileName);
            auto document = std::make_unique<TKelParser>();
            document->LoadFromString(std::string(stream->Bytes().begin(), stream->Bytes().end()));
            document->MakeTree();
            SoundEventDocument = std::move(document);
        }
    });
}

std::string TSoundEvents::GetEventSoundName(const std::string& event) const {
    return Guarded("Exception error in TKelGameEngine.GetEventSoundName!", [&]() -> std::string {
        if (!SoundEventDocument) return "";
        const TKelXMLTag* tag = SoundEventDocument->FindTagDeep(event);
        return tag ? tag->Text : "";
    });
}

int32_t TSoundEvents::GetEventSoundVolume(const std::string& event) const {
    return Guarded("Exception error in TKelGameEngine.GetEventSoundVolume!", [&]() -> int32_t {
        if (!SoundEventDocument) return 100;
        const TKelXMLTag* tag = SoundEventDocument->FindTagDeep(event);
        const TKelParserAttribute* volume = tag ? tag->FindAttribute("Volume") : nullptr;
        return volume ? ValInt(volume->Value) : 100;
    });
}

void TSoundEvents::ScheduleSoundEvent(const std::string& event, int64_t at, uint32_t now) {
    AddSoundEffect(GetEventSoundName(event), GetEventSoundVolume(event), at, false, 0, 0, 0, now);
}

void TSoundEvents::WOptions_SMusicVolume_Change(double position) {
    int previous = Options.MusicVolume;
    Options.MusicVolume = RoundHalfEven(position);
    Audio.SetGlobalVolumes(ClampLevel(Options.MusicVolume), ClampLevel(Options.SoundVolume), 0);
    // Music that could not start at volume 0 starts now, from order 0.
    if (previous == 0 && IndexOfMusic(CurrentMusic, MusicList) >= 0)
        Audio.MusicPlay(MusicHandle(CurrentMusic, MusicList), 0);
}

void TSoundEvents::WOptions_SSoundVolume_Change(double position, bool preview, uint32_t now) {
    Options.SoundVolume = RoundHalfEven(position);
    Audio.SetGlobalVolumes(ClampLevel(Options.MusicVolume), ClampLevel(Options.SoundVolume), 0);
    if (preview) AddSoundEffect(GetEventSoundName("SoundVolume"), 100, -1, false, 0, 0, 0, now);
}

void TSoundEvents::FreeMusicList() {
    for (size_t i = 0; i < MusicList.size(); ++i) FreeMusicHandle(Audio, int(i), MusicList);
    StopMusic(Audio, MusicList, true);
    Audio.Stop();
    MusicList.clear();
}
