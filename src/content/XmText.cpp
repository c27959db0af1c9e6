// Music sources to XM: instruments are rendered with the synthesiser into 16-bit samples and
// tuned to their pitch; modules are read line by line into patterns and an order list.
#include "content/XmText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include "resources/FileFolder.h"
#include "content/Synth.h"

namespace {

constexpr double C4 = 261.6255653;
constexpr double SamplePeak = 0.9;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string word;
    while (in >> word) words.push_back(word);
    return words;
}

// The lines of a source without comments ("#" at a line's start or after a space).
std::vector<std::string> SourceLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.resize(i);
                break;
            }
        lines.push_back(line);
    }
    return lines;
}

int ParseInt(const std::string& text, int low, int high) {
    size_t used = 0;
    int value = 0;
    try {
        value = std::stoi(text, &used);
    } catch (const std::exception&) {
        throw std::invalid_argument("not a number: " + text);
    }
    if (used != text.size() || value < low || value > high)
        throw std::invalid_argument(text + " is not in " + std::to_string(low) + ".." +
                                    std::to_string(high));
    return value;
}

// "D4", "F#3", "Bb2" as an XM note number (C-0 is 1).
uint8_t ParseNote(const std::string& text) {
    static const std::string letters = "C D EF G A B";
    size_t letter = text.empty() ? std::string::npos : letters.find(text[0]);
    if (letter == std::string::npos || text[0] == ' ')
        throw std::invalid_argument("bad note " + text);
    int semitone = int(letter);
    size_t at = 1;
    if (at < text.size() && text[at] == '#')
        semitone += 1, ++at;
    else if (at < text.size() && text[at] == 'b')
        semitone -= 1, ++at;
    if (at + 1 != text.size()) throw std::invalid_argument("bad note " + text);
    int note = 12 * ParseInt(text.substr(at), 0, 7) + semitone + 1;
    if (note < 1 || note > 96) throw std::invalid_argument("note out of range " + text);
    return uint8_t(note);
}

std::vector<int16_t> ToPcm(const std::vector<double>& samples, size_t from, size_t count) {
    double peak = 0;
    for (size_t i = from; i < from + count; ++i) peak = std::max(peak, std::abs(samples[i]));
    double scale = peak > 0 ? SamplePeak * 32767 / peak : 0;
    std::vector<int16_t> pcm(count);
    for (size_t i = 0; i < count; ++i) pcm[i] = int16_t(std::lround(samples[from + i] * scale));
    return pcm;
}

TXmInstrumentSource RenderInstrument(const std::string& name, bool loop,
                                     const std::vector<std::string>& voiceKeys) {
    TSynthVoice voice = ParseSynthVoice(voiceKeys);
    TXmInstrumentSource source;
    XmInstrument& instrument = source.Instrument;
    instrument.Name = name;
    double frequency = voice.Freq;
    if (loop) {
        // A steady tone whose period is a whole number of frames loops without a seam.
        if (voice.Wave == TSynthWave::Noise) throw std::invalid_argument("noise cannot loop");
        size_t period = size_t(std::lround(SynthRate / voice.Freq));
        if (period < 2) throw std::invalid_argument("pitch too high to loop");
        frequency = double(SynthRate) / double(period);
        voice.Freq = frequency;
        voice.FreqEnd = voice.VibratoDepth = voice.TremoloDepth = voice.FmDecay = voice.Delay = 0;
        voice.CutoffEnd = 0;
        voice.Attack = 0.01, voice.Sustain = 1, voice.Length = 1, voice.Release = 0.1;
        std::vector<double> steady = RenderSynthVoice(voice);
        size_t start = (SynthRate / 2 / period + 1) * period;
        size_t cycles = (4096 + period - 1) / period;
        instrument.Pcm = ToPcm(steady, start, cycles * period);
        instrument.LoopStart = 0;
        instrument.LoopLength = uint32_t(instrument.Pcm.size());
    } else {
        std::vector<double> once = RenderSynthVoice(voice);
        instrument.Pcm = ToPcm(once, 0, once.size());
    }
    double note = 49 + 12 * std::log2(frequency / C4);
    if (note < 1 || note > 96) throw std::invalid_argument("pitch outside the notes");
    TuneXmInstrument(instrument, SynthRate, note);
    source.OwnNote = uint8_t(std::lround(note));
    return source;
}

void SetInstrumentKey(XmInstrument& instrument, const std::string& key, const std::string& value) {
    if (key == "volume") {
        instrument.Volume = uint8_t(ParseInt(value, 0, 64));
    } else if (key == "pan") {
        instrument.Panning = uint8_t(ParseInt(value, 0, 255));
    } else if (key == "fadeout") {
        instrument.Fadeout = uint16_t(ParseInt(value, 0, 4095));
    } else if (key == "sustain-point") {
        instrument.SustainPoint = ParseInt(value, 0, 11);
    } else if (key == "autovib") {
        size_t colon = value.find(':');
        if (colon == std::string::npos) throw std::invalid_argument("autovib=DEPTH:RATE");
        instrument.VibratoDepth = uint8_t(ParseInt(value.substr(0, colon), 0, 15));
        instrument.VibratoRate = uint8_t(ParseInt(value.substr(colon + 1), 0, 63));
    } else if (key == "env") {
        std::istringstream points(value);
        std::string point;
        while (std::getline(points, point, ',')) {
            size_t colon = point.find(':');
            if (colon == std::string::npos) throw std::invalid_argument("env=TICK:LEVEL,...");
            int tick = ParseInt(point.substr(0, colon), 0, 65535);
            if (!instrument.VolumeEnvelope.empty() && tick <= instrument.VolumeEnvelope.back().Tick)
                throw std::invalid_argument("envelope ticks must rise");
            instrument.VolumeEnvelope.push_back(
                {uint16_t(tick), uint16_t(ParseInt(point.substr(colon + 1), 0, 64))});
        }
        if (instrument.VolumeEnvelope.size() > 12)
            throw std::invalid_argument("at most 12 envelope points");
    }
}

bool IsInstrumentKey(const std::string& key) {
    static const std::set<std::string> keys = {"volume",        "pan",     "fadeout",
                                               "sustain-point", "autovib", "env"};
    return keys.count(key) > 0;
}

XmNote ParseStep(const std::string& step, uint8_t instrument, uint8_t ownNote) {
    if (step == ".") return {};
    if (step == "^") return XmNote{XmKeyOff};
    std::string note = step, volume;
    if (size_t at = step.find('@'); at != std::string::npos)
        note = step.substr(0, at), volume = step.substr(at + 1);
    XmNote cell;
    cell.Note = note == "x" ? ownNote : ParseNote(note);
    cell.Instrument = instrument;
    if (!volume.empty()) cell.Volume = uint8_t(0x10 + ParseInt(volume, 0, 64));
    return cell;
}

std::runtime_error LineError(int number, const std::exception& error) {
    return std::runtime_error("line " + std::to_string(number) + ": " + error.what());
}

}  // namespace

TXmInstruments ParseXmInstruments(const std::string& text) {
    TXmInstruments instruments;
    std::vector<std::string> lines = SourceLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words = Words(lines[i]);
        if (words.empty()) continue;
        try {
            if (words[0] != "instrument" || words.size() < 2)
                throw std::invalid_argument("expected: instrument NAME [loop] key=value ...");
            const std::string& name = words[1];
            if (instruments.count(name)) throw std::invalid_argument(name + " is defined twice");
            bool loop = words.size() > 2 && words[2] == "loop";
            std::vector<std::string> voiceKeys, instrumentKeys;
            for (size_t w = loop ? 3 : 2; w < words.size(); ++w) {
                std::string key = words[w].substr(0, words[w].find('='));
                (IsInstrumentKey(key) ? instrumentKeys : voiceKeys).push_back(words[w]);
            }
            TXmInstrumentSource source = RenderInstrument(name, loop, voiceKeys);
            for (const std::string& word : instrumentKeys) {
                size_t equals = word.find('=');
                if (equals == std::string::npos) throw std::invalid_argument("expected key=value");
                SetInstrumentKey(source.Instrument, word.substr(0, equals),
                                 word.substr(equals + 1));
            }
            instruments[name] = std::move(source);
        } catch (const std::exception& error) {
            throw LineError(int(i + 1), error);
        }
    }
    return instruments;
}

std::pair<std::string, XmModule> ParseXmModule(const std::string& text,
                                               const TXmInstruments& instruments) {
    std::string name;
    XmModule module;
    std::map<std::string, int> patternIndex;
    std::map<std::string, uint8_t> instrumentIndex;  // 1-based, in order of first use
    XmPattern* pattern = nullptr;
    std::vector<std::string> lines = SourceLines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        std::vector<std::string> words = Words(lines[i]);
        if (words.empty()) continue;
        try {
            const std::string& word = words[0];
            auto value = [&](int low, int high) {
                if (words.size() != 2) throw std::invalid_argument(word + " takes one value");
                return ParseInt(words[1], low, high);
            };
            if (word == "module") {
                if (words.size() != 2) throw std::invalid_argument("module NAME");
                name = words[1];
                module.Name = name.substr(0, name.find('.'));
            } else if (word == "tempo") {
                module.Tempo = value(1, 31);
            } else if (word == "bpm") {
                module.Bpm = value(32, 255);
            } else if (word == "channels") {
                module.Channels = value(1, 32);
            } else if (word == "restart") {
                module.RestartPosition = value(0, 255);
            } else if (word == "pattern") {
                if (words.size() != 3) throw std::invalid_argument("pattern NAME ROWS");
                if (patternIndex.count(words[1]))
                    throw std::invalid_argument("pattern " + words[1] + " is defined twice");
                patternIndex[words[1]] = int(module.Patterns.size());
                int rows = ParseInt(words[2], 1, 256);
                module.Patterns.push_back(
                    XmPattern{rows, std::vector<XmNote>(size_t(rows * module.Channels))});
                pattern = &module.Patterns.back();
            } else if (word == "order") {
                for (size_t w = 1; w < words.size(); ++w) {
                    auto found = patternIndex.find(words[w]);
                    if (found == patternIndex.end())
                        throw std::invalid_argument("no pattern " + words[w]);
                    module.Orders.push_back(uint8_t(found->second));
                }
            } else {
                // A channel line: "CHANNEL INSTRUMENT: steps".
                if (!pattern) throw std::invalid_argument("channel line outside a pattern");
                int channel = ParseInt(word, 1, module.Channels) - 1;
                if (words.size() < 2 || words[1].back() != ':')
                    throw std::invalid_argument("expected: CHANNEL INSTRUMENT: steps");
                std::string instrumentName = words[1].substr(0, words[1].size() - 1);
                auto found = instruments.find(instrumentName);
                if (found == instruments.end())
                    throw std::invalid_argument("no instrument " + instrumentName);
                auto [slot, added] =
                    instrumentIndex.emplace(instrumentName, uint8_t(module.Instruments.size() + 1));
                if (added) module.Instruments.push_back(found->second.Instrument);
                int row = 0;
                for (size_t w = 2; w < words.size(); ++w) {
                    if (words[w] == "|") continue;
                    if (row >= pattern->Rows) throw std::invalid_argument("more steps than rows");
                    XmNote step = ParseStep(words[w], slot->second, found->second.OwnNote);
                    if (step.Note) pattern->Cells[size_t(row * module.Channels + channel)] = step;
                    ++row;
                }
            }
        } catch (const std::exception& error) {
            throw LineError(int(i + 1), error);
        }
    }
    if (name.empty() || name.size() > 32)
        throw std::runtime_error("module name missing or longer than 32 characters");
    return {name, module};
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> ComposeMusic(const std::string& dataDir) {
    namespace fs = std::filesystem;
    fs::path folder = fs::path(dataDir) / "music";
    std::vector<fs::path> instrumentFiles, moduleFiles;
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.path().extension() == ".ins") instrumentFiles.push_back(entry.path());
            if (entry.path().extension() == ".xmt") moduleFiles.push_back(entry.path());
        }
    std::sort(instrumentFiles.begin(), instrumentFiles.end());
    std::sort(moduleFiles.begin(), moduleFiles.end());
    auto read = [](const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    };

    TXmInstruments instruments;
    for (const fs::path& file : instrumentFiles) {
        try {
            for (auto& [name, source] : ParseXmInstruments(read(file)))
                if (!instruments.emplace(name, std::move(source)).second)
                    throw std::runtime_error("instrument " + name + " is defined twice");
        } catch (const std::exception& error) {
            throw std::runtime_error(file.filename().string() + ": " + error.what());
        }
    }
    std::vector<std::pair<std::string, std::vector<uint8_t>>> modules;
    for (const fs::path& file : moduleFiles) {
        try {
            auto [name, module] = ParseXmModule(read(file), instruments);
            modules.emplace_back(name, WriteXm(module));
        } catch (const std::exception& error) {
            throw std::runtime_error(file.filename().string() + ": " + error.what());
        }
    }
    return modules;
}

void AddMusicData(const std::string& dataDir, TFileFolder& archive) {
    for (auto& [name, bytes] : ComposeMusic(dataDir))
        archive.AddFile(name, 1, TMemoryStream(std::move(bytes)));
}
