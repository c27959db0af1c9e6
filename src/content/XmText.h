// The music sources: tracker modules written as readable text (data/music/*.xmt) with
// instruments synthesised from voice recipes (data/music/*.ins), turned into XM bytes.
//
// Instruments ("instrument NAME [loop] key=value ..."): the synthesiser's voice keys, plus
//   volume=0..64, pan=0..255, env=TICK:LEVEL,... (volume envelope), sustain-point=N,
//   fadeout=N, autovib=DEPTH:RATE. A "loop" instrument is a steady tone looped seamlessly (its
//   envelope does the shaping); the others are rendered once with their own envelope.
// Modules: "module NAME", "tempo N", "bpm N", "channels N", "restart N", then patterns:
//   "pattern NAME ROWS" followed by channel lines "CHANNEL INSTRUMENT: STEP STEP ...", one step
//   per row: a note ("D4", "F#3", "Bb2") or "x" (the instrument's own pitch), an optional
//   "@VOLUME" (0..64), "." for nothing, "^" for key off; "|" may separate bars. "order NAME ..."
//   lists the song; the song loops to "restart".
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "content/XmWriter.h"

class TFileFolder;

struct TXmInstrumentSource {
    XmInstrument Instrument;  // rendered and tuned
    uint8_t OwnNote = 49;     // the note "x" plays
};
using TXmInstruments = std::map<std::string, TXmInstrumentSource>;

// Parses and renders instrument text. Throws std::runtime_error naming the line.
TXmInstruments ParseXmInstruments(const std::string& text);
// Parses a module source with the given instruments into the module's entry name and its
// description. Throws std::runtime_error naming the line.
std::pair<std::string, XmModule> ParseXmModule(const std::string& text,
                                               const TXmInstruments& instruments);

// Every module of dataDir/music (instruments from its *.ins files, modules from *.xmt, both in
// name order): (entry name, XM bytes) pairs.
std::vector<std::pair<std::string, std::vector<uint8_t>>> ComposeMusic(const std::string& dataDir);
// The data builder's step "music": every module as an archive entry with tag 1.
void AddMusicData(const std::string& dataDir, TFileFolder& archive);
