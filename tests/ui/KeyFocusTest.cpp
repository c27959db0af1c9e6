// The keys' focus in a window: Tab and the arrows among buttons, check boxes, sliders and edits,
// Return and Space pressing the focused one, the focus mark following hidden buttons and new
// windows while the keys are in use, and the mouse taking the marks away.
#include "ui/KelKeyFocus.h"

#include "ui/KelCheckBox.h"
#include "ui/KelEdit.h"
#include "ui/KelForm.h"
#include "ui/KelSlider.h"
#include "support/UiFixture.h"

namespace {

TEST(KeyFocusGeometry, TheArrowsGoToTheNearestStopInTheirDirection) {
    // A column of three buttons, two side by side under it, and one far off to the right.
    const std::vector<TRect> stops = {
        {100, 0, 199, 39},   {100, 50, 199, 89},   {100, 100, 199, 139},
        {40, 160, 139, 199}, {160, 160, 259, 199}, {600, 10, 699, 49},
    };
    struct Case {
        int from;
        TKeyDirection direction;
        int to;
    };
    const Case cases[] = {
        {0, TKeyDirection::Down, 1},
        {1, TKeyDirection::Up, 0},
        {0, TKeyDirection::Up, -1},
        {2, TKeyDirection::Down, 3},
        {3, TKeyDirection::Right, 4},
        {4, TKeyDirection::Left, 3},
        {0, TKeyDirection::Right, 5},
        {5, TKeyDirection::Left, 0},
        {3, TKeyDirection::Left, -1},
        {4, TKeyDirection::Up, 2},
        {-1, TKeyDirection::Down, -1},
        {1, TKeyDirection::Left, 3},  // nothing within 45 degrees: the nearest that way
    };
    for (const Case& c : cases)
        EXPECT_EQ(StopInDirection(stops, c.from, c.direction), c.to)
            << c.from << " " << int(c.direction);
}

TEST(KeyFocusGeometry, TabStepsRoundAndANewFocusStartsAtTheFirstStop) {
    EXPECT_EQ(StepStop(3, 0, 1), 1);
    EXPECT_EQ(StepStop(3, 2, 1), 0);
    EXPECT_EQ(StepStop(3, 0, -1), 2);
    EXPECT_EQ(StepStop(3, -1, -1), 0);
    EXPECT_EQ(StepStop(0, -1, 1), -1);
    EXPECT_EQ(NearestStop({{0, 0, 9, 9}, {100, 100, 109, 109}}, {90, 95, 99, 99}), 1);
    EXPECT_EQ(NearestStop({}, {0, 0, 9, 9}), -1);
}

// A dialog: an edit over OK and Cancel, and a check box and a slider under them; a second window.
class KeyFocusTest : public UiTest {
  protected:
    void SetUp() override {
        const auto button = [](const std::string& name, int left, int top) {
            return Object("TKelLabel", {{"Name", name},
                                        {"ParentName", "Dialog"},
                                        {"Left", std::to_string(left)},
                                        {"Top", std::to_string(top)},
                                        {"Width", "100"},
                                        {"Height", "40"},
                                        {"Visible", "True"},
                                        {"OnMouseUp", "ExecMethod Method=\"" + name + "\";"}});
        };
        Load(Object("TKelForm", {{"Name", "Dialog"}, {"ParentName", "Screen"}}) +
             Object("TKelEdit", {{"Name", "Name"},
                                 {"ParentName", "Dialog"},
                                 {"Left", "10"},
                                 {"Top", "10"},
                                 {"Width", "200"},
                                 {"Height", "30"},
                                 {"Visible", "True"},
                                 {"Focused", "True"}}) +
             button("Ok", 10, 60) + button("Cancel", 200, 60) +
             Object("TKelLabel", {{"Name", "Caption"},
                                  {"ParentName", "Dialog"},
                                  {"Top", "50"},
                                  {"Width", "50"},
                                  {"Height", "10"},
                                  {"Visible", "True"}}) +
             Object("TKelCheckBox", {{"Name", "Box"},
                                     {"ParentName", "Dialog"},
                                     {"Left", "10"},
                                     {"Top", "120"},
                                     {"Width", "100"},
                                     {"Height", "30"},
                                     {"Visible", "True"}}) +
             Object("TKelSlider", {{"Name", "Volume"},
                                   {"ParentName", "Dialog"},
                                   {"Left", "200"},
                                   {"Top", "120"},
                                   {"Width", "100"},
                                   {"Height", "20"},
                                   {"Orientation", "trHorizontal"},
                                   {"Max", "100"},
                                   {"BigStep", "10"},
                                   {"Position", "50"},
                                   {"Visible", "True"}}) +
             Object("TKelForm", {{"Name", "Second"}, {"ParentName", "Screen"}}) +
             Object("TKelLabel", {{"Name", "Back"},
                                  {"ParentName", "Second"},
                                  {"Top", "300"},
                                  {"Width", "100"},
                                  {"Height", "40"},
                                  {"Visible", "True"},
                                  {"OnMouseUp", "HideModal Form=\"Second\";"}}));
        for (const char* name : {"Ok", "Cancel"})
            engine.RegisterHandler(name, [this, name] { pressed.push_back(name); });
        engine.ShowModal("Dialog");
    }
    std::string Focus() {
        const TKelInterfaceObject* focus = engine.TopForm()->KeyFocus();
        return focus ? focus->Name() : "";
    }
    // Presses the keys in turn; the focus after each.
    std::vector<std::string> Keys(std::initializer_list<int> keys, TShiftState shift = 0) {
        std::vector<std::string> focus;
        for (const int key : keys) {
            engine.KeyDown(key, shift);
            focus.push_back(Focus());
        }
        return focus;
    }
    std::vector<std::string> pressed;
};

TEST_F(KeyFocusTest, TabAndTheArrowsVisitTheStopsAndTheEditKeepsItsCaretKeys) {
    EXPECT_EQ(Focus(), "Name");
    EXPECT_EQ(Keys({vk::Left, vk::Down, vk::Right, vk::Down, vk::Right, vk::Up}),
              (std::vector<std::string>{"Name", "Ok", "Cancel", "Volume", "Volume", "Cancel"}));
    EXPECT_EQ(Get<TKelSlider>("Volume").Position(), 60);  // Right was the slider's own
    EXPECT_EQ(Keys({vk::Tab, vk::Tab, vk::Tab, vk::Tab}),
              (std::vector<std::string>{"Box", "Volume", "Name", "Ok"}));
    EXPECT_EQ(Keys({vk::Tab}, ssShift), (std::vector<std::string>{"Name"}));
    EXPECT_TRUE(engine.KeyNavigation());
}

TEST_F(KeyFocusTest, ReturnAndSpacePressTheFocusedButtonAndFlipTheCheckBox) {
    EXPECT_FALSE(engine.KeyDown(vk::Return, 0));  // the edit leaves Return to the game
    Keys({vk::Down, vk::Right});
    EXPECT_TRUE(engine.KeyDown(vk::Return, 0));
    Keys({vk::Left});
    EXPECT_TRUE(engine.KeyDown(vk::Space, 0));
    EXPECT_EQ(pressed, (std::vector<std::string>{"Cancel", "Ok"}));
    Keys({vk::Down});
    engine.KeyDown(vk::Space, 0);
    EXPECT_TRUE(Get<TKelCheckBox>("Box").Checked());
    EXPECT_TRUE(engine.Press("Ok"));
    EXPECT_FALSE(engine.Press("Caption_Missing"));
}

TEST_F(KeyFocusTest, TheFocusedButtonIsDrawnInItsMouseOverLook) {
    TKelLabel& ok = Get<TKelLabel>("Ok");
    ok.MouseOverPicture = "over.png";
    ok.SetPicture("rest.png");
    Keys({vk::Down});
    host.Calls.clear();
    engine.DrawAll();
    const std::vector<std::string> draws = host.Draws();
    EXPECT_TRUE(std::any_of(draws.begin(), draws.end(), [](const std::string& draw) {
        return draw.rfind("Draw over.png", 0) == 0;
    }));
}

TEST_F(KeyFocusTest, AHiddenFocusedButtonHandsTheFocusToTheNearestStop) {
    Keys({vk::Down, vk::Right});
    Get<TKelLabel>("Cancel").SetVisible(false);
    engine.RunScripts();
    EXPECT_EQ(Focus(), "Volume");  // right under it
}

TEST_F(KeyFocusTest, WindowsShownWhileTheKeysAreInUseStartFocusedAndTheMouseEndsIt) {
    engine.ShowModal("Second");
    EXPECT_EQ(Focus(), "");  // the mouse was in use
    engine.HideModal("Second");
    Keys({vk::Down});
    engine.ShowModal("Second");
    EXPECT_EQ(Focus(), "Back");
    engine.KeyDown(vk::Return, 0);
    EXPECT_EQ(engine.TopForm()->Name(), "Dialog");
    EXPECT_EQ(Focus(), "Ok");
    engine.MouseMove(0, 5, 5);
    EXPECT_FALSE(engine.KeyNavigation());
    EXPECT_EQ(Focus(), "");
    EXPECT_FALSE(Get<TKelLabel>("Ok").KeyFocused());
}

TEST_F(KeyFocusTest, AWindowWithoutAutomaticFocusGetsItFromTabOnly) {
    Get<TKelForm>("Second").AutoKeyFocus = false;
    Keys({vk::Down});
    engine.ShowModal("Second");
    EXPECT_EQ(Focus(), "");
    EXPECT_EQ(Keys({vk::Tab}), (std::vector<std::string>{"Back"}));
}

}  // namespace
