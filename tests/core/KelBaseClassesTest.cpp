// Named objects in engines: creation by class name, names, parents and published properties.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/CoreError.h"
#include "core/KelBaseClasses.h"

namespace {

// A widget-like class with one property of every value type; Visible has a side effect.
class TTestWidget : public TKelObject {
    KEL_CLASS(TTestWidget)
  public:
    std::string Style, Caption;
    std::u32string Hint;
    int32_t Left = 0;
    uint8_t Alpha = 255;
    TTextAlignment Alignment = taLeft;
    int VisibleWrites = 0;
    std::string Metrics;

    bool Visible() const { return FVisible; }
    void SetVisible(const bool& visible) {
        FVisible = visible;
        ++VisibleWrites;
    }

  private:
    bool FVisible = true;
};

const TKelClass& TTestWidget::StaticClass() {
    static const TKelClass info = MakeKelClass<TTestWidget>(
        "TTestWidget", &TKelObject::StaticClass(),
        {Field("Style", &TTestWidget::Style),
         Field("Caption", &TTestWidget::Caption, TKelPropertyType::Utf8String),
         Field("Hint", &TTestWidget::Hint), Field("Left", &TTestWidget::Left),
         Field("Alpha", &TTestWidget::Alpha), Field("Alignment", &TTestWidget::Alignment),
         Accessor<TTestWidget, bool>("Visible", &TTestWidget::Visible, &TTestWidget::SetVisible),
         Accessor<TTestWidget, std::string>("Metrics", nullptr,
                                            [](TTestWidget& widget, const std::string& text) {
                                                widget.Metrics = "[" + text + "]";
                                            })});
    return info;
}

// Not registered: cannot be created from a description.
class TTestAbstract : public TTestWidget {
    KEL_CLASS(TTestAbstract)
  public:
    virtual void Draw() = 0;
};

const TKelClass& TTestAbstract::StaticClass() {
    static const TKelClass info =
        MakeKelClass<TTestAbstract>("TTestAbstract", &TTestWidget::StaticClass(), {});
    return info;
}

class KelEngineTest : public testing::Test {
  protected:
    void SetUp() override {
        TKelClassReg::Instance().Add(TTestWidget::StaticClass());
        engine.OnError = [this](const std::string& text) { errors.push_back(text); };
    }
    TTestWidget& Widget(const std::string& name) {
        return dynamic_cast<TTestWidget&>(*engine.FindObject(name));
    }
    TKelEngine engine;
    std::vector<std::string> errors;
};

}  // namespace

TEST_F(KelEngineTest, CreatesRegisteredClassesByName) {
    EXPECT_EQ(TKelClassReg::Instance().Classes().front(), &TKelObject::StaticClass());
    TKelClassReg::Instance().Add(TTestWidget::StaticClass());  // registering again keeps one
    int count = 0;
    for (const TKelClass* kelClass : TKelClassReg::Instance().Classes())
        count += kelClass->Name == "TTestWidget";
    EXPECT_EQ(count, 1);
    EXPECT_EQ(TKelClassReg::Instance().FindClass("ttestwidget"), nullptr);  // case-sensitive

    EXPECT_EQ(engine.CreateObject("WForm", "", "TTestWidget"), 0);
    EXPECT_EQ(engine.CreateObject("WForm_LName", "WForm", "TTestWidget"), 1);
    EXPECT_EQ(engine.CreateObject("WOther", "", "TTestAbstract"), -1);
    EXPECT_EQ(engine.CreateObject("WOther", "", "TKelNoSuchClass"), -1);
    EXPECT_EQ(engine.ObjectCount(), 2);
    TKelObject* label = engine.GetObject(1);
    EXPECT_EQ(label->GetEngine(), &engine);
    EXPECT_EQ(label->ParentName, "WForm");
    EXPECT_EQ(&label->GetClass(), &TTestWidget::StaticClass());
    EXPECT_EQ(engine.CreateObject("Plain", "", "TKelObject"), 2);
}

TEST_F(KelEngineTest, NamesAreUniqueAndExact) {
    engine.CreateObject("Button", "", "TTestWidget");
    EXPECT_EQ(engine.CreateObject("Button", "", "TTestWidget"), 1);
    EXPECT_EQ(engine.GetObject(1)->Name(), "");  // the duplicate stays unnamed
    EXPECT_EQ(engine.FindObject("Button"), engine.GetObject(0));
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "[TKelBaseClasses.SetName] The name \"Button\" is present !");
    engine.GetObject(0)->SetName("Button");  // its own name: nothing, nothing reported
    EXPECT_EQ(errors.size(), 1u);
    engine.GetObject(1)->SetName("Other");
    EXPECT_EQ(engine.IndexOfObject("Other"), 1);
    EXPECT_EQ(engine.IndexOfObject("other"), -1);
    EXPECT_EQ(engine.FindObject("missing"), nullptr);

    engine.GetObject(0)->Tag = 7;
    TTestWidget loose;
    loose.Assign(*engine.GetObject(0));
    EXPECT_EQ(loose.Tag, 7);
    EXPECT_EQ(loose.GetEngine(), &engine);
    EXPECT_EQ(loose.Name(), "");

    engine.DeleteObject(5);
    engine.DeleteObject(-1);
    engine.DeleteObjectByName("Button");
    EXPECT_EQ(engine.ObjectCount(), 1);
    EXPECT_EQ(engine.GetObject(0)->Name(), "Other");
    engine.Clear();
    EXPECT_EQ(engine.ObjectCount(), 0);
}

TEST_F(KelEngineTest, ParentsResolveLaterObjectsAndBreakCycles) {
    engine.CreateObject("Child", "Form", "TTestWidget");
    engine.CreateObject("Form", "", "TTestWidget");
    engine.CreateObject("Self", "Self", "TTestWidget");
    engine.CreateObject("A", "B", "TTestWidget");
    engine.CreateObject("B", "C", "TTestWidget");
    engine.CreateObject("C", "B", "TTestWidget");
    engine.CreateObject("Orphan", "Nobody", "TTestWidget");
    engine.ResolveParents();
    EXPECT_EQ(engine.FindObject("Child")->Parent, engine.FindObject("Form"));
    EXPECT_EQ(engine.FindObject("Form")->Parent, nullptr);
    EXPECT_EQ(engine.FindObject("Self")->Parent, nullptr);
    EXPECT_EQ(engine.FindObject("B")->Parent, nullptr);  // B and C name each other
    EXPECT_EQ(engine.FindObject("C")->Parent, nullptr);
    EXPECT_EQ(engine.FindObject("A")->Parent, engine.FindObject("B"));
    EXPECT_EQ(engine.FindObject("Orphan")->Parent, nullptr);
    // Resolving one object alone also refuses a chain leading back to it.
    engine.FindObject("Form")->ParentName = "Child";
    engine.FindObject("Form")->ResolveParent();
    EXPECT_EQ(engine.FindObject("Form")->Parent, nullptr);
    // Deleting a parent leaves no link to it behind.
    engine.DeleteObjectByName("Form");
    EXPECT_EQ(engine.FindObject("Child")->Parent, nullptr);
}

TEST_F(KelEngineTest, PropertiesConvertByType) {
    engine.CreateObject("W", "", "TTestWidget");
    TTestWidget& widget = Widget("W");
    struct Case {
        const char* Property;
        const char* Text;
        const char* ReadBack;
    };
    const Case cases[] = {
        {"Style", " raw &amp; text ", " raw &amp; text "},
        {"Caption",
         "Gr\xC3\xBC\xC3\x9F"
         "e",
         "Gr\xC3\xBC\xC3\x9F"
         "e"},
        {"Hint", "\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
        {"Left", "-12", "-12"},
        {"Left", "$10", "16"},
        {"Alpha", "0", "0"},
        {"Alpha", "255", "255"},
        {"Alignment", "taCenter", "taCenter"},
        {"Alignment", "TARIGHT", "taRight"},
        {"Visible", "false", "False"},
        {"Visible", "TRUE", "True"},
        {"Tag", "42", "42"},
        {"ParentName", "Form", "Form"},
        {"Name", "Renamed", "Renamed"},
    };
    std::string name = "W";
    for (const Case& c : cases) {
        EXPECT_TRUE(engine.SetProperty(name, c.Property, c.Text)) << c.Property;
        if (std::string(c.Property) == "Name") name = c.Text;
        EXPECT_EQ(ValueToText(engine.GetProperty(name, c.Property)), c.ReadBack) << c.Property;
    }
    EXPECT_EQ(widget.Hint, U"\u20AC 5");
    EXPECT_EQ(widget.VisibleWrites, 2);  // written through the setter
    EXPECT_TRUE(std::holds_alternative<int32_t>(engine.GetProperty(name, "Left")));
    EXPECT_TRUE(engine.SetProperty(name, "Metrics", "a b"));
    EXPECT_EQ(widget.Metrics, "[a b]");
}

TEST_F(KelEngineTest, PropertyErrorsLeaveValuesUnchanged) {
    engine.CreateObject("W", "", "TTestWidget");
    const TTestWidget& widget = Widget("W");
    const char* const bad[][2] = {
        {"Alpha", "256"},   {"Alpha", "-1"},        {"Left", "12a"},         {"Left", ""},
        {"Left", "1e3"},    {"Left", "2147483648"}, {"Alignment", "center"}, {"Visible", "1"},
        {"Visible", "yes"}, {"Unknown", "1"},       {"left", "1"},
    };
    for (const auto& [property, text] : bad)
        EXPECT_THROW(engine.SetProperty("W", property, text), TKelCoreError) << property << text;
    EXPECT_EQ(widget.Alpha, 255);
    EXPECT_EQ(widget.Left, 0);
    EXPECT_EQ(widget.Alignment, taLeft);
    EXPECT_TRUE(widget.Visible());
    EXPECT_THROW(engine.GetProperty("W", "Metrics"), TKelCoreError);  // write-only
    EXPECT_THROW(engine.GetProperty("W", "Nope"), TKelCoreError);
    EXPECT_FALSE(engine.SetProperty("Missing", "Left", "1"));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(engine.GetProperty("Missing", "Left")));
    EXPECT_EQ(ValueToText(engine.GetProperty("Missing", "Left")), "");
}
