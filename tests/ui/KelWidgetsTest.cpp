// Progress bars and animated pictures.
#include "ui/KelMoving.h"
#include "ui/KelProgressBar.h"
#include "support/UiFixture.h"

#include "core/CoreError.h"

namespace {

TEST_F(UiTest, ProgressBarCountsStepsAndClampsThem) {
    Load(Object("TKelProgressBar", {{"Name", "Bar"},
                                    {"ParentName", "Screen"},
                                    {"Width", "200"},
                                    {"StepWidth", "10"},
                                    {"BarPicture", "bar"}}));
    TKelProgressBar& bar = Get<TKelProgressBar>("Bar");
    struct Case {
        int position, stepWidth, min, max, count;
    };
    for (const Case& c :
         {Case{50, 10, 0, 100, 10}, Case{100, 10, 0, 100, 20}, Case{1000000000, 10, 0, 100, 20},
          Case{-50, 10, 0, 100, 0}, Case{50, 0, 0, 100, 0}, Case{50, 10, 7, 7, 0},
          Case{50, -10, 0, 100, 0}}) {
        bar.StepWidth = c.stepWidth;
        bar.Min = c.min;
        bar.Max = c.max;
        bar.SetPosition(c.position);
        EXPECT_EQ(bar.BarCount(), c.count) << c.position << " " << c.stepWidth;
        EXPECT_EQ(bar.Position(), c.position);
    }
    bar.StepWidth = 10;
    bar.SetPosition(50);
    bar.Draw();
    const auto draws = host.Draws();
    ASSERT_EQ(draws.size(), 11u);  // the background picture, then the bars
    EXPECT_EQ(draws[1], "Draw bar  0,0 a255");
    EXPECT_EQ(draws[10], "Draw bar  90,0 a255");
}

class MovingTest : public UiTest {
  protected:
    TKelMoving& Make(const std::string& picture) {
        Load(Object("TKelMoving", {{"Name", "M"},
                                   {"ParentName", "Screen"},
                                   {"AutoSize", "asPicture"},
                                   {"Picture", picture}}));
        return Get<TKelMoving>("M");
    }
};

TEST_F(MovingTest, FramesFollowTheClock) {
    host.Sizes["walk"] = {400, 50};
    host.Sizes["rest"] = {100, 50};
    TKelMoving& moving = Make("walk:4:100:0;rest:2:50:100;");
    EXPECT_EQ(moving.Width(), 100);
    EXPECT_EQ(moving.Height(), 50);
    ASSERT_EQ(moving.Segments().size(), 2u);
    EXPECT_EQ(moving.Segments()[1].EndTime, 600);
    struct Case {
        uint32_t tick;
        int segment, frame;
    };
    for (const Case& c : {Case{200, 0, 2}, Case{299, 0, 2}, Case{1400, 0, 2}, Case{399, 0, 3},
                          Case{401, 1, 0}, Case{560, 1, 1}}) {
        moving.Tick(c.tick);
        EXPECT_EQ(moving.CurrentSegment(), c.segment) << c.tick;
        EXPECT_EQ(moving.CurrentFrame(), c.frame) << c.tick;
    }
    moving.Tick(250);
    moving.Draw();
    EXPECT_EQ(host.Draws(), (std::vector<std::string>{"Draw walk  0,0 a255 src 200,0-299,49"}));
}

TEST_F(MovingTest, ZeroFramesCountAsOneAndBadNumbersAreRefused) {
    host.Sizes["still"] = {60, 30};
    TKelMoving& moving = Make("still:0:100:0;");
    EXPECT_EQ(moving.Segments()[0].Frames, 1);
    EXPECT_EQ(moving.Width(), 60);
    moving.Tick(12345);
    EXPECT_EQ(moving.CurrentFrame(), 0);
    EXPECT_THROW(moving.SetPicture("still:x:1:0;"), TKelCoreError);
    EXPECT_EQ(moving.Segments()[0].Picture, "still");
    // A segment without its closing ";" is not taken.
    moving.SetPicture("still:2:10:0");
    EXPECT_TRUE(moving.Segments().empty());
    moving.Tick(5);
    moving.Draw();
}

}  // namespace
