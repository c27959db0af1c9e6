// Interface objects and forms: alignment, picture placement, redraw bookkeeping, hit testing,
// dragging, focus and tab order, tab forms, renaming, parent cycles and deep nesting.
#include "ui/KelForm.h"

#include "ui/KelCheckBox.h"
#include "support/UiFixture.h"

namespace {

class KelFormTest : public UiTest {
  protected:
    void SetUp() override {
        host.Sizes["pic"] = {40, 20};
        Load(Object("TKelForm", {{"Name", "Form"},
                                 {"ParentName", "Screen"},
                                 {"Left", "100"},
                                 {"Top", "50"},
                                 {"Width", "400"},
                                 {"Height", "300"},
                                 {"HeadLine", "0;0;400;20;"}}) +
             Object("TKelInterfaceObject", {{"Name", "Box"}, {"ParentName", "Form"}}));
    }
    TKelForm& form() { return Get<TKelForm>("Form"); }
    TKelInterfaceObject& box() { return Get<TKelInterfaceObject>("Box"); }
};

TEST_F(KelFormTest, HorizontalAlignmentPlacesTheObjectInItsForm) {
    struct Case {
        THAlignType align;
        TAutoSizeType autoSize;
        int width, shift;
        int left, resultWidth;
    };
    const Case cases[] = {
        {haLeft, asNone, 101, 7, 7, 101},       {haCenter, asNone, 101, 0, 150, 101},
        {haRight, asNone, 101, -5, 294, 101},   {haJustify, asNone, 101, 9, 0, 400},
        {haJustify, asPicture, 101, 0, 3, 101}, {haNone, asNone, 101, 50, 3, 101},
    };
    for (const Case& c : cases) {
        TKelInterfaceObject& object = box();
        object.SetHAlign(haNone);
        object.SetAutoSize(asNone);
        object.SetLeft(3);
        object.SetWidth(c.width);
        object.SetAutoSize(c.autoSize);
        object.SetShiftLeft(c.shift);
        object.SetHAlign(c.align);
        EXPECT_EQ(object.Left(), c.left) << int(c.align) << " " << int(c.autoSize);
        EXPECT_EQ(object.Width(), c.resultWidth) << int(c.align);
        EXPECT_EQ(object.AbsLeft(), 100 + c.left);
    }
}

TEST_F(KelFormTest, VerticalAlignmentAndSettersIgnoredWhileAligned) {
    TKelInterfaceObject& object = box();
    object.SetHeight(51);
    object.SetVAlign(vaCenter);
    EXPECT_EQ(object.Top(), 150 - 25);
    object.SetLeft(33);  // the horizontal position is still free
    EXPECT_EQ(object.Left(), 33);
    object.SetTop(1);
    object.SetPos(1, 1);
    EXPECT_EQ(object.Top(), 125);
    EXPECT_EQ(object.Left(), 33);
    object.SetVAlign(vaBottom);
    object.SetShiftTop(-10);
    EXPECT_EQ(object.Top(), 300 - 51 - 10);
}

TEST_F(KelFormTest, PicturePlacementAndFitting) {
    TKelInterfaceObject& object = box();
    object.SetWidth(100);
    object.SetHeight(60);
    object.SetPicture("pic");
    EXPECT_EQ(object.PictureWidth(), 40);
    struct Case {
        TPictureHAlignType h;
        TPictureVAlignType v;
        int left, top;
    };
    for (const Case& c : {Case{phaLeft, pvaTop, 2, 3}, Case{phaCenter, pvaCenter, 32, 23},
                          Case{phaRight, pvaBottom, 62, 43}}) {
        object.SetPictureShiftLeft(2);
        object.SetPictureShiftTop(3);
        object.SetPictureHAlign(c.h);
        object.SetPictureVAlign(c.v);
        EXPECT_EQ(object.PictureLeft(), c.left);
        EXPECT_EQ(object.PictureTop(), c.top);
    }
    object.SetAutoSize(asPicture);
    EXPECT_EQ(object.Width(), 40);
    EXPECT_EQ(object.Height(), 20);
    object.SetPicture("unknown");  // size 0 by 0: the object keeps its size
    EXPECT_EQ(object.Width(), 40);
}

TEST_F(KelFormTest, TwoChangesInOneFrameKeepTheFirstRectangle) {
    TKelInterfaceObject& object = box();
    object.SetWidth(10);
    object.SetHeight(10);
    object.ClearDirty();
    EXPECT_FALSE(object.Dirty());
    object.SetLeft(20);
    object.SetLeft(40);
    EXPECT_TRUE(object.Dirty());
    EXPECT_EQ(object.OldRect(), (TRect{100, 50, 109, 59}));
    EXPECT_EQ(object.ScreenRect(), (TRect{140, 50, 149, 59}));
}

TEST_F(KelFormTest, HitTestIncludesTheTopLeftAndExcludesTheFarEdges) {
    TKelInterfaceObject& object = box();
    object.SetWidth(10);
    object.SetHeight(5);
    EXPECT_TRUE(object.PointInside(100, 50));
    EXPECT_TRUE(object.PointInside(109, 54));
    EXPECT_FALSE(object.PointInside(110, 54));
    EXPECT_FALSE(object.PointInside(109, 55));
    EXPECT_FALSE(object.PointInside(99, 50));
}

TEST_F(KelFormTest, DragStartsStrictlyInsideTheHeadLineAndMovesTheChildren) {
    box().SetLeft(10);
    form().MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 100, 55);  // on the left edge
    EXPECT_FALSE(form().Dragging());
    form().MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 101, 51);
    EXPECT_TRUE(form().Dragging());
    form().MouseMove(nullptr, ssLeft, 131, 61);
    EXPECT_EQ(form().Left(), 130);
    EXPECT_EQ(form().Top(), 60);
    EXPECT_EQ(box().AbsLeft(), 140);
    EXPECT_TRUE(engine.BumpRedrawNeeded());
    form().MouseMove(nullptr, ssLeft, -1, 61);  // outside the screen: ignored
    EXPECT_EQ(form().Left(), 130);
    form().MouseUp(nullptr, TMouseButton::mbLeft, 0, 131, 61);
    form().MouseMove(nullptr, ssLeft, 200, 200);
    EXPECT_EQ(form().Left(), 130);
}

TEST_F(KelFormTest, RenamingAFormKeepsItsChildren) {
    form().SetName("Renamed");
    EXPECT_EQ(box().ParentName, "Renamed");
    engine.ResolveParents();
    TKelForm& renamed = Get<TKelForm>("Renamed");
    renamed.CollectChildren();
    ASSERT_EQ(renamed.Children().size(), 1u);
}

class FocusTest : public UiTest {
  protected:
    // Focused objects with the given tab orders, in description order.
    void LoadFocused(const std::vector<std::string>& tabOrders) {
        std::string objects = Object("TKelForm", {{"Name", "Form"}, {"ParentName", "Screen"}});
        for (size_t i = 0; i < tabOrders.size(); ++i)
            objects += Object("TKelFocusedObject", {{"Name", "F" + std::to_string(i)},
                                                    {"ParentName", "Form"},
                                                    {"Visible", "True"},
                                                    {"TabOrder", tabOrders[i]}});
        Load(objects);
    }
    std::string Order() {
        std::string names;
        for (const TKelFocusedObject* object : Get<TKelForm>("Form").FocusList())
            names += object->Name() + ":" + std::to_string(object->TabOrder()) + " ";
        return names;
    }
    std::string FocusedNames() {
        std::string names;
        for (const TKelFocusedObject* object : Get<TKelForm>("Form").FocusList())
            if (object->Focused()) names += object->Name();
        return names;
    }
};

TEST_F(FocusTest, TheFocusListIsAStableSortWithoutGaps) {
    LoadFocused({"5", "-3", "2147483647", "5", "0"});
    EXPECT_EQ(Order(), "F1:0 F4:1 F0:2 F3:3 F2:4 ");
}

TEST_F(FocusTest, EmptyFocusListAndObjectsWithoutAFormAreHarmless) {
    LoadFocused({});
    int tab = vk::Tab;
    Get<TKelForm>("Form").KeyDown(nullptr, tab, 0);
    Load(Object("TKelFocusedObject", {{"Name", "Alone"}, {"ParentName", "Nobody"}}));
    TKelFocusedObject& alone = Get<TKelFocusedObject>("Alone");
    alone.SetTabOrder(7);
    EXPECT_EQ(alone.TabOrder(), 7);
    alone.SetWidth(10);
    alone.SetHeight(10);
    alone.MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 1, 1);
    EXPECT_TRUE(alone.Focused());
}

TEST_F(FocusTest, SetTabOrderMovesTheObjectAndClamps) {
    LoadFocused({"0", "1", "2"});
    Get<TKelFocusedObject>("F0").SetTabOrder(99);
    EXPECT_EQ(Order(), "F1:0 F2:1 F0:2 ");
    Get<TKelFocusedObject>("F0").SetTabOrder(-4);
    EXPECT_EQ(Order(), "F0:0 F1:1 F2:2 ");
}

TEST_F(FocusTest, APressFocusesTheObjectAndUnfocusesTheFormer) {
    LoadFocused({"0", "1"});
    for (const char* name : {"F0", "F1"}) {
        Get<TKelFocusedObject>(name).SetWidth(10);
        Get<TKelFocusedObject>(name).SetHeight(10);
    }
    Get<TKelFocusedObject>("F1").SetLeft(20);
    Get<TKelFocusedObject>("F0").SetFocused(true);
    Get<TKelForm>("Form").MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 25, 5);
    EXPECT_EQ(FocusedNames(), "F1");
}

TEST_F(UiTest, ShowingATabFormHidesItsGroupInItsFormOnly) {
    std::string objects = Object("TKelForm", {{"Name", "Main"}, {"ParentName", "Screen"}}) +
                          Object("TKelForm", {{"Name", "Other"}, {"ParentName", "Screen"}});
    const char* const pages[][3] = {
        {"A", "Main", "1"}, {"B", "Main", "1"}, {"C", "Main", "2"}, {"D", "Other", "1"}};
    for (const auto& page : pages)
        objects += Object("TKelTabForm", {{"Name", page[0]},
                                          {"ParentName", page[1]},
                                          {"TabGroup", page[2]},
                                          {"Visible", "True"}});
    Load(objects);
    Get<TKelTabForm>("A").SetVisible(true);
    EXPECT_TRUE(Get<TKelTabForm>("A").Visible());
    EXPECT_FALSE(Get<TKelTabForm>("B").Visible());
    EXPECT_TRUE(Get<TKelTabForm>("C").Visible());
    EXPECT_TRUE(Get<TKelTabForm>("D").Visible());
}

TEST_F(UiTest, ParentCyclesAndDeepChainsNeitherRecurseNorHang) {
    std::string objects =
        Object("TKelForm", {{"Name", "Self"}, {"ParentName", "Self"}, {"Picture", "p"}}) +
        Object("TKelForm", {{"Name", "A"}, {"ParentName", "B"}}) +
        Object("TKelForm", {{"Name", "B"}, {"ParentName", "A"}});
    objects += Object("TKelForm", {{"Name", "D0"}, {"ParentName", "Screen"}});
    for (int i = 1; i < 200; ++i)
        objects += Object("TKelForm", {{"Name", "D" + std::to_string(i)},
                                       {"ParentName", "D" + std::to_string(i - 1)},
                                       {"Visible", "True"},
                                       {"Left", "1"}});
    Load(objects);
    EXPECT_EQ(Get<TKelForm>("Self").Parent, nullptr);
    EXPECT_TRUE(Get<TKelForm>("Self").Children().empty());
    EXPECT_EQ(Get<TKelForm>("A").Parent, nullptr);
    EXPECT_TRUE(Get<TKelForm>("A").Children().empty());
    for (const char* name : {"Self", "A", "D0"}) {
        engine.ShowModal(name);
        engine.DrawAll();
        Get<TKelForm>(name).UpdateLayout();
        Get<TKelForm>(name).GetPictures();
        Get<TKelForm>(name).MouseDown(nullptr, TMouseButton::mbLeft, ssLeft, 5, 5);
    }
    // Positions go as deep as the forms are walked.
    EXPECT_EQ(Get<TKelForm>("D20").AbsLeft(), 20);
}

}  // namespace
