// CUnit: scrambling of the game's own small data files. ScrambleStream is a keyed block
// transformation of whole streams (players file, play parameters) that undoes itself with the
// same key; IsPlainText tells a hand-edited plain file from a scrambled one; ShiftEncode and
// ShiftDecode rotate the printable bytes of single lines (high-score file). Relies on
// TMemoryStream only.
#pragma once

#include <string>

#include "core/MemoryStream.h"

// The key text of the players file and the play parameters.
inline constexpr const char* ScrambleKey = "kwpqa71%";

// Transforms the whole of source into destination (position 0 afterwards) and empties source.
// Each full 8-byte block becomes transpose(block XOR K) XOR K, where K is the key repeated or cut
// to 8 bytes and transpose swaps bit m of byte k with bit k of byte m; a last partial block is
// only XORed with K. An empty key is replaced by a fixed one-character key.
void ScrambleStream(TMemoryStream& source, TMemoryStream& destination, const std::string& key);

// True when every byte is plain text: 32 and above, tab, carriage return, or a line feed right
// after a carriage return. An empty stream is plain text. The position is not used.
bool IsPlainText(const TMemoryStream& stream);

// Rotate the bytes 32..255 of a text by 51 places forwards / backwards; bytes below 32 stay.
std::string ShiftEncode(const std::string& text);
std::string ShiftDecode(const std::string& text);
