// XM layout: a 336-byte header with the order table, then each pattern (9-byte header and packed
// cells), then each instrument (263-byte header, 40-byte sample header, delta-coded samples).
#include "content/XmWriter.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {

class ByteWriter {
  public:
    void U8(unsigned value) { Bytes.push_back(uint8_t(value)); }
    void U16(unsigned value) {
        U8(value & 0xFF);
        U8(value >> 8);
    }
    void U32(uint32_t value) {
        U16(value & 0xFFFF);
        U16(value >> 16);
    }
    void Text(const std::string& text, size_t length) {
        for (size_t i = 0; i < length; ++i) U8(i < text.size() ? uint8_t(text[i]) : 0);
    }
    void Zeros(size_t count) { Bytes.insert(Bytes.end(), count, 0); }
    std::vector<uint8_t> Bytes;
};

void Require(bool condition, const char* what) {
    if (!condition) throw std::invalid_argument(std::string("XM: ") + what);
}

void WritePattern(ByteWriter& out, const XmPattern& pattern, int channels) {
    Require(pattern.Rows >= 1 && pattern.Rows <= 256, "pattern rows out of 1..256");
    Require(pattern.Cells.size() <= size_t(pattern.Rows * channels), "pattern has too many cells");
    ByteWriter packed;
    for (int i = 0; i < pattern.Rows * channels; ++i) {
        XmNote note = size_t(i) < pattern.Cells.size() ? pattern.Cells[i] : XmNote{};
        Require(note.Note <= XmKeyOff, "note out of range");
        uint8_t mask = 0x80 | (note.Note ? 1 : 0) | (note.Instrument ? 2 : 0) |
                       (note.Volume ? 4 : 0) | (note.Effect ? 8 : 0) | (note.Param ? 16 : 0);
        packed.U8(mask);
        if (note.Note) packed.U8(note.Note);
        if (note.Instrument) packed.U8(note.Instrument);
        if (note.Volume) packed.U8(note.Volume);
        if (note.Effect) packed.U8(note.Effect);
        if (note.Param) packed.U8(note.Param);
    }
    Require(packed.Bytes.size() <= 0xFFFF, "pattern too large");
    out.U32(9);
    out.U8(0);
    out.U16(unsigned(pattern.Rows));
    out.U16(unsigned(packed.Bytes.size()));
    out.Bytes.insert(out.Bytes.end(), packed.Bytes.begin(), packed.Bytes.end());
}

void WriteInstrument(ByteWriter& out, const XmInstrument& instrument) {
    bool hasSample = !instrument.Pcm.empty();
    Require(instrument.VolumeEnvelope.size() <= 12, "more than 12 envelope points");
    Require(instrument.Volume <= 64, "instrument volume above 64");
    Require(instrument.Pcm.size() <= 0x3FFFFFFF, "sample too long");
    Require(uint64_t(instrument.LoopStart) + instrument.LoopLength <= instrument.Pcm.size(),
            "loop runs past the sample");
    out.U32(hasSample ? 263 : 29);
    out.Text(instrument.Name, 22);
    out.U8(0);
    out.U16(hasSample ? 1 : 0);
    if (!hasSample) return;
    out.U32(40);
    out.Zeros(96);  // every note plays sample 0
    for (size_t i = 0; i < 12; ++i) {
        XmEnvelopePoint point =
            i < instrument.VolumeEnvelope.size() ? instrument.VolumeEnvelope[i] : XmEnvelopePoint{};
        Require(point.Value <= 64, "envelope value above 64");
        out.U16(point.Tick);
        out.U16(point.Value);
    }
    out.Zeros(48);  // panning envelope
    size_t points = instrument.VolumeEnvelope.size();
    bool sustain = instrument.SustainPoint >= 0 && size_t(instrument.SustainPoint) < points;
    out.U8(unsigned(points));
    out.U8(0);
    out.U8(sustain ? unsigned(instrument.SustainPoint) : 0);
    out.Zeros(2);  // volume loop
    out.Zeros(3);  // panning sustain and loop
    out.U8((points > 0 ? 1 : 0) | (sustain ? 2 : 0));
    out.U8(0);
    out.U8(0);  // vibrato: sine
    out.U8(instrument.VibratoSweep);
    out.U8(instrument.VibratoDepth);
    out.U8(instrument.VibratoRate);
    out.U16(instrument.Fadeout);
    out.Zeros(22);

    bool loops = instrument.LoopLength > 0;
    out.U32(uint32_t(instrument.Pcm.size() * 2));
    out.U32(loops ? instrument.LoopStart * 2 : 0);
    out.U32(loops ? instrument.LoopLength * 2 : 0);
    out.U8(instrument.Volume);
    out.U8(uint8_t(instrument.Finetune));
    out.U8((loops ? 1 : 0) | 0x10);
    out.U8(instrument.Panning);
    out.U8(uint8_t(instrument.RelativeNote));
    out.U8(0);
    out.Text(instrument.Name, 22);
    int16_t previous = 0;
    for (int16_t value : instrument.Pcm) {
        out.U16(uint16_t(value - previous));
        previous = value;
    }
}

}  // namespace

void TuneXmInstrument(XmInstrument& instrument, double sampleRate, double note) {
    // Note 49 (C-4) of an untuned sample plays at 8363 Hz.
    double semitones = 49 - note + 12 * std::log2(sampleRate / 8363.0);
    int whole = int(std::floor(semitones));
    int fine = int(std::lround((semitones - whole) * 128));
    if (fine >= 128) whole += 1, fine -= 128;
    if (fine >= 64) whole += 1, fine -= 128;
    Require(whole >= -128 && whole <= 127, "sample rate out of tuning range");
    instrument.RelativeNote = int8_t(whole);
    instrument.Finetune = int8_t(fine);
}

std::vector<uint8_t> WriteXm(const XmModule& module) {
    Require(module.Channels >= 1 && module.Channels <= 32, "channels out of 1..32");
    Require(!module.Orders.empty() && module.Orders.size() <= 256, "orders out of 1..256");
    Require(module.Patterns.size() <= 256, "more than 256 patterns");
    Require(module.Instruments.size() <= 128, "more than 128 instruments");
    Require(module.Tempo >= 1 && module.Tempo <= 31, "tempo out of 1..31");
    Require(module.Bpm >= 32 && module.Bpm <= 255, "BPM out of 32..255");
    Require(module.RestartPosition >= 0 && size_t(module.RestartPosition) < module.Orders.size(),
            "restart position outside the orders");
    for (uint8_t order : module.Orders)
        Require(order < module.Patterns.size(), "order names a missing pattern");

    ByteWriter out;
    out.Text("Extended Module: ", 17);
    out.Text(module.Name, 20);
    out.U8(0x1A);
    out.Text("tervolin", 20);
    out.U16(0x0104);
    out.U32(276);
    out.U16(unsigned(module.Orders.size()));
    out.U16(unsigned(module.RestartPosition));
    out.U16(unsigned(module.Channels));
    out.U16(unsigned(module.Patterns.size()));
    out.U16(unsigned(module.Instruments.size()));
    out.U16(1);  // linear frequency table
    out.U16(unsigned(module.Tempo));
    out.U16(unsigned(module.Bpm));
    for (size_t i = 0; i < 256; ++i) out.U8(i < module.Orders.size() ? module.Orders[i] : 0);
    for (const XmPattern& pattern : module.Patterns) WritePattern(out, pattern, module.Channels);
    for (const XmInstrument& instrument : module.Instruments) WriteInstrument(out, instrument);
    return out.Bytes;
}
