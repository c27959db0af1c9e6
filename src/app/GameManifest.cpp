// The game's manifest of shared names.
#include "app/GameManifest.h"

#include <algorithm>

#include "ui/KelCheckBox.h"
#include "ui/KelEdit.h"
#include "ui/KelForm.h"
#include "ui/KelGrid.h"
#include "ui/KelProgressBar.h"
#include "ui/KelSlider.h"

namespace {

const char* const Windows[] = {
    "WTitle",
    "WResource",
    "WSelectGameMode",
    "WContinue",
    "WInstructions",
    "WGame",
    "WGameMenu",
    "WHelp",
    "WQuit",
    "WExitToMainMenu",
    "WAbortLevel",
    "WGameOver",
    "WBetweenLevels",
    "WGameComplete",
    "WAfterGameComplete",
    "WHighScores",
    "WClearHighScores",
    "WChangePlayer",
    "WNewPlayer",
    "WRenamePlayer",
    "WDelete",
    "WPlayerExist",
    "WYourName",
    "WFileProblem",
    "WOptions",
    "WLanguage",
    "WGameLoading",
    "WLoadLevel",
    "WBonusGemHint",
    "WBouncingGemHint",
    "WGemWithLightningHint",
    "WGhostHint",
    "WBombPlaceHint",
    "WScarabHint",
    "WCobraHint",
    "WPyramidHint",
    "WCoinHint",
    "WCartoucheHint",
    "WPyramidStoneHint",
};

const TManifestWidget Widgets[] = {
    {"WTitle_LWelcome", nullptr},
    {"WResource_LWelcome", nullptr},
    {"WResource_LFileDamagedTitle", nullptr},
    {"WResource_LPlayersDamaged", nullptr},
    {"WResource_LSaveFailedTitle", nullptr},
    {"WResource_LSavePlayers", nullptr},
    {"WResource_LSaveHighScores", nullptr},
    {"WResource_LSaveOptions", nullptr},
    {"WResource_LSaveLanguage", nullptr},
    {"WResource_LDiskFull", nullptr},
    {"WResource_LNoPermission", nullptr},
    {"WResource_LReadOnly", nullptr},
    {"WResource_LNoFolder", nullptr},
    {"WFileProblem_LTitle", nullptr},
    {"WFileProblem_LText", nullptr},
    {"WFileProblem_LDetail", nullptr},
    {"WInstructions_TFPage1", &TKelTabForm::StaticClass},
    {"WInstructions_TFPlay", &TKelTabForm::StaticClass},
    {"WInstructions_TFOk", &TKelTabForm::StaticClass},
    {"WInstructions_CBInstructionsOff", &TKelCheckBox::StaticClass},
    {"WGame_LScoreCount", nullptr},
    {"WGame_LLevelCount", nullptr},
    {"WGame_BHint", nullptr},
    {"WGameComplete_LYourScoreCount", nullptr},
    {"WGameComplete_EName", &TKelEdit::StaticClass},
    {"WHighScores_GHighScores", &TKelGrid::StaticClass},
    {"WHighScores_BViewAction", nullptr},
    {"WHighScores_BViewRelax", nullptr},
    {"WChangePlayer_GPlayers", &TKelGrid::StaticClass},
    {"WNewPlayer_ENewPlayer", &TKelEdit::StaticClass},
    {"WRenamePlayer_EPlayerName", &TKelEdit::StaticClass},
    {"WYourName_EYourName", &TKelEdit::StaticClass},
    {"WOptions_CBFullScreen", &TKelCheckBox::StaticClass},
    {"WOptions_CB32bitColor", &TKelCheckBox::StaticClass},
    {"WOptions_CBHintsOff", &TKelCheckBox::StaticClass},
    {"WOptions_SMusicVolume", &TKelSlider::StaticClass},
    {"WOptions_SSoundVolume", &TKelSlider::StaticClass},
    {"WOptions_BOk", nullptr},
    {"WOptions_BCancel", nullptr},
    {"WLanguage_RBENU", &TKelRadioButton::StaticClass},
    {"WGameLoading_PBGameLoading", &TKelProgressBar::StaticClass},
    {"WGameLoading_LLoading", nullptr},
    {"WLoadLevel_PBLoadLevel", &TKelProgressBar::StaticClass},
    {"WLoadLevel_LLoadLevelText", nullptr},
};

const char* const Handlers[] = {
    "WTitle_BStartGame_MouseUp",
    "WContinue_BNewGame_MouseUp",
    "WContinue_BPlaySaved_MouseUp",
    "WContinue_BCancel_MouseUp",
    "WSelectGameMode_BAction_MouseUp",
    "WSelectGameMode_BRelax_MouseUp",
    "WTitle_BHighScores_MouseUp",
    "WTitle_BChangePlayer_MouseUp",
    "WTitle_BQuit_MouseUp",
    "WTitle_LBrontelLink_MouseUp",
    "AddLogoMouseUp",
    "WFileProblem_BClose_MouseUp",
    "WType_BOK_MouseUp",
    "WInstructions_TFPlay_BPlay_MouseUp",
    "WInstructions_TFOk_BOk_MouseUp",
    "WInstructions_TFPage1_BPage2_MouseUp",
    "WInstructions_CBINstructionsOff_MouseUp",
    "WGame_BMenu_MouseUp",
    "WGame_BQuit_MouseUp",
    "WGame_BHelp_MouseUp",
    "WGame_BMize_MouseUp",
    "WGame_BUndo_MouseUp",
    "WGameMenu_BResume_MouseUp",
    "WGameMenu_BInstructions_MouseUp",
    "WGameMenu_BQuit_MouseUp",
    "WHelp_BClose_MouseUp",
    "WQuit_BCancel_MouseUp",
    "WExitToMainMenu_BOk_MouseUp",
    "WGameOver_BOk_MouseUp",
    "WAbortLevel_BOk_MouseUp",
    "WBetweenLevels_BPlay_MouseUp",
    "WLevelComplete_BOk_MouseUp",
    "WGameComplete_BOk_MouseUp",
    "WAfterGameComplete_BOk_MouseUp",
    "WHighScores_BViewAction_MouseUp",
    "WHighScores_BViewRelax_MouseUp",
    "WHighScores_BClear_MouseUp",
    "WClearHighScores_BOk_MouseUp",
    "WYourName_BOk_MouseUp",
    "WNewPlayer_BOk_MouseUp",
    "WChangePlayer_BDone_MouseUp",
    "WChangePlayer_GPlayers_MouseDown",
    "WChangePlayer_GPlayers_DblClick",
    "WChangePlayer_BCancel_MouseUp",
    "WChangePlayer_BDelete_MouseUp",
    "WDelete_BOk_MouseUp",
    "WChangePlayer_BRename_MouseUp",
    "WRenamePlayer_BOk_MouseUp",
    "WOptions_BOk_MouseUp",
    "WOptions_BCancel_MouseUp",
    "WOptions_SMusicVolume_Change",
    "WOptions_SSoundVolume_Change",
    "WLanguage_BOk_MouseUp",
};

const char* const EffectFiles[] = {
    "efBallsRotation.xml",
    "efBlick.xml",
    "efBlickComplete1.xml",
    "efBomb1.xml",
    "efBombMove.xml",
    "efBombPlace.xml",
    "efBonus50.xml",
    "efBonusExcellent.xml",
    "efBonusFantastic.xml",
    "efBonusGem.xml",
    "efBonusGemOnHint.xml",
    "efBonusGemOnInstr.xml",
    "efBonusGreat.xml",
    "efBonusIncredible.xml",
    "efBouncingGemOnHint.xml",
    "efBouncingGemOnInstr.xml",
    "efBreakFishka.xml",
    "efBreakFishka1.xml",
    "efBreakFishka2.xml",
    "efClickOnCobra1.xml",
    "efClickOnCobra2.xml",
    "efClickOnCobra3.xml",
    "efClickOnCobra3OnInstr.xml",
    "efClickOnCobra4.xml",
    "efClickOnCobra5.xml",
    "efClickOnCobra6.xml",
    "efClickOnPyramid.xml",
    "efClickOnScarabBonus0.xml",
    "efClickOnScarabBonus0_Back.xml",
    "efClickOnScarabBonus300.xml",
    "efClickOnScarabBonus300_Back.xml",
    "efClickOnScarabBonus60.xml",
    "efClickOnScarabBonus60_Back.xml",
    "efCobraOnInstr.xml",
    "efCobraRotate.xml",
    "efCoin.xml",
    "efDiagLTBombBonus.xml",
    "efDiagLTBombShot.xml",
    "efDiagRTBombBonus.xml",
    "efDiagRTBombShot.xml",
    "efHelp11.xml",
    "efHelp12.xml",
    "efHelp21.xml",
    "efHelp23.xml",
    "efHelp31.xml",
    "efHelp32.xml",
    "efInstructionBlickComplete.xml",
    "efInstructionBlickComplete3.xml",
    "efInstructionGBC.xml",
    "efInstructionGBC2.xml",
    "efJumpBall.xml",
    "efLevelComplete.xml",
    "efLevelMarkerOnMap.xml",
    "efLightningGemOnHint.xml",
    "efMouseCursor.xml",
    "efMouseOver1.xml",
    "efMouseOver2.xml",
    "efMouseOver3.xml",
    "efMove.xml",
    "efMoveAlpha01.xml",
    "efMoveAlpha10.xml",
    "efMoveJumpBall.xml",
    "efPharaohAngry.xml",
    "efPharaohAngryOnInstr.xml",
    "efPharaohFaces1.xml",
    "efPharaohFaces2.xml",
    "efPharaohFaces3.xml",
    "efPharaohFaces4.xml",
    "efPharaohFaces5.xml",
    "efPharaohFaces6.xml",
    "efPharaohFaces6OnInstr.xml",
    "efPyramid.xml",
    "efScarabOnInstructions.xml",
    "efTitle.xml",
    "efVertBombBonus.xml",
    "efVertBombShot.xml",
};

const char* const Music[] = {
    "vibe-eg6.mo3",
};

}  // namespace

std::span<const char* const> GameWindows() {
    return Windows;
}

std::span<const TManifestWidget> GameWidgets() {
    return Widgets;
}

std::span<const char* const> PublishedHandlers() {
    return Handlers;
}

bool IsPublishedHandler(const std::string& name) {
    return std::any_of(std::begin(Handlers), std::end(Handlers),
                       [&](const char* handler) { return name == handler; });
}

std::span<const char* const> CodeEffectFiles() {
    return EffectFiles;
}

std::span<const char* const> CodeMusic() {
    return Music;
}
