// Playlist operations. Names are compared exactly; the folder is read without changing the
// process's current folder.
#include "app/Music.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/TextCase.h"
#include "platform/Mixer.h"
#include "platform/Paths.h"
#include "resources/FileFolder.h"

namespace {

bool EndsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

std::vector<uint8_t> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot read sound file " + path);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), {});
    if (in.bad()) throw std::runtime_error("Cannot read sound file " + path);
    return bytes;
}

}  // namespace

int IndexOfMusic(const std::string& name, const TMusicList& list) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].Name == name) return int(i);
    return -1;
}

uint32_t MusicHandle(const std::string& name, const TMusicList& list) {
    int index = IndexOfMusic(name, list);
    return index < 0 ? 0 : list[size_t(index)].Handle;
}

int AddMusic(IAudio& audio, const std::string& name, TMusicList& list) {
    int index = IndexOfMusic(name, list);
    if (index >= 0) {
        FreeMusicHandle(audio, index, list);
        return index;
    }
    list.push_back(TOneMusic{name, skSample, 0});
    return int(list.size()) - 1;
}

void FreeMusicHandle(IAudio& audio, int index, TMusicList& list) {
    TOneMusic& entry = list.at(size_t(index));
    if (entry.SoundKind == skSample)
        audio.SampleFree(entry.Handle);
    else
        audio.MusicFree(entry.Handle);
    entry.Handle = 0;
}

void DeleteMusic(IAudio& audio, int index, TMusicList& list) {
    FreeMusicHandle(audio, index, list);
    list.erase(list.begin() + index);
}

void LoadMusicFromStream(IAudio& audio, const uint8_t* data, size_t size, const std::string& name,
                         TSoundKind kind, TMusicList& list) {
    TOneMusic& entry = list[size_t(AddMusic(audio, name, list))];
    entry.Handle = kind == skSample ? audio.SampleLoad(data, size, MaxSamplePlaybacks)
                                    : audio.MusicLoad(data, size);
    entry.SoundKind = kind;
}

void LoadMusicFromDirectory(IAudio& audio, const std::string& folder, TMusicList& list) {
    std::error_code error;
    if (!std::filesystem::is_directory(folder, error)) return;
    for (const std::string& name : ListFolder(folder)) {
        std::string lower = LowerCase(name);
        if (!EndsWith(lower, "ogg") && !EndsWith(lower, "wav")) continue;
        std::string path = JoinPath(folder, name);
        std::vector<uint8_t> bytes;
        if (std::filesystem::file_size(path, error) <= MaxSoundFileSize)
            bytes = ReadWholeFile(path);
        LoadMusicFromStream(audio, bytes.data(), bytes.size(), name, skSample, list);
    }
}

void LoadMusicFromArchive(IAudio& audio, TFileFolder& archive, TMusicList& list) {
    for (int i = 0; i < archive.Count(); ++i) {
        const std::string name = archive.Entry(i).Name;
        bool sample = EndsWith(name, "ogg") || EndsWith(name, "wav");
        bool module = EndsWith(name, "mo3");
        if (!sample && !module) continue;
        if (sample && IndexOfMusic(name, list) >= 0) continue;
        // An entry whose data cannot be read is kept like any bytes that are no sound: with
        // handle 0, so that one damaged entry does not stop the game.
        try {
            if (archive.State(i) != TFileFolder::esAdded) archive.LoadFile(name);
        } catch (const std::exception&) {
            archive.Stream(i).Clear();
        }
        const TMemoryStream& stream = archive.Stream(i);
        LoadMusicFromStream(audio, stream.Memory(), stream.Size(), name,
                            module ? skModule : skSample, list);
    }
}

void PlayMusic(IAudio& audio, const std::string& name, const TMusicList& list, int musicVolume,
               int sampleVolume, uint16_t order, std::string& current, uint32_t slideTime) {
    int index = IndexOfMusic(name, list);
    if (index < 0) return;
    const TOneMusic& entry = list[size_t(index)];
    if (entry.SoundKind == skSample) {
        if (ClampLevel(sampleVolume) != 0) audio.SamplePlay(entry.Handle, ClampLevel(sampleVolume));
        return;
    }
    if (ClampLevel(musicVolume) != 0) {
        audio.ChannelSetVolume(entry.Handle, 0);
        audio.ChannelSlideVolume(entry.Handle, ClampLevel(musicVolume), slideTime);
        audio.MusicPlay(entry.Handle, order);
    }
    current = name;
}

void StopMusic(IAudio& audio, const TMusicList& list, bool withSamples) {
    for (const TOneMusic& entry : list) {
        if (entry.SoundKind == skModule)
            audio.ChannelStop(entry.Handle);
        else if (withSamples)
            audio.SampleStop(entry.Handle);
    }
}
