// Synthesis, one voice at a time into a shared mono buffer. Oscillators with discontinuities
// (saw, square) are band-limited with polyBLEP; filters are RBJ biquads whose coefficients are
// refreshed every 32 frames while they sweep.
#include "content/Synth.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>

#include "resources/FileFolder.h"
#include "content/SynthOgg.h"

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr int CoefficientStep = 32;
constexpr size_t MaxEntryNameLength = 32;  // archive entry names

// -----------------------------------------------------------------------------------------
// Recipe text

double ParseNumberOrNote(const std::string& text) try {
    static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                              {'G', 7}, {'A', 9}, {'B', 11}};
    if (!text.empty() && steps.count(text[0])) {
        size_t at = 1;
        int semitone = steps.at(text[0]);
        if (at < text.size() && text[at] == '#')
            semitone += 1, ++at;
        else if (at < text.size() && text[at] == 'b')
            semitone -= 1, ++at;
        size_t used = 0;
        int octave = std::stoi(text.substr(at), &used);
        if (at + used != text.size()) throw std::invalid_argument(text);
        return 440.0 * std::pow(2.0, (12 * (octave + 1) + semitone - 69) / 12.0);
    }
    size_t used = 0;
    double value = std::stod(text, &used);
    if (used != text.size() || !std::isfinite(value)) throw std::invalid_argument(text);
    return value;
} catch (const std::logic_error&) {
    throw std::invalid_argument("not a number or note: " + text);
}

TSynthWave ParseWave(const std::string& text) {
    static const std::map<std::string, TSynthWave> waves = {{"sine", TSynthWave::Sine},
                                                            {"triangle", TSynthWave::Triangle},
                                                            {"saw", TSynthWave::Saw},
                                                            {"square", TSynthWave::Square},
                                                            {"noise", TSynthWave::Noise}};
    auto found = waves.find(text);
    if (found == waves.end()) throw std::invalid_argument("unknown wave " + text);
    return found->second;
}

TSynthFilter ParseFilter(const std::string& text) {
    static const std::map<std::string, TSynthFilter> filters = {
        {"lowpass", TSynthFilter::LowPass},
        {"highpass", TSynthFilter::HighPass},
        {"bandpass", TSynthFilter::BandPass}};
    auto found = filters.find(text);
    if (found == filters.end()) throw std::invalid_argument("unknown filter " + text);
    return found->second;
}

void SetVoiceKey(TSynthVoice& voice, const std::string& key, const std::string& value) {
    static const std::map<std::string, double TSynthVoice::*> numbers = {
        {"freq", &TSynthVoice::Freq},
        {"to", &TSynthVoice::FreqEnd},
        {"glide", &TSynthVoice::Glide},
        {"vibrato", &TSynthVoice::VibratoRate},
        {"vibdepth", &TSynthVoice::VibratoDepth},
        {"fm", &TSynthVoice::FmRatio},
        {"index", &TSynthVoice::FmIndex},
        {"fmdecay", &TSynthVoice::FmDecay},
        {"delay", &TSynthVoice::Delay},
        {"attack", &TSynthVoice::Attack},
        {"hold", &TSynthVoice::Hold},
        {"decay", &TSynthVoice::Decay},
        {"sustain", &TSynthVoice::Sustain},
        {"length", &TSynthVoice::Length},
        {"release", &TSynthVoice::Release},
        {"tremolo", &TSynthVoice::TremoloRate},
        {"tremdepth", &TSynthVoice::TremoloDepth},
        {"cutoff", &TSynthVoice::Cutoff},
        {"cutoffto", &TSynthVoice::CutoffEnd},
        {"q", &TSynthVoice::Q},
        {"shift", &TSynthVoice::FormantShift},
        {"gain", &TSynthVoice::Gain}};
    if (key == "wave")
        voice.Wave = ParseWave(value);
    else if (key == "filter")
        voice.Filter = ParseFilter(value);
    else if (key == "vowels")
        voice.Vowels = value;
    else if (auto found = numbers.find(key); found != numbers.end())
        voice.*(found->second) = ParseNumberOrNote(value);
    else
        throw std::invalid_argument("unknown key " + key);
}

void CheckVoice(const TSynthVoice& voice) {
    auto positive = [](double v) { return v > 0 && v < 1e6; };
    auto inRange = [](double v, double low, double high) { return v >= low && v <= high; };
    if (!positive(voice.Freq) || !inRange(voice.FreqEnd, 0, 1e6) || !positive(voice.Glide) ||
        !inRange(voice.Delay, 0, 60) || !inRange(voice.Attack, 0, 60) ||
        !inRange(voice.Hold, 0, 60) || !inRange(voice.Decay, 0.001, 60) ||
        !inRange(voice.Sustain, 0, 1) || !inRange(voice.Length, 0, 60) ||
        !inRange(voice.Release, 0.001, 60) || !inRange(voice.Q, 0.1, 100) ||
        !positive(voice.Cutoff) || !inRange(voice.TremoloDepth, 0, 1) ||
        !positive(voice.FormantShift) || !inRange(voice.Gain, 0, 100))
        throw std::invalid_argument("value out of range");
    if (voice.Sustain > 0 && voice.Length <= 0)
        throw std::invalid_argument("a sustained voice needs a length");
    for (char vowel : voice.Vowels)
        if (std::string("aeiou").find(vowel) == std::string::npos)
            throw std::invalid_argument(std::string("unknown vowel ") + vowel);
}

// -----------------------------------------------------------------------------------------
// Voice rendering

class Biquad {
  public:
    void Set(TSynthFilter type, double frequency, double q) {
        double w0 = 2 * Pi * std::clamp(frequency, 20.0, 0.45 * SynthRate) / SynthRate;
        double cosine = std::cos(w0), alpha = std::sin(w0) / (2 * q);
        double a0 = 1 + alpha;
        if (type == TSynthFilter::LowPass)
            B0 = (1 - cosine) / 2, B1 = 1 - cosine, B2 = (1 - cosine) / 2;
        else if (type == TSynthFilter::HighPass)
            B0 = (1 + cosine) / 2, B1 = -(1 + cosine), B2 = (1 + cosine) / 2;
        else
            B0 = alpha, B1 = 0, B2 = -alpha;
        B0 /= a0, B1 /= a0, B2 /= a0;
        A1 = -2 * cosine / a0, A2 = (1 - alpha) / a0;
    }
    double Process(double x) {
        double y = B0 * x + B1 * X1 + B2 * X2 - A1 * Y1 - A2 * Y2;
        X2 = X1, X1 = x, Y2 = Y1, Y1 = y;
        return y;
    }

  private:
    double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;
    double X1 = 0, X2 = 0, Y1 = 0, Y2 = 0;
};

struct Formants {
    double F[3];
};

Formants VowelFormants(char vowel) {
    switch (vowel) {
        case 'a':
            return {{650, 1080, 2650}};
        case 'e':
            return {{400, 1700, 2600}};
        case 'i':
            return {{290, 1870, 2800}};
        case 'o':
            return {{400, 800, 2600}};
        default:
            return {{350, 600, 2700}};  // u
    }
}

// The formants at `progress` 0..1 through the vowel sequence.
Formants FormantsAt(const std::string& vowels, double progress) {
    if (vowels.size() == 1) return VowelFormants(vowels[0]);
    double position = std::clamp(progress, 0.0, 1.0) * double(vowels.size() - 1);
    size_t index = std::min(size_t(position), vowels.size() - 2);
    double blend = position - double(index);
    Formants a = VowelFormants(vowels[index]), b = VowelFormants(vowels[index + 1]);
    Formants result;
    for (int i = 0; i < 3; ++i) result.F[i] = a.F[i] + (b.F[i] - a.F[i]) * blend;
    return result;
}

double PolyBlep(double phase, double step) {
    if (phase < step) {
        double t = phase / step;
        return t + t - t * t - 1;
    }
    if (phase > 1 - step) {
        double t = (phase - 1) / step;
        return t * t + t + t + 1;
    }
    return 0;
}

double Decibels60(double t, double time) {
    return std::pow(10.0, -3 * t / time);
}

double Envelope(const TSynthVoice& voice, double t) {
    if (t < voice.Attack) {
        double s = std::sin(0.5 * Pi * t / voice.Attack);
        return s * s;
    }
    double afterHold = t - voice.Attack - voice.Hold;
    double level = 1;
    if (afterHold > 0)
        level = voice.Sustain + (1 - voice.Sustain) * Decibels60(afterHold, voice.Decay);
    if (voice.Sustain > 0 && t > voice.Length) level *= Decibels60(t - voice.Length, voice.Release);
    return level;
}

// Seconds from the voice's start until it has died to -70 dB.
double VoiceEnd(const TSynthVoice& voice) {
    if (voice.Sustain > 0) return std::max(voice.Length, voice.Attack) + voice.Release * 70 / 60;
    return voice.Attack + voice.Hold + voice.Decay * 70 / 60;
}

void RenderVoice(const TSynthVoice& voice, uint32_t seed, std::vector<double>& out) {
    size_t start = size_t(voice.Delay * SynthRate);
    size_t frames = size_t(VoiceEnd(voice) * SynthRate) + 1;
    if (out.size() < start + frames) out.resize(start + frames, 0.0);
    double phase = 0, modPhase = 0;
    uint32_t noise = seed * 2654435761u + 12345;
    Biquad filter;
    Biquad formant[3];
    const double formantGain[3] = {1.0, 0.6, 0.3};
    const double formantWidth[3] = {90, 110, 160};
    double span = std::max(VoiceEnd(voice) * 0.75, 0.01);

    for (size_t n = 0; n < frames; ++n) {
        double t = double(n) / SynthRate;
        double frequency = voice.Freq;
        if (voice.FreqEnd > 0)
            frequency = voice.FreqEnd + (voice.Freq - voice.FreqEnd) * std::exp(-t / voice.Glide);
        if (voice.VibratoDepth > 0)
            frequency *=
                std::pow(2.0, voice.VibratoDepth / 12 * std::sin(2 * Pi * voice.VibratoRate * t));
        double step = std::min(frequency / SynthRate, 0.45);

        double modulation = 0;
        if (voice.FmRatio > 0) {
            double index = voice.FmIndex * (voice.FmDecay > 0 ? Decibels60(t, voice.FmDecay) : 1);
            modulation = index * std::sin(2 * Pi * modPhase) / (2 * Pi);
            modPhase += step * voice.FmRatio;
            modPhase -= std::floor(modPhase);
        }
        double p = phase + modulation;
        p -= std::floor(p);
        double sample = 0;
        switch (voice.Wave) {
            case TSynthWave::Sine:
                sample = std::sin(2 * Pi * p);
                break;
            case TSynthWave::Triangle:
                sample = 4 * std::abs(p - 0.5) - 1;
                break;
            case TSynthWave::Saw:
                sample = 2 * p - 1 - PolyBlep(p, step);
                break;
            case TSynthWave::Square: {
                double half = p + 0.5 - std::floor(p + 0.5);
                sample = (p < 0.5 ? 1 : -1) + PolyBlep(p, step) - PolyBlep(half, step);
                break;
            }
            case TSynthWave::Noise:
                noise = noise * 1664525u + 1013904223u;
                sample = double(noise >> 8) / double(1 << 23) - 1;
                break;
        }
        phase += step;
        phase -= std::floor(phase);

        if (n % CoefficientStep == 0) {
            double progress = t / VoiceEnd(voice);
            if (voice.Filter != TSynthFilter::None) {
                double cutoff = voice.Cutoff;
                if (voice.CutoffEnd > 0)
                    cutoff *= std::pow(voice.CutoffEnd / voice.Cutoff, progress);
                filter.Set(voice.Filter, cutoff, voice.Q);
            }
            if (!voice.Vowels.empty()) {
                Formants f = FormantsAt(voice.Vowels, t / span);
                for (int i = 0; i < 3; ++i) {
                    double centre = f.F[i] * voice.FormantShift;
                    formant[i].Set(TSynthFilter::BandPass, centre, centre / formantWidth[i]);
                }
            }
        }
        if (voice.Filter != TSynthFilter::None) sample = filter.Process(sample);
        if (!voice.Vowels.empty()) {
            double voiced = 0;
            for (int i = 0; i < 3; ++i) voiced += formantGain[i] * formant[i].Process(sample);
            sample = voiced * 3;
        }
        if (voice.TremoloDepth > 0)
            sample *=
                1 - voice.TremoloDepth * (0.5 + 0.5 * std::sin(2 * Pi * voice.TremoloRate * t));
        out[start + n] += sample * Envelope(voice, t) * voice.Gain;
    }
}

}  // namespace

TSynthVoice ParseSynthVoice(const std::vector<std::string>& keyValues) {
    TSynthVoice voice;
    for (const std::string& word : keyValues) {
        size_t equals = word.find('=');
        if (equals == std::string::npos) throw std::invalid_argument("expected key=value: " + word);
        SetVoiceKey(voice, word.substr(0, equals), word.substr(equals + 1));
    }
    CheckVoice(voice);
    return voice;
}

std::vector<double> RenderSynthVoice(const TSynthVoice& voice) {
    std::vector<double> out;
    RenderVoice(voice, 1, out);
    return out;
}

std::vector<TSynthRecipe> ParseSynthRecipes(const std::string& text) {
    std::vector<TSynthRecipe> recipes;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        // "#" after a space or at the start of a line begins a comment ("F#5" is a note).
        for (size_t i = 0; i < line.size(); ++i)
            if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
                line.resize(i);
                break;
            }
        std::istringstream words(line);
        std::string word;
        if (!(words >> word)) continue;
        try {
            if (word == "sound") {
                std::string name;
                if (!(words >> name)) throw std::invalid_argument("sound without a name");
                recipes.push_back(TSynthRecipe{name, {}});
            } else if (word == "voice") {
                if (recipes.empty()) throw std::invalid_argument("voice before any sound");
                std::vector<std::string> keyValues;
                while (words >> word) keyValues.push_back(word);
                recipes.back().Voices.push_back(ParseSynthVoice(keyValues));
            } else {
                throw std::invalid_argument("unknown word " + word);
            }
        } catch (const std::exception& error) {
            throw std::runtime_error("line " + std::to_string(number) + ": " + error.what());
        }
    }
    for (const TSynthRecipe& recipe : recipes)
        if (recipe.Voices.empty())
            throw std::runtime_error("sound " + recipe.Name + " has no voice");
    return recipes;
}

std::vector<float> RenderSynth(const TSynthRecipe& recipe) {
    std::vector<double> mix;
    for (size_t i = 0; i < recipe.Voices.size(); ++i)
        RenderVoice(recipe.Voices[i], uint32_t(i + 1), mix);
    mix.resize(mix.size() + SynthRate / 50, 0.0);  // room for the DC filter to settle

    // DC blocker (about 10 Hz), then a 2 ms fade-in so nothing starts with a step.
    double x1 = 0, y1 = 0;
    const double pole = 1 - 2 * Pi * 10 / SynthRate;
    for (double& value : mix) {
        double y = value - x1 + pole * y1;
        x1 = value, y1 = y, value = y;
    }
    size_t fade = SynthRate / 500;
    for (size_t i = 0; i < fade && i < mix.size(); ++i) mix[i] *= double(i) / double(fade);
    for (size_t i = 0; i < fade && i < mix.size(); ++i)
        mix[mix.size() - 1 - i] *= double(i) / double(fade);

    double peak = 0;
    for (double value : mix) peak = std::max(peak, std::abs(value));
    double scale = peak > 0 ? SynthPeak / peak : 0;
    std::vector<float> frames(mix.size());
    for (size_t i = 0; i < mix.size(); ++i) frames[i] = float(mix[i] * scale);
    return frames;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> SynthesizeSounds(
    const std::string& dataDir) {
    namespace fs = std::filesystem;
    std::vector<fs::path> files;
    fs::path folder = fs::path(dataDir) / "sounds";
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".synth") files.push_back(entry.path());
    std::sort(files.begin(), files.end());

    std::vector<std::pair<std::string, std::vector<uint8_t>>> sounds;
    std::set<std::string> names;
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::vector<TSynthRecipe> recipes;
        try {
            recipes = ParseSynthRecipes(text.str());
        } catch (const std::exception& error) {
            throw std::runtime_error(file.filename().string() + ": " + error.what());
        }
        for (const TSynthRecipe& recipe : recipes) {
            if (!names.insert(recipe.Name).second)
                throw std::runtime_error("sound " + recipe.Name + " is made twice");
            if (recipe.Name.size() > MaxEntryNameLength)
                throw std::runtime_error("sound name longer than 32 characters: " + recipe.Name);
            sounds.emplace_back(recipe.Name, EncodeOggVorbis(RenderSynth(recipe), 1, SynthRate));
        }
    }
    return sounds;
}

void AddSoundData(const std::string& dataDir, TFileFolder& archive) {
    namespace fs = std::filesystem;
    for (auto& [name, bytes] : SynthesizeSounds(dataDir))
        archive.AddFile(name, 1, TMemoryStream(std::move(bytes)));
    std::vector<fs::path> tables;
    fs::path folder = fs::path(dataDir) / "sounds";
    if (fs::is_directory(folder))
        for (const auto& entry : fs::directory_iterator(folder))
            if (entry.path().extension() == ".xml") tables.push_back(entry.path());
    std::sort(tables.begin(), tables.end());
    for (const fs::path& table : tables) {
        TMemoryStream source;
        source.LoadFromFile(table.string());
        archive.AddFile(table.filename().string(), 1, source);
    }
}
