// check-data reads "Tervolin.li" with the interface engine and reports what the game would miss
// in it: windows and named objects, their classes, handlers it does not publish, pictures that
// are not in the archive, windows off the screen and captions without room.
#include <gtest/gtest.h>

#include "resources/FileFolder.h"
#include "resources/RunTool.h"
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
