// The data builder's small synthesiser: sound recipes (text in data/sounds/*.synth) made of
// voices with an oscillator (sine, triangle, saw, square, noise), simple FM, pitch glide and
// vibrato, an envelope, a swept filter and a vowel-formant filter. A sound is the sum of its
// voices, freed of DC, faded in over 2 ms, peak-normalised with headroom and long enough for
// every voice to die away. Rendering is deterministic (the noise is seeded). Relies on the
// standard library only; SynthOgg encodes the result.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class TFileFolder;

constexpr int SynthRate = 44100;
// Peak level of every synthesised sound (about -3 dBFS).
constexpr double SynthPeak = 0.7;

enum class TSynthWave { Sine, Triangle, Saw, Square, Noise };
enum class TSynthFilter { None, LowPass, HighPass, BandPass };

struct TSynthVoice {
    TSynthWave Wave = TSynthWave::Sine;
    double Freq = 440, FreqEnd = 0, Glide = 0.1;   // Hz; glide time constant in seconds
    double VibratoRate = 0, VibratoDepth = 0;      // Hz, semitones
    double FmRatio = 0, FmIndex = 0, FmDecay = 0;  // FmDecay: seconds to -60 dB, 0 constant
    double Delay = 0, Attack = 0.005, Hold = 0;    // seconds
    double Decay = 0.3;                            // seconds to -60 dB (towards Sustain)
    double Sustain = 0;                            // level 0..1 held until Length, then Release
    double Length = 0;     // seconds from the voice's start to its release (with Sustain > 0)
    double Release = 0.1;  // seconds to -60 dB
    double TremoloRate = 0, TremoloDepth = 0;
    TSynthFilter Filter = TSynthFilter::None;
    double Cutoff = 1000, CutoffEnd = 0, Q = 0.707;
    std::string Vowels;  // e.g. "uao": formant filter gliding through these vowels
    double FormantShift = 1;
    double Gain = 1;
};

struct TSynthRecipe {
    std::string Name;  // the archive entry name, e.g. "Select.ogg"
    std::vector<TSynthVoice> Voices;
};

// Parses recipe text: "sound NAME" starts a sound, each "voice key=value ..." line adds a voice;
// "#" at the start of a line or after a space starts a comment. Frequencies may be note names
// ("A4", "F#5", "Bb3"). Throws std::runtime_error naming the line of any error.
std::vector<TSynthRecipe> ParseSynthRecipes(const std::string& text);

// One voice from "key=value" words as in a recipe's voice line; throws std::invalid_argument.
TSynthVoice ParseSynthVoice(const std::vector<std::string>& keyValues);
// Renders one voice, not normalised, to mono frames at SynthRate (voice seed 1).
std::vector<double> RenderSynthVoice(const TSynthVoice& voice);

// Renders a recipe to mono frames at SynthRate.
std::vector<float> RenderSynth(const TSynthRecipe& recipe);

// Every recipe of dataDir/sounds/*.synth (files in name order), rendered and encoded to Ogg
// Vorbis: (entry name, bytes) pairs.
std::vector<std::pair<std::string, std::vector<uint8_t>>> SynthesizeSounds(
    const std::string& dataDir);
// The data builder's step "sounds": every synthesised sound, then the event table(s)
// dataDir/sounds/*.xml, as archive entries with tag 1.
void AddSoundData(const std::string& dataDir, TFileFolder& archive);
