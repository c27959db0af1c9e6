// TPlayScreen: the game object's answer to the rules while a level is played. It shows what the
// moves and timers decide: cell pictures and the effects attached to cells (through the board
// presenter), pictures flying into cells, screen effect instances made from effect files or from
// the global effects, sound events and redraw marking. What belongs to other parts of the game
// object (the hover preview under the mouse, the group bonus, winning the level) is handed back
// through the links. It also shows the group bonus: the kind's word and the group's size in
// digits. Relies on the board view and presenter, the effect instances, the global
// effects, the sound events, the redraw grid and the surface store.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/BoardPresenter.h"
#include "app/BoardView.h"
#include "app/GlobalEffects.h"
#include "app/Log.h"
#include "app/RedrawGrid.h"
#include "app/ScreenEffects.h"
#include "app/SoundEvents.h"
#include "core/Random.h"
#include "graphics/KelFontEngine.h"
#include "graphics/SurfEngine.h"
#include "resources/FileFolder.h"
#include "rules/PlayOutput.h"

struct TPlayScreenLinks {
    std::unique_ptr<TFileFolder>& Archive;
    std::unique_ptr<TSurfEngine>& SurfaceStore;
    std::unique_ptr<TKelFontEngine>& FontEngine;
    IRandom& Random;
    TGameLog& Log;
    TBoardView& View;
    TBoardPresenter& Presenter;
    TScreenEffects& ScreenEffects;
    const TGlobalEffects& GlobalEffects;
    TSoundEvents& SoundEvents;
    TRedrawGrid& Redraw;
    // The clock of the pass.
    std::function<uint32_t()> Now;
    std::function<void(uint32_t now)> HoverAgain;
    std::function<void(uint32_t now)> LevelComplete;
    std::function<void()> ScoreChanged;
    // The frame count of the cell's piece strip.
    std::function<int32_t(TCell)> TypeFrames;
};

class TPlayScreen : public IPlayOutput {
  public:
    explicit TPlayScreen(TPlayScreenLinks links) : links_(std::move(links)) {}

    void CellChanged(TCell cell, uint32_t now) override;
    std::string CellPicture(TCell cell) const override;
    TPoint CellPictureSize(TCell cell) const override;
    bool PictureExists(const std::string& name) const override;
    void ResetCellFrame(TCell cell) override;
    void StartCellEffect(TCell cell, const std::string& file, uint32_t at) override;
    void FreeCellEffect(TCell cell) override;
    void FreeCellEffects(TCell cell) override;
    void MoveCell(TCell from, TCell to) override;
    void RotateCells(const std::vector<TCell>& line) override;
    int CobraDirection(TCell cell) const override;
    void StartCellBreakEffect(TCell cell, uint32_t now) override;
    void StartFlight(TCell to, TCell from) override;
    void AdvanceFlight(TCell cell, TPoint target, int32_t dt, int32_t remaining) override;
    void EndFlight(TCell cell) override;
    void StartScreenEffect(const TScreenEffectOrder& order) override;
    bool ScreenEffectExists(const std::string& name) const override;
    void DeleteScreenEffects(const std::string& name) override;
    void PlaySound(const std::string& event, int64_t at) override;
    void MarkRedraw(const TRect& rect) override;
    void ScoreChanged() override;
    void HoverAgain(uint32_t now) override;
    void GroupBonus(int n, uint32_t at, const std::vector<TCell>& group) override;
    void LevelComplete(uint32_t now) override;

  private:
    TEffectSources Sources() const;
    // Shows a copy of a global effect whose first system draws `picture` in `frames` frames.
    static void ShowInFirstSystem(TKelParticleEffect& effect, const std::string& picture,
                                  int32_t frames);
    TPlayScreenLinks links_;
};
