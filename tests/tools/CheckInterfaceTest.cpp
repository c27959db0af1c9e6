// check-data reads "Tervolin.li" with the interface engine and reports what the game would miss
// in it: windows and named objects, their classes, handlers it does not publish, pictures that
// are not in the archive, windows off the screen and captions without room; and the language
// files beside the archive laid over it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "resources/FileFolder.h"
#include "support/RunTool.h"
#include "support/TempFolder.h"
#include "support/TestContent.h"

TEST(CheckInterfaceTest, ReportsWhatTheGameWouldMiss) {
    TempFolder folder;
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    archive.AddFile("Panel.png", 1, TMemoryStream(SolidPng(400, 300, 0, 0, 0)));
    archive.AddFile("Tervolin.li", 1, TMemoryStream(std::string(R"(<KelInterface>
  <o c="TKelForm"><p n="Name">WOptions</p><p n="ParentName">Screen</p>
    <p n="AutoSize">asPicture</p><p n="Picture">Panel.png</p><p n="Left">500</p></o>
  <o c="TKelLabel"><p n="Name">WOptions_SMusicVolume</p><p n="ParentName">WOptions</p>
    <p n="Visible">True</p><p n="Left">390</p><p n="Width">20</p><p n="Height">20</p></o>
  <o c="TKelLabel"><p n="Name">WOptions_BOk</p><p n="ParentName">WOptions</p>
    <p n="Picture">Ok.png</p><p n="OnMouseUp">ExecMethod Method="WOptions_BOk_MouseUp";ExecMethod Method="WOptions_Ok";</p></o>
  <o c="TKelForm"><p n="Name">WLanguage</p><p n="ParentName">Screen</p></o>
  <o c="TKelCheckBox"><p n="Name">WOptions_CBHintsOff</p><p n="ParentName">WLanguage</p></o>
</KelInterface>)")));
    archive.Save();

    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    for (const char* line : {
             "Tervolin.li: the window WTitle is missing\n",
             "Tervolin.li: WGame_LScoreCount is missing\n",
             "Tervolin.li: WOptions_SMusicVolume is a TKelLabel, not a TKelSlider\n",
             "Tervolin.li: WOptions_CBHintsOff is not in the window WOptions\n",
             "Tervolin.li: ExecMethod names WOptions_Ok, which the game does not publish\n",
             "Tervolin.li: picture Ok.png is not in the archive\n",
             "Tervolin.li: the window WOptions does not fit the 800 x 600 screen\n",
             "Tervolin.li: WOptions_SMusicVolume lies outside its window\n",
         })
        EXPECT_NE(result.out.find(line), std::string::npos) << line << result.out;
    EXPECT_EQ(result.out.find("WOptions_BOk_MouseUp"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("the window WOptions is missing"), std::string::npos);
}

namespace {

// A game archive of two windows and one font that knows the printable ASCII characters, each 10
// pixels wide and 10 high; the language files go into the folder "lng" beside it.
void WriteLanguageArchive(const TempFolder& folder) {
    std::string metrics;
    for (int c = 32; c < 127; ++c)
        metrics += (metrics.empty() ? "" : ",") + std::to_string(c) + ":0:0:0:10:0";
    TFileFolder archive = TFileFolder::CreateEmpty(folder.File("game.zxc"));
    archive.AddFile("KelUnicode.xml", 1,
                    TMemoryStream("<Font Name=\"KelUnicode\" Height=\"10\" Picture=\"K.png\" "
                                  "Metrics=\"" +
                                  metrics + "\"/>"));
    archive.AddFile("Tervolin.li", 1, TMemoryStream(std::string(R"(<KelInterface>
  <o c="TKelForm"><p n="Name">WOptions</p><p n="ParentName">Screen</p>
    <p n="Width">400</p><p n="Height">300</p></o>
  <o c="TKelLabel"><p n="Name">WOptions_LTitle</p><p n="ParentName">WOptions</p>
    <p n="Width">100</p><p n="Height">12</p><p n="Caption">Options</p></o>
  <o c="TKelLabel"><p n="Name">WOptions_LScore</p><p n="ParentName">WOptions</p>
    <p n="Top">20</p><p n="Width">100</p><p n="Height">12</p><p n="Caption">0</p></o>
  <o c="TKelForm"><p n="Name">WLanguage</p><p n="ParentName">Screen</p>
    <p n="Width">400</p><p n="Height">300</p></o>
  <o c="TKelLabel"><p n="Name">WLanguage_LTitle</p><p n="ParentName">WLanguage</p>
    <p n="Width">100</p><p n="Height">12</p><p n="Caption">Language</p></o>
  <o c="TKelRadioButton"><p n="Name">WLanguage_RBENU</p><p n="ParentName">WLanguage</p>
    <p n="Top">40</p><p n="Width">100</p><p n="Height">12</p><p n="Caption">English</p></o>
</KelInterface>)")));
    archive.Save();
    std::filesystem::create_directory(folder.File("lng"));
    folder.Write("lng/readme.txt", "not a language file");
}

std::vector<std::string> LanguageLines(const std::string& out) {
    std::vector<std::string> lines;
    std::istringstream text(out);
    for (std::string line; std::getline(text, line);)
        if (line.starts_with("lng")) lines.push_back(line);
    return lines;
}

}  // namespace

TEST(CheckInterfaceTest, LanguageFilesBesideTheArchiveAreLaidOverTheDescription) {
    TempFolder folder;
    WriteLanguageArchive(folder);
    folder.Write("lng/deu_1.lng", R"(<KelInterface>
  <o c="TKelLabel"><p n="Name">WOptions_LTitle</p><p n="Caption">Einstellungen</p></o>
  <o c="TKelLabel"><p n="Name">WOptions_LMissing</p><p n="Caption">Fehlt</p></o>
  <o c="TKelRadioButton"><p n="Name">WLanguage_RBDEU</p><p n="Caption">Deutsch</p></o>
  <o c="TKelRadioButton"><p n="Name">WLanguage_RBRUS</p><p n="Caption">Рус</p></o>
  <o c="TKelLabel"><p n="Name">WLanguage_LTitle</p><p n="Colour">1</p></o>
</KelInterface>)");
    folder.Write("lng/rus_2.lng", "<Other/>");

    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(result.exitCode, 1);
    const std::vector<std::string> expected = {
        "lng/deu_1.lng: WOptions_LTitle: its caption needs 2 lines, the label holds 1",
        "lng/deu_1.lng: there is no object WOptions_LMissing",
        "lng/deu_1.lng: WLanguage_LTitle has no property Colour",
        "lng/deu_1.lng: WLanguage_RBRUS: the font KelUnicode has no glyphs for \"Рус\"",
        "lng/deu_1.lng: WLanguage_LTitle keeps its English caption \"Language\"",
        "lng/rus_2.lng: the file does not begin with a KelInterface element",
        "lng: no enu file names the language buttons, so in English they all read like the "
        "English one",
    };
    const std::vector<std::string> lines = LanguageLines(result.out);
    for (const std::string& line : expected)
        EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << line << "\n"
                                                                            << result.out;
    // The score's digits need no translation; the property that does not exist stops the file.
    EXPECT_EQ(result.out.find("WOptions_LScore"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("lng/deu_1.lng: loading stops: "), std::string::npos) << result.out;
}

TEST(CheckInterfaceTest, CompleteLanguageFilesThatFitPass) {
    TempFolder folder;
    WriteLanguageArchive(folder);
    const std::string buttons =
        R"(<o c="TKelRadioButton"><p n="Name">WLanguage_RBDEU</p><p n="Caption">Deutsch</p></o>)";
    folder.Write("lng/enu_0.lng", "<KelInterface>" + buttons + "</KelInterface>");
    folder.Write("lng/deu_1.lng", R"(<KelInterface>
  <o c="TKelLabel"><p n="Name">WOptions_LTitle</p><p n="Caption">Optionen</p></o>
  <o c="TKelLabel"><p n="Name">WLanguage_LTitle</p><p n="Caption">Sprache</p></o>
  )" + buttons + "</KelInterface>");
    const ToolResult result = RunTool({"check-data", folder.File("game.zxc")});
    EXPECT_EQ(LanguageLines(result.out), std::vector<std::string>()) << result.out;
}
