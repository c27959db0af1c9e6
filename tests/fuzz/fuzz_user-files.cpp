// Fuzz target of the files the game keeps for its user: the first byte chooses the kind (modulo
// 5: players file, high scores, options.cfg, registry file, language file), the rest is the file.
// Each is written to a scratch file and read there by the game's own reader, then used as the
// game uses it. A player's saved game written back reads back the same, and a value written into
// an options file reads back as written.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/HighScores.h"
#include "app/IniFile.h"
#include "app/Options.h"
#include "app/PlayersFile.h"
#include "graphics/GraphicsClasses.h"
#include "graphics/KelFontEngine.h"
#include "platform/RegistryFile.h"
#include "ui/InterfaceClasses.h"
#include "ui/KelInterfaceEngine.h"
#include "ui/NullInterfaceHost.h"

namespace {

constexpr int32_t LastLevel = 41;

bool SameSavedGame(const TGame& a, const TGame& b) {
    return a.CurrentPlayerName == b.CurrentPlayerName && a.CurrentLevel == b.CurrentLevel &&
           a.Score == b.Score && a.PrevScore == b.PrevScore &&
           a.ShowInstructions == b.ShowInstructions && a.ShowHints == b.ShowHints &&
           a.AddToHighScore == b.AddToHighScore && a.GameMode == b.GameMode &&
           (a.HintsShowed & 0x7F) == (b.HintsShowed & 0x7F);
}

// What the game does with its players file: the current player loaded, every player read as the
// high-score window reads them, the current player's game saved into the document.
void ReadPlayers(const std::string& path) {
    const TPlayersFile file(path);
    std::unique_ptr<TKelParser> document;
    try {
        document = file.Read();
    } catch (const std::exception&) {
        return;  // no elements: the game reports it
    }
    TKelXMLTag* root = PlayersRoot(*document);
    if (!root) return;
    try {
        const int current = CurrentPlayerChild(*root);
        for (int i = 0; i < root->TagCount(); ++i) {
            TGame game;
            ReadPlayerState(*root->GetTag(i), game, LastLevel);
            if (i != current) continue;
            TKelXMLTag& player = *root->GetTag(i);
            WritePlayerState(player, game);
            FindPlayer(*root, game.CurrentPlayerName);
            TKelParser again;
            again.LoadFromString(document->SaveToString());
            const TKelXMLTag* rereadRoot = PlayersRoot(again);
            if (!rereadRoot || rereadRoot->TagCount() != root->TagCount()) std::abort();
            TGame read;
            ReadPlayerState(*rereadRoot->GetTag(i), read, LastLevel);
            if (!SameSavedGame(game, read)) std::abort();
        }
    } catch (const std::exception&) {
        // A number or Boolean that does not convert: the game reports it.
    }
}

void ReadScores(const std::string& path) {
    THighScoreTables tables;
    LoadHighScores(path, tables);
    InsertHighScore("Player", 500, tables.Of(0));
    InsertHighScore("Player", -1, tables.Of(1));
}

void ReadOptions(const std::string& path) {
    TGameOptions options;
    options.LoadOptions(path);
    TIniFile ini(path);
    ini.WriteString("Options", "PlayerName", "Fuzz Name");
    ini.WriteInteger("Options", "BitsPerPixel", options.BitsPerPixel);
    if (ini.ReadString("Options", "PlayerName", "") != "Fuzz Name") std::abort();
    if (ini.ReadInteger("Options", "BitsPerPixel", 0) != options.BitsPerPixel) std::abort();
}

void ReadRegistry(const std::string& path) {
    const TRegistryFile registry(path);
    const std::string value = registry.Read("Software\\Brontel\\Tervolin", "LangStr");
    if (value.find('\n') != std::string::npos) std::abort();  // a value is one line
}

// A window with the kinds of objects language files change.
constexpr const char* Windows = R"(<KelInterface Version="1.0">
<o c="TKelForm"><p n="Name">WLanguage</p><p n="ParentName">Screen</p><p n="Width">400</p>
<p n="Height">300</p><p n="Picture">w</p></o>
<o c="TKelRadioButton"><p n="Name">WLanguage_RBENU</p><p n="ParentName">WLanguage</p>
<p n="Width">60</p><p n="Height">20</p><p n="Caption">English</p><p n="Visible">True</p></o>
<o c="TKelLabel"><p n="Name">WLanguage_LTitle</p><p n="ParentName">WLanguage</p>
<p n="Width">200</p><p n="Height">40</p><p n="Caption">Language</p><p n="Visible">True</p></o>
<o c="TKelCheckBox"><p n="Name">WLanguage_CBCheck</p><p n="ParentName">WLanguage</p>
<p n="Top">50</p><p n="Width">60</p><p n="Height">20</p><p n="Caption">Check</p></o>
<o c="TKelRichLabel"><p n="Name">WLanguage_RLText</p><p n="ParentName">WLanguage</p>
<p n="Top">80</p><p n="Width">200</p><p n="Height">100</p><p n="Caption">Text</p></o>
<o c="TKelRadioButton"><p n="Name">WLanguage_RBDEU</p><p n="ParentName">WLanguage</p>
<p n="Top">24</p><p n="Width">60</p><p n="Height">20</p><p n="Visible">True</p></o>
<o c="TKelGrid"><p n="Name">WHighScores_GHighScores</p><p n="ParentName">WLanguage</p>
<p n="Top">190</p><p n="Width">300</p><p n="Height">100</p></o>
</KelInterface>)";

// The game's language switch: earlier changes restored, the file applied, and again.
void ReadLanguage(const std::string& path) {
    TNullInterfaceHost host([](const std::string&) { return TPoint{30, 20}; });
    TKelFontEngine fonts;
    fonts.Host = &host;
    TKelInterfaceEngine engine;
    engine.Host = &host;
    engine.FontEngine = &fonts;
    engine.Clock = [] { return 0u; };
    engine.LoadFromString(Windows);
    for (int pass = 0; pass < 2; ++pass) {
        engine.RestoreProperties();
        try {
            engine.LoadFromFile(path);
        } catch (const std::exception&) {
            // A property that does not exist ends the file's pass; the game logs it.
        }
    }
    engine.ShowModal("WLanguage");
    engine.DrawAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = [] {
        RegisterGraphicsClasses();
        RegisterInterfaceClasses();
        return (std::filesystem::temp_directory_path() /
                ("tervolin-fuzz-user-file-" + std::to_string(::getpid())))
            .string();
    }();
    // Registered once the path exists, so it runs before the path is destroyed.
    static const int removeAtExit = std::atexit([] { std::filesystem::remove(path); });
    (void)removeAtExit;
    if (size == 0) return 0;
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data + 1), std::streamsize(size - 1));
    switch (data[0] % 5) {
        case 0:
            ReadPlayers(path);
            break;
        case 1:
            ReadScores(path);
            break;
        case 2:
            ReadOptions(path);
            break;
        case 3:
            ReadRegistry(path);
            break;
        default:
            ReadLanguage(path);
            break;
    }
    return 0;
}
