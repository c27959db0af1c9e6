// A board for the rules' tests: the cells of columns 3..9, rows 2..7 exist, two piece types
// ("Sun" with three pieces and two colours, "Moon" with two pieces), falling mode, and a
// recording screen. Cells are pinned by hand, so every test knows its board.
//
// Neighbours in this shape: an odd column (raised on screen) touches (c +- 1, r - 1) and
// (c +- 1, r); an even column touches (c +- 1, r) and (c +- 1, r + 1); both touch (c, r +- 1).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "rules/PlayRules.h"

// What the rules asked of the screen and the sound.
class TRecordingOutput : public IPlayOutput {
  public:
    explicit TRecordingOutput(const TPlayState& play) : play_(play) {}

    void CellChanged(TCell cell, uint32_t) override {
        const TFish& fish = play_.Level.Board.Cell(cell.Col, cell.Row);
        std::string name;
        if (fish.Type >= 0) {
            name = "t" + std::to_string(fish.Type) + "p";
            for (int i = 1; i <= 3; ++i)
                if (fish.Has[size_t(i)]) name += char('0' + i);
            name += "c" + std::to_string(fish.Color + 1);
            if (fish.Kind == fkGhost) name.back() = 'G';
        }
        pictures_[Key(cell)] = name;
        ++Changes[Key(cell)];
    }
    std::string CellPicture(TCell cell) const override {
        const auto found = pictures_.find(Key(cell));
        return found == pictures_.end() ? "" : found->second;
    }
    TPoint CellPictureSize(TCell cell) const override {
        return CellPicture(cell).empty() ? TPoint{0, 0} : TPoint{60, 64};
    }
    bool PictureExists(const std::string& name) const override { return !name.empty(); }
    void ResetCellFrame(TCell) override {}
    void StartCellEffect(TCell cell, const std::string& file, uint32_t at) override {
        CellEffects[Key(cell)] = file;
        CellEffectStarts.push_back({cell, file, at});
    }
    void FreeCellEffect(TCell cell) override { CellEffects.erase(Key(cell)); }
    void FreeCellEffects(TCell cell) override { CellEffects.erase(Key(cell)); }
    void MoveCell(TCell from, TCell to) override {
        pictures_[Key(to)] = CellPicture(from);
        CellEffects.erase(Key(to));
        const auto effect = CellEffects.find(Key(from));
        if (effect != CellEffects.end()) {
            CellEffects[Key(to)] = effect->second;
            CellEffects.erase(effect);
        }
    }
    void RotateCells(const std::vector<TCell>& line) override {
        Rotations.push_back(line);
        std::string last = CellPicture(line.back());
        for (size_t i = line.size() - 1; i > 0; --i)
            pictures_[Key(line[i])] = CellPicture(line[i - 1]);
        pictures_[Key(line.front())] = last;
    }
    int CobraDirection(TCell cell) const override {
        const auto found = CobraFacing.find(Key(cell));
        return found == CobraFacing.end() ? 1 : found->second;
    }
    void StartCellBreakEffect(TCell cell, uint32_t) override {
        CellEffects[Key(cell)] = "efBreakFishka.xml";
    }
    void StartFlight(TCell to, TCell from) override { Flights[Key(to)] = CellPicture(from); }
    void AdvanceFlight(TCell, TPoint, int32_t, int32_t) override {}
    void EndFlight(TCell cell) override { Flights.erase(Key(cell)); }
    void StartScreenEffect(const TScreenEffectOrder& order) override {
        Effects.push_back(order);
        Running.insert(order.Name);
    }
    bool ScreenEffectExists(const std::string& name) const override {
        return Running.count(name) > 0;
    }
    void DeleteScreenEffects(const std::string& name) override {
        Running.erase(name);
        Deleted.push_back(name);
    }
    void PlaySound(const std::string& event, int64_t at) override { Sounds.push_back({event, at}); }
    void MarkRedraw(const TRect&) override {}
    void ScoreChanged() override { ++ScoreChanges; }
    void HoverAgain(uint32_t) override { ++HoverAgainCalls; }
    void GroupBonus(int n, uint32_t at, const std::vector<TCell>& group) override {
        GroupBonuses.push_back({n, at, group});
    }
    void LevelComplete(uint32_t) override { ++LevelCompletes; }

    static int Key(TCell cell) { return cell.Col * 100 + cell.Row; }
    bool HasSound(const std::string& event, int64_t at) const {
        for (const auto& sound : Sounds)
            if (sound.first == event && sound.second == at) return true;
        return false;
    }
    const TScreenEffectOrder* FindEffect(const std::string& name, const std::string& file) const {
        for (const auto& effect : Effects)
            if (effect.Name == name && effect.File == file) return &effect;
        return nullptr;
    }

    struct TEffectStart {
        TCell Cell;
        std::string File;
        uint32_t At;
    };
    struct TBonus {
        int N;
        uint32_t At;
        std::vector<TCell> Group;
    };
    std::map<int, int> Changes, CobraFacing;
    std::vector<std::vector<TCell>> Rotations;
    std::set<std::string> Running;  // screen effects started and not yet ended or deleted
    std::vector<std::string> Deleted;
    std::map<int, std::string> CellEffects, Flights;
    std::vector<TEffectStart> CellEffectStarts;
    std::vector<TScreenEffectOrder> Effects;
    std::vector<std::pair<std::string, int64_t>> Sounds;
    std::vector<TBonus> GroupBonuses;
    int HoverAgainCalls = 0, LevelCompletes = 0, ScoreChanges = 0;

  private:
    const TPlayState& play_;
    std::map<int, std::string> pictures_;
};

class PlayRulesTest : public ::testing::Test {
  protected:
    static constexpr uint32_t Start = 100000;

    PlayRulesTest() {
        types_.resize(2);
        types_[0].Name = "Sun";
        types_[0].PieceCount = 3;
        types_[0].ColorCount = 2;
        types_[0].FrameCount = 8;
        types_[1].Name = "Moon";
        types_[1].PieceCount = 2;
        types_[1].ColorCount = 2;
        types_[1].FrameCount = 4;
        params_.DownFall = true;
        ClearPlayState(play_);
        Shape(3, 9, 2, 7);
        play_.Level.LevelFishes = {{0, 0}};
        play_.Level.Goal = 10;
        play_.Level.IncPerFish = 5;
    }

    // Makes the cells of the rectangle exist (others vanish) and fills them with resting Moons
    // of both colours, all showing piece 1: the background is dead, no two of its fishkas merge
    // and no three could complete, so only what a test puts matches anything.
    void Shape(int col1, int col2, int row1, int row2) {
        TBoard& board = play_.Level.Board;
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row)
                board.SetCellExists(col, row,
                                    col >= col1 && col <= col2 && row >= row1 && row <= row2);
        board.CountLevelNeighbours();
        for (int col = 1; col <= BoardColumns; ++col)
            for (int row = 1; row <= BoardRows; ++row) Put({col, row}, 1, (col + row) % 2, "1");
    }

    // Pins a resting fishka: type, colour and the digits of its pieces.
    TFish& Put(TCell cell, int type, int color, const std::string& pieces, bool ghost = false) {
        TFish& fish = Cell(cell);
        fish = TFish{};
        fish.Type = type;
        fish.Color = uint8_t(color);
        for (char piece : pieces) fish.Has[size_t(piece - '0')] = true;
        fish.Kind = ghost ? fkGhost : fkNormal;
        out_.CellChanged(cell, Start);
        return fish;
    }
    TFish& Cell(TCell cell) { return play_.Level.Board.Cell(cell.Col, cell.Row); }

    // Passes of `step` ms from the current clock until `until`, as the main loop runs them.
    void RunUntil(uint32_t until, int32_t step = 10) {
        while (now_ < until) {
            now_ += uint32_t(step);
            rules_.TickGamePlayTimer(now_, true);
            rules_.TickBoxMovePiecesTimer(now_, step);
        }
    }

    static std::string Pieces(const std::array<bool, 4>& pieces) {
        std::string digits;
        for (int i = 1; i <= 3; ++i)
            if (pieces[size_t(i)]) digits += char('0' + i);
        return digits;
    }

    TFishkaTypes types_;
    TGameParams params_;
    TPlayState play_;
    TSequenceRandom random_{{0.5}};
    TRecordingOutput out_{play_};
    TPlayRules rules_{{play_, types_, params_, random_, out_}};
    uint32_t now_ = Start;
};
