// The interface engine: loading descriptions (defaults, structural faults, unknown classes,
// duplicate names), language files and their undoing, the modal stack, scripts and drawing.
#include "ui/KelInterfaceEngine.h"

#include "core/CoreError.h"
#include "core/MemoryStream.h"
#include "ui/KelLabel.h"
#include "support/UiFixture.h"

namespace {

using Names = std::vector<std::string>;

std::string Form(const std::string& name, const std::string& parent = "Screen") {
    return Object("TKelForm",
                  {{"Name", name}, {"ParentName", parent}, {"Width", "100"}, {"Height", "100"}});
}

class EngineTest : public UiTest {
  protected:
    Names Stack() const {
        Names names;
        for (const TKelForm* form : engine.ModalStack()) names.push_back(form->Name());
        return names;
    }
    void LoadForms() { Load(Form("A") + Form("B") + Form("C") + Form("D")); }
};

TEST_F(EngineTest, DefaultLinesFillOnlyWhatObjectsDoNotSet) {
    Load(Object("TKelDefaults",
                {{"DefLine", " TKelLabel ; Color ;77"}, {"DefLine", "no semicolon"}}) +
         Form("F") + Object("TKelLabel", {{"Name", "Plain"}, {"ParentName", "F"}}) +
         Object("TKelLabel", {{"Name", "Own"}, {"ParentName", "F"}, {"Color", "5"}}));
    EXPECT_EQ(Get<TKelLabel>("Plain").Color, 77);
    EXPECT_EQ(Get<TKelLabel>("Own").Color, 5);
    EXPECT_EQ(engine.LoadError(), "");
}

TEST_F(EngineTest, StructuralFaultsEndCreationButKeepWhatWasMade) {
    struct Case {
        std::string objects;
        int created;
        std::string error;
    };
    const std::string prefix = "[TKelInterfaceEngine.CreateInterfaceObjects] ";
    const Case cases[] = {
        {Form("A") + Object("TKelForm", {{"Name", "B"}}), 1,
         prefix + "[ClassName:TKelForm] Attribute <n> does not has Name: \"B\" or \"\"!"},
        {Form("A") + "<x c=\"TKelForm\"><p n=\"Name\">B</p></x>", 1,
         prefix + "KelInterface XML file contains wrong tag!"},
        {"<o c=\"TKelForm\" d=\"1\"><p n=\"Name\">B</p></o>", 0,
         prefix + "Tag <o> has wrong number of attributes!"},
        {"<o c=\"TKelForm\"></o>" + Form("A"), 0, prefix + "Tag <o> does not has subtags!"},
        {"<o c=\"TKelForm\"><q n=\"Name\">B</q></o>", 0,
         prefix + "[ClassName:TKelForm] Tag <o> contains wrong subtag!"},
        {"<o c=\"TKelForm\"><p m=\"Name\">B</p></o>", 0,
         prefix + "[ClassName:TKelForm] Tag <p> does not has \"n\" attribute!"},
        {Object("TKelUnknown", {{"Name", "U"}, {"ParentName", "S"}}) + Form("A"), 1, ""},
        {Form("A") + Form("A"), 1, ""},  // the duplicate is reported and dropped
    };
    for (const Case& c : cases) {
        engine.Clear();
        Load(c.objects);
        EXPECT_EQ(engine.ObjectCount(), c.created) << c.objects;
        EXPECT_EQ(engine.LoadError(), c.error) << c.objects;
    }
    // The first object still received its properties.
    engine.Clear();
    Load(Form("A") + Object("TKelForm", {{"Name", "B"}}));
    EXPECT_EQ(Get<TKelForm>("A").Width(), 100);
}

TEST_F(EngineTest, BadValuesAreReportedWithObjectAndPropertyAndSkipped) {
    Load(Object("TKelForm", {{"Name", "F"},
                             {"ParentName", "S"},
                             {"Width", "wide"},
                             {"Nonsense", "1"},
                             {"Height", "9"}}));
    EXPECT_EQ(Get<TKelForm>("F").Height(), 9);
    ASSERT_EQ(errors.size(), 2u);
    EXPECT_NE(errors[0].find("F.Width"), std::string::npos);
    EXPECT_NE(errors[1].find("F.Nonsense"), std::string::npos);
}

TEST_F(EngineTest, ModalStackInEveryOrder) {
    LoadForms();
    engine.ShowModal("A");
    engine.ShowModal("A");
    engine.ShowModal("Missing");
    engine.ShowModal("B");
    engine.ShowModal("C");
    EXPECT_EQ(Stack(), (Names{"A", "B", "C"}));
    EXPECT_TRUE(Get<TKelForm>("C").Visible());
    engine.HideModal("D");  // not shown: nothing happens
    EXPECT_EQ(Stack(), (Names{"A", "B", "C"}));
    engine.HideModal("B");  // closes C and B
    EXPECT_EQ(Stack(), (Names{"A"}));
    EXPECT_FALSE(Get<TKelForm>("C").Visible());
    EXPECT_TRUE(Get<TKelForm>("A").Dirty());
    engine.HideTopModal();
    engine.HideTopModal();
    engine.HideModalList();
    EXPECT_TRUE(Stack().empty());
    for (const char* name : {"A", "B", "C"}) engine.ShowModal(name);
    engine.HideModalList();
    EXPECT_TRUE(Stack().empty());
}

TEST_F(EngineTest, ChangeModalShortensTheStackBeforeShowing) {
    LoadForms();
    for (const char* name : {"A", "B", "C"}) engine.ShowModal(name);
    engine.ChangeModal("B", "D");
    EXPECT_EQ(Stack(), (Names{"A", "D"}));
    EXPECT_EQ(engine.RedrawRect(), (TRect{0, 0, 799, 599}));
    engine.ChangeModal("C");  // from the top form
    EXPECT_EQ(Stack(), (Names{"A", "C"}));
    engine.ChangeModal("Missing", "B");  // nothing closed, so nothing shown
    EXPECT_EQ(Stack(), (Names{"A", "C"}));
}

TEST_F(EngineTest, ScriptsRunTheirCommandsInOrder) {
    LoadForms();
    Names executed;
    engine.RegisterHandler("Go", [&] { executed.push_back("Go"); });
    engine.QueueScript("A",
                       "PlaySound Sound=\"a;b\"; ShowModal Form=\"A\";Unknown X=\"1\";"
                       "ShowModal;HideModal Form=\"Nope\";ExecMethod Method=\"Go\";"
                       "ExecMethod Method=\"Absent\";ChangeModal;SetProp Object=\"A\";"
                       "ShowModal Form=\"B\"");
    engine.QueueScript("B", "");
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 1);
    engine.RunScripts();
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 0);
    EXPECT_EQ(host.Calls, (Names{"Sound a;b"}));
    EXPECT_EQ(Stack(), (Names{"A"}));  // the command without its ";" is lost
    EXPECT_EQ(executed, (Names{"Go"}));
    EXPECT_EQ(engine.Sender(), engine.FindObject("A"));
}

TEST_F(EngineTest, ScriptsQueuedWhileTheQueueRunsAreEmptiedWithIt) {
    LoadForms();
    Names executed;
    // A handler that queues a script, as a grid does when its position is set, and one that
    // starts a run of its own.
    engine.RegisterHandler("Queue", [&] {
        executed.push_back("Queue");
        engine.QueueScript("B", "ExecMethod Method=\"Late\";");
    });
    engine.RegisterHandler("Late", [&] { executed.push_back("Late"); });
    engine.RegisterHandler("Nested", [&] {
        executed.push_back("Nested");
        engine.RunScripts();
    });
    engine.QueueScript("A", "ExecMethod Method=\"Queue\";ExecMethod Method=\"Nested\";");
    engine.QueueScript("B", "ShowModal Form=\"B\";");
    engine.RunScripts();
    EXPECT_EQ(executed, (Names{"Queue", "Nested"}));
    EXPECT_EQ(Stack(), (Names{"B"}));
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 0);
    engine.RunScripts();  // the next input runs nothing left over
    EXPECT_EQ(executed, (Names{"Queue", "Nested"}));

    // A widget's own change scripts can be taken out unrun; the others stay.
    engine.QueueScript("A", "ShowModal Form=\"A\";");
    engine.QueueScript("C", "ShowModal Form=\"C\";");
    engine.QueueScript("A", "ShowModal Form=\"D\";");
    engine.DropScriptsOf("A");
    engine.RunScripts();
    EXPECT_EQ(Stack(), (Names{"B", "C"}));
}

TEST_F(EngineTest, SetPropWritesKnownObjectsAndRaisesForUnknownProperties) {
    LoadForms();
    engine.QueueScript("A",
                       "SetProp Object=\"Nobody\" Prop=\"Left\" Value=\"5\";"
                       "SetProp Object=\"B\" Prop=\"Left\" Value=\"5\";");
    engine.RunScripts();
    EXPECT_EQ(Get<TKelForm>("B").Left(), 5);
    engine.QueueScript("A", "SetProp Object=\"B\" Prop=\"Nonsense\" Value=\"5\";");
    EXPECT_THROW(engine.RunScripts(), TKelCoreError);
    EXPECT_EQ(engine.ScriptQueue().TagCount(), 0);
}

TEST_F(EngineTest, InputGoesToTheTopFormAndRunsItsScripts) {
    Load(Form("Menu") + Form("Options") +
         Object("TKelLabel",
                {{"Name", "Play"},
                 {"ParentName", "Menu"},
                 {"Width", "50"},
                 {"Height", "20"},
                 {"Visible", "True"},
                 {"OnMouseUp", "ChangeModal HideForm=\"Menu\" ShowForm=\"Options\";"}}));
    engine.MouseDown(TMouseButton::mbLeft, ssLeft, 10, 10);  // no form shown: nothing
    engine.ShowModal("Menu");
    engine.MouseDown(TMouseButton::mbLeft, ssLeft, 10, 10);
    engine.MouseUp(TMouseButton::mbLeft, 0, 10, 10);
    EXPECT_EQ(Stack(), (Names{"Options"}));
}

TEST_F(EngineTest, LanguageFilesChangeAndRestoreCaptions) {
    Load(Form("F") + Object("TKelLabel", {{"Name", "Title"},
                                          {"ParentName", "F"},
                                          {"Width", "100"},
                                          {"Height", "20"},
                                          {"Caption", "Hello"}}));
    const auto language = [](const std::string& caption) {
        return "<KelInterface>" + Object("TKelLabel", {{"Name", "Title"}, {"Caption", caption}}) +
               "</KelInterface>";
    };
    engine.LoadLanguageFromString(language("Bonjour"));
    EXPECT_EQ(Get<TKelLabel>("Title").Caption(), "Bonjour");
    engine.LoadLanguageFromString(language("Hallo"));
    EXPECT_EQ(Get<TKelLabel>("Title").Caption(), "Hallo");
    engine.RestoreProperties();
    EXPECT_EQ(Get<TKelLabel>("Title").Caption(), "Hello");
    EXPECT_EQ(engine.ModifiedProperties().TagCount(), 1);
    EXPECT_THROW(
        engine.LoadLanguageFromString("<KelInterface>" +
                                      Object("TKelLabel", {{"Name", "Title"}, {"Nonsense", "1"}}) +
                                      "</KelInterface>"),
        TKelCoreError);
}

TEST_F(EngineTest, DrawAllDrawsTheStackBottomToTopWithTheBumpPass) {
    Load(
        Object(
            "TKelForm",
            {{"Name", "A"}, {"ParentName", "S"}, {"Picture", "a"}, {"BumpMapPicture", "abump"}}) +
        Object("TKelForm", {{"Name", "B"}, {"ParentName", "S"}, {"Picture", "b"}}) +
        Object("TKelInterfaceObject", {{"Name", "Hidden"}, {"ParentName", "B"}, {"Picture", "h"}}));
    engine.ShowModal("A");
    engine.ShowModal("B");
    engine.DrawAll();
    EXPECT_EQ(host.Calls, (Names{"Bump a abump 0,0", "Bump b  0,0", "Draw a abump 0,0 a255",
                                 "Post A", "Draw b  0,0 a255", "Post B"}));
    EXPECT_FALSE(Get<TKelForm>("B").Dirty());
    EXPECT_FALSE(engine.BumpRedrawNeeded());
}

TEST_F(EngineTest, DirtyRectanglesOfChangedObjectsAndForms) {
    Load(Object("TKelForm",
                {{"Name", "A"}, {"ParentName", "S"}, {"Width", "100"}, {"Height", "50"}}) +
         Object("TKelInterfaceObject", {{"Name", "Child"},
                                        {"ParentName", "A"},
                                        {"Width", "10"},
                                        {"Height", "10"},
                                        {"Visible", "True"}}));
    engine.ShowModal("A");
    engine.DrawAll();
    TRects rects;
    engine.CollectDirtyRects(rects);
    EXPECT_TRUE(rects.empty());
    Get<TKelInterfaceObject>("Child").SetLeft(20);
    engine.CollectDirtyRects(rects);
    EXPECT_EQ(rects, (TRects{{20, 0, 29, 9}, {0, 0, 9, 9}}));
    rects.clear();
    Get<TKelForm>("A").SetLeft(5);  // a changed form covers its children
    engine.CollectDirtyRects(rects);
    EXPECT_EQ(rects, (TRects{{0, 0, 99, 49}, {5, 0, 104, 49}}));
    rects.clear();
    engine.CollectAllRects(rects);
    EXPECT_EQ(rects, (TRects{{5, 0, 104, 49}, {25, 0, 34, 9}}));
}

TEST_F(EngineTest, InfoPicturesAndDeletion) {
    Load(Object("TKelForm", {{"Name", "A"}, {"ParentName", "S"}, {"Picture", "a"}}) +
         Object(
             "TKelLabel",
             {{"Name", "L"}, {"ParentName", "A"}, {"Picture", "a"}, {"MouseOverPicture", "over"}}) +
         Object("TKelForm", {{"Name", "Inner"}, {"ParentName", "A"}, {"Picture", "in"}}) +
         Object("TKelForm", {{"Name", "B"}, {"ParentName", "S"}, {"Picture", "b"}}));
    EXPECT_EQ(engine.GetAllPictures(), "a\r\nover\r\nin\r\nb");
    EXPECT_EQ(engine.GetInfo(),
              "KelInterfaceInfo:\r\n\t\tKelInterafce XML file: V1\r\n\t\tKelInterfaceEngine: "
              "V3.08 (23.12.05)\r\n\t\tKelInterfaceClasses: V3.13 (12.05.06)");
    engine.ShowModal("B");
    engine.ShowModal("A");
    engine.DeleteObjectByName("A");
    EXPECT_EQ(engine.ObjectCount(), 1);
    EXPECT_EQ(Stack(), (Names{"B"}));
    engine.DrawAll();
}

TEST_F(EngineTest, AbsurdGeometryIsKeptWithinBounds) {
    TMemoryStream stream("<KelInterface>" +
                         Object("TKelForm", {{"Name", "F"},
                                             {"ParentName", "S"},
                                             {"Left", "-2147483648"},
                                             {"Width", "2147483647"},
                                             {"Height", "2147483647"}}) +
                         Object("TKelLabel", {{"Name", "L"},
                                              {"ParentName", "F"},
                                              {"HAlign", "haRight"},
                                              {"ShiftLeft", "2147483647"},
                                              {"Width", "2147483647"},
                                              {"Height", "5"},
                                              {"LineSpace", "2147483647"},
                                              {"Layout", "tlBottom"},
                                              {"CharShiftAngle", "90"},
                                              {"Caption", "a b c d e f g h"},
                                              {"Visible", "True"}}) +
                         "</KelInterface>");
    engine.LoadFromStream(stream);
    EXPECT_EQ(Get<TKelForm>("F").Left(), -MaxCoordinate);
    EXPECT_EQ(Get<TKelForm>("F").Width(), MaxCoordinate);
    engine.ShowModal("F");
    engine.DrawAll();
    const TKelLabel& label = Get<TKelLabel>("L");
    EXPECT_EQ(label.Left(), MaxCoordinate);
    for (const TKelTextLine& line : label.Lines()) EXPECT_GE(line.Y, -MaxCoordinate);
}

}  // namespace
