// The players file: every player of the installation with their game in progress, an XML
// document stored scrambled ("players.dat" of the user folder). Every operation reads the whole
// file and writes it back whole, atomically, so a crash or a full disk never leaves half a file.
// This module holds the file and the conversions between a player's element and the game record;
// the game object decides when to read and write. Relies on the XML parser, the scrambling and
// the game record.
#pragma once

#include <memory>
#include <string>

#include "core/KelParser.h"
#include "rules/Game.h"

class TPlayersFile {
  public:
    explicit TPlayersFile(std::string path) : path_(std::move(path)) {}

    const std::string& Path() const { return path_; }
    bool Exists() const;
    // The document's text: the file's bytes, unscrambled unless they are plain text already (a
    // hand-edited file). Throws std::runtime_error when the file cannot be read.
    std::string ReadText() const;
    // The document read from that text. Raises TKelCoreError " XML file does not has tags!" for
    // a document without elements, and for text that is not plain once unscrambled, a document
    // cut short (an element left open) or malformed.
    std::unique_ptr<TKelParser> Read() const;
    // Stores the document scrambled, replacing the file whole.
    void Write(TKelParser& document) const;
    // Keeps a copy of the file as it is beside it ("players.dat.bak").
    void Backup() const;

  private:
    std::string path_;
};

// The document element of a players file, none when the document's first element has another
// name.
TKelXMLTag* PlayersRoot(const TKelParser& document);
// The "Player" children of the root with exactly that name, first one first.
TKelXMLTag* FindPlayer(const TKelXMLTag& root, const std::string& name);
int IndexOfPlayer(const TKelXMLTag& root, const std::string& name);
// The root's "CurrentPlayer" index; raises TKelCoreError when it is not a whole number.
int CurrentPlayerIndex(const TKelXMLTag& root);
// The child the game takes for the current player: the "CurrentPlayer" index, or the first child
// when that index lies outside the list (-1, no current player, included).
int CurrentPlayerChild(const TKelXMLTag& root);

// A whole decimal number with an optional sign; raises TKelCoreError naming `what` otherwise.
int32_t ReadDecimal(const std::string& text, const char* what);

// Checks that the document reads as the game reads it: a "PlayersListXML" root whose
// "CurrentPlayer" is a whole number and whose every player's saved game converts; raises
// TKelCoreError saying what does not read.
void CheckPlayersDocument(const TKelParser& document, int32_t lastLevel);

// Loads a player's element into the game record: the name, and the saved game of its
// "CurrentState" (then the level is limited to `lastLevel`), or a game not started without one.
// A number or Boolean that does not convert raises TKelCoreError.
void ReadPlayerState(const TKelXMLTag& player, TGame& game, int32_t lastLevel);
// Replaces the element's content by the game record's "CurrentState".
void WritePlayerState(TKelXMLTag& player, const TGame& game);
