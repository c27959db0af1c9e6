#include "app/PlayersFile.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <sstream>

#include "app/CUnit.h"
#include "core/CoreError.h"
#include "core/KelParserText.h"
#include "core/MemoryStream.h"
#include "core/TextCase.h"

namespace fs = std::filesystem;

// A whole decimal number with an optional sign; anything else does not convert.
int32_t ReadDecimal(const std::string& text, const char* what) {
    int32_t value = 0;
    if (!TryDecimalToInt(text, value))
        throw TKelCoreError("'" + text + "' is not a valid integer value for " + what);
    return value;
}

namespace {

// "true" or "false" in any letter case, or a number (0 is false).
bool ReadBoolean(const std::string& text, const char* what) {
    const std::string lower = LowerCase(text);
    if (lower == "true") return true;
    if (lower == "false") return false;
    return ReadDecimal(text, what) != 0;
}

// The text's leading integer: optional spaces and a sign, then digits; 0 without digits.
int64_t LeadingInteger(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), INT64_C(1) << 40);
    return negative ? -value : value;
}

uint8_t ReadHints(const std::string& text) {
    uint8_t hints = 0;
    std::istringstream words(text);
    for (std::string word; words >> word;) {
        const int64_t value = LeadingInteger(word) & 0xFF;
        if (value <= 7) hints |= uint8_t(1u << value);
    }
    return hints;
}

std::string WriteHints(uint8_t hints) {
    std::string text;
    for (int k = 0; k <= 6; ++k)
        if (hints & (1u << k)) text += std::to_string(k) + " ";
    return text;
}

const char* BooleanText(bool value) {
    return value ? "true" : "false";
}

}  // namespace

bool TPlayersFile::Exists() const {
    std::error_code error;
    return fs::is_regular_file(path_, error);
}

std::string TPlayersFile::ReadText() const {
    TMemoryStream bytes;
    bytes.LoadFromFile(path_);
    if (IsPlainText(bytes)) return bytes.ToString();
    TMemoryStream plain;
    ScrambleStream(bytes, plain, ScrambleKey);
    return plain.ToString();
}

std::unique_ptr<TKelParser> TPlayersFile::Read() const {
    const std::string text = ReadText();
    if (!IsPlainText(TMemoryStream(text)))
        throw TKelCoreError("the players file is neither scrambled nor plain text");
    auto document = std::make_unique<TKelParser>();
    document->LoadFromString(text);
    if (!document->GetTag(0)) throw TKelCoreError(" XML file does not has tags!");
    // The game writes whole, well-formed documents: anything else was cut short or damaged, and
    // reading what is left would lose the rest at the next save.
    if (document->UnclosedElements() > 0 || !document->Warnings.empty())
        throw TKelCoreError("the players file is cut short or malformed");
    return document;
}

void TPlayersFile::Write(TKelParser& document) const {
    TMemoryStream plain, scrambled;
    document.SaveToStream(plain);
    ScrambleStream(plain, scrambled, ScrambleKey);
    scrambled.SaveToFile(path_);
}

void TPlayersFile::Backup() const {
    TMemoryStream bytes;
    bytes.LoadFromFile(path_);
    bytes.SaveToFile(path_ + ".bak");
}

TKelXMLTag* PlayersRoot(const TKelParser& document) {
    TKelXMLTag* root = document.GetTag(0);
    return root && root->Name == "PlayersListXML" ? root : nullptr;
}

int IndexOfPlayer(const TKelXMLTag& root, const std::string& name) {
    for (int i = 0; i < root.TagCount(); ++i) {
        const TKelXMLTag& player = *root.GetTag(i);
        const TKelParserAttribute* attribute = player.FindAttribute("Name");
        if (player.Name == "Player" && attribute && attribute->Value == name) return i;
    }
    return -1;
}

TKelXMLTag* FindPlayer(const TKelXMLTag& root, const std::string& name) {
    return root.GetTag(IndexOfPlayer(root, name));
}

int CurrentPlayerIndex(const TKelXMLTag& root) {
    const TKelParserAttribute* current = root.FindAttribute("CurrentPlayer");
    return current ? ReadDecimal(current->Value, "CurrentPlayer") : 0;
}

int CurrentPlayerChild(const TKelXMLTag& root) {
    const int current = CurrentPlayerIndex(root);
    return current < 0 || current >= root.TagCount() ? 0 : current;
}

void CheckPlayersDocument(const TKelParser& document, int32_t lastLevel) {
    const TKelXMLTag* root = PlayersRoot(document);
    if (!root) throw TKelCoreError("not a list of players");
    CurrentPlayerIndex(*root);
    for (int i = 0; i < root->TagCount(); ++i) {
        TGame scratch;
        ReadPlayerState(*root->GetTag(i), scratch, lastLevel);
    }
}

void ReadPlayerState(const TKelXMLTag& player, TGame& game, int32_t lastLevel) {
    if (const TKelParserAttribute* name = player.FindAttribute("Name"))
        game.CurrentPlayerName = name->Value;
    const TKelXMLTag* state = player.FindTag("CurrentState");
    if (!state) {
        game.CurrentLevel = game.Score = game.PrevScore = 0;
        game.HintsShowed = 0;
        game.AddToHighScore = false;
        return;
    }
    auto text = [state](const char* name) -> const std::string* {
        const TKelXMLTag* tag = state->FindTag(name);
        return tag ? &tag->Text : nullptr;
    };
    if (auto* value = text("CurrentLevel")) game.CurrentLevel = ReadDecimal(*value, "CurrentLevel");
    if (auto* value = text("CurrentScore")) game.Score = ReadDecimal(*value, "CurrentScore");
    if (auto* value = text("PrevScore")) game.PrevScore = ReadDecimal(*value, "PrevScore");
    auto* instructions = text("ShowInstructions");
    game.ShowInstructions = !instructions || ReadBoolean(*instructions, "ShowInstructions");
    auto* hints = text("ShowHints");
    game.ShowHints = !hints || ReadBoolean(*hints, "ShowHints");
    auto* highScore = text("AddToHighScore");
    game.AddToHighScore = highScore && ReadBoolean(*highScore, "AddToHighScore");
    auto* mode = text("GameMode");
    game.GameMode = mode ? uint8_t(LeadingInteger(*mode)) : 0;
    if (auto* shown = text("HintsShowed")) game.HintsShowed = ReadHints(*shown);
    // The level after the saved one must have a place on the map; a hand-edited negative level
    // counts as none.
    game.CurrentLevel = std::clamp(game.CurrentLevel, 0, std::max(lastLevel, 0));
}

void WritePlayerState(TKelXMLTag& player, const TGame& game) {
    player.ClearTags();
    TKelXMLTag* state = player.AddTag("CurrentState");
    state->AddTag("CurrentLevel", std::to_string(game.CurrentLevel));
    state->AddTag("CurrentScore", std::to_string(game.Score));
    state->AddTag("PrevScore", std::to_string(game.PrevScore));
    state->AddTag("ShowInstructions", BooleanText(game.ShowInstructions));
    state->AddTag("ShowHints", BooleanText(game.ShowHints));
    state->AddTag("AddToHighScore", BooleanText(game.AddToHighScore));
    state->AddTag("GameMode", std::to_string(game.GameMode));
    state->AddTag("HintsShowed", WriteHints(game.HintsShowed));
}
