// A writer of tracker modules in the XM format (version 1.04, linear frequencies, 16-bit
// samples): the music of the game and the modules of the audio tests are described with these
// records and turned into bytes here. Relies on nothing but the standard library.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct XmNote {
    uint8_t Note = 0;        // 0 none, 1..96 from C-0, 97 key off
    uint8_t Instrument = 0;  // 0 none, else 1-based
    uint8_t Volume = 0;      // volume column: 0 none, 0x10..0x50 set volume 0..64
    uint8_t Effect = 0;
    uint8_t Param = 0;
};
constexpr uint8_t XmKeyOff = 97;

struct XmPattern {
    int Rows = 64;
    std::vector<XmNote> Cells;  // Rows x channels, row by row; missing cells are empty
};

struct XmEnvelopePoint {
    uint16_t Tick = 0;
    uint16_t Value = 0;  // 0..64
};

struct XmInstrument {
    std::string Name;
    std::vector<int16_t> Pcm;                // mono
    uint32_t LoopStart = 0, LoopLength = 0;  // in frames; no loop when LoopLength is 0
    uint8_t Volume = 64;                     // 0..64
    int8_t Finetune = 0;                     // 1/128 semitone
    int8_t RelativeNote = 0;
    uint8_t Panning = 128;
    std::vector<XmEnvelopePoint> VolumeEnvelope;  // up to 12 points; none: constant volume
    int SustainPoint = -1;                        // index in VolumeEnvelope, -1 none
    uint16_t Fadeout = 0;                         // volume decrease per tick after key off
    uint8_t VibratoSweep = 0, VibratoDepth = 0, VibratoRate = 0;  // automatic sine vibrato
};

struct XmModule {
    std::string Name;
    int Channels = 4;
    int Tempo = 6;  // ticks per row
    int Bpm = 125;
    int RestartPosition = 0;
    std::vector<uint8_t> Orders;
    std::vector<XmPattern> Patterns;
    std::vector<XmInstrument> Instruments;
};

// Sets RelativeNote and Finetune so that a sample recorded at `sampleRate` Hz sounding the pitch
// of `note` (1..96, fractions for pitches between notes) plays in tune.
void TuneXmInstrument(XmInstrument& instrument, double sampleRate, double note);

// The module's bytes; throws std::invalid_argument when a count or value is out of the format's
// range.
std::vector<uint8_t> WriteXm(const XmModule& module);
