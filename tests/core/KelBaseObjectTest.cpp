// Effect object base: names, deep copies of collections, initialisation, text splitting.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/KelBaseObject.h"

namespace {

// An item that copies its value and fails to copy or initialise on demand.
class TTestItem : public TKelBaseObject {
  public:
    int Value = 0;
    bool FailAssign = false, FailInitialize = false;
    int Initialized = 0;

    std::unique_ptr<TKelBaseObject> Create() const override {
        return std::make_unique<TTestItem>();
    }
    bool Assign(const TKelBaseObject* source) override {
        const auto* item = dynamic_cast<const TTestItem*>(source);
        if (!TKelBaseObject::Assign(source) || !item || item->FailAssign) return false;
        Value = item->Value;
        FailInitialize = item->FailInitialize;
        return true;
    }
    bool Initialize() override {
        ++Initialized;
        return !FailInitialize;
    }
    const char* ClassName() const override { return "TKelMorph"; }
};

std::unique_ptr<TTestItem> Item(const std::string& name, int value) {
    auto item = std::make_unique<TTestItem>();
    item->SetName(name);
    item->Value = value;
    return item;
}

}  // namespace

TEST(KelBaseObject, NamesAfterClassAndCutsAt32) {
    EXPECT_EQ(TTestItem().Name(), "KelMorph_Default");
    EXPECT_EQ(TKelStaticCollection().Name(), "KelStaticCollection_Default");
    TTestItem item;
    item.SetName(std::string(40, 'n'));
    EXPECT_EQ(item.Name(), std::string(32, 'n'));
    TTestItem copy;
    EXPECT_FALSE(copy.TKelBaseObject::Assign(nullptr));
    EXPECT_TRUE(copy.TKelBaseObject::Assign(&item));
    EXPECT_EQ(copy.Name(), item.Name());
    EXPECT_TRUE(TKelBaseObject().Initialize());
}

TEST(KelStaticCollection, FindsItemsWithoutRegardToCase) {
    TKelStaticCollection collection;
    EXPECT_EQ(collection.Add(nullptr), 0);
    EXPECT_EQ(collection.Add(Item("Spark", 1)), 1);
    collection.Add(Item("spark", 2));
    EXPECT_EQ(collection.IndexOf("SPARK"), 1);
    EXPECT_EQ(collection.IndexOf("smoke"), -1);
    EXPECT_EQ(collection.GetItem(0), nullptr);
    EXPECT_EQ(collection.GetItem(3), nullptr);
    EXPECT_EQ(collection.GetItem(-1), nullptr);
    std::vector<int> visited;
    EXPECT_FALSE(collection.ForEach([&](TKelStaticCollection& owner, int index, TKelBaseObject&) {
        EXPECT_EQ(&owner, &collection);
        visited.push_back(index);
        return false;  // stops at the first
    }));
    EXPECT_EQ(visited, std::vector<int>{1});
    EXPECT_TRUE(collection.ForEach([&](TKelStaticCollection&, int index, TKelBaseObject&) {
        visited.push_back(index);
        return true;
    }));
    EXPECT_EQ(visited, (std::vector<int>{1, 1, 2}));
}

TEST(KelStaticCollection, CopiesDeeplyOrNotAtAll) {
    TKelStaticCollection source;
    source.SetName("Library");
    source.Add(Item("a", 1));
    source.Add(nullptr);
    auto inner = std::make_unique<TKelStaticCollection>();
    inner->Add(Item("b", 2));
    source.Add(std::move(inner));

    std::unique_ptr<TKelBaseObject> copy = source.Create();
    ASSERT_TRUE(copy->Assign(&source));
    auto& collection = dynamic_cast<TKelStaticCollection&>(*copy);
    EXPECT_EQ(collection.Name(), "Library");
    ASSERT_EQ(collection.Count(), 3);
    EXPECT_EQ(dynamic_cast<TTestItem&>(*collection.GetItem(0)).Value, 1);
    EXPECT_NE(collection.GetItem(0), source.GetItem(0));
    EXPECT_EQ(collection.GetItem(1), nullptr);
    auto& innerCopy = dynamic_cast<TKelStaticCollection&>(*collection.GetItem(2));
    EXPECT_EQ(dynamic_cast<TTestItem&>(*innerCopy.GetItem(0)).Value, 2);
    EXPECT_TRUE(collection.Assign(&collection));  // from itself: unchanged
    EXPECT_EQ(collection.Count(), 3);

    TTestItem notACollection;
    EXPECT_FALSE(collection.Assign(&notACollection));
    EXPECT_FALSE(collection.Assign(nullptr));
    dynamic_cast<TTestItem&>(*source.GetItem(0)).FailAssign = true;
    EXPECT_FALSE(collection.Assign(&source));
    EXPECT_EQ(collection.Count(), 0);
}

TEST(KelStaticCollection, InitializeStopsAtTheFirstFailure) {
    TKelStaticCollection collection;
    collection.Add(Item("a", 1));
    collection.Add(nullptr);
    auto failing = Item("b", 2);
    failing->FailInitialize = true;
    collection.Add(std::move(failing));
    collection.Add(Item("c", 3));
    EXPECT_FALSE(collection.Initialize());
    EXPECT_EQ(dynamic_cast<TTestItem&>(*collection.GetItem(0)).Initialized, 1);
    EXPECT_EQ(dynamic_cast<TTestItem&>(*collection.GetItem(3)).Initialized, 0);
    collection.Clear();
    EXPECT_TRUE(collection.Initialize());
}

TEST(KelBaseObjectText, SplitTextAndCountChar) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(SplitText("a,,b,", ',', false), (Pieces{"a", "", "b", ""}));
    EXPECT_EQ(SplitText(",a", ',', false), (Pieces{"", "a"}));
    EXPECT_EQ(SplitText("", ',', false), Pieces{});
    EXPECT_EQ(SplitText(" a ; b ", ';', false), (Pieces{" a ", " b "}));
    EXPECT_EQ(SplitText("Path( 1,2 , 3 )tail", ',', true), (Pieces{"1", "2 ", " 3"}));
    EXPECT_EQ(SplitText("f(a(b),c)", ',', true), (Pieces{"a(b)", "c"}));
    EXPECT_EQ(SplitText("f(a,b", ',', true), (Pieces{"a", "b"}));  // no ")": to the end
    EXPECT_EQ(SplitText("a)b(c", ',', true), Pieces{});            // ")" before "("
    EXPECT_EQ(SplitText("a,b", ',', true), Pieces{});              // no "("
    EXPECT_EQ(SplitText("()", ',', true), Pieces{});
    EXPECT_EQ(CountChar("a,b,,c", ','), 3);
    EXPECT_EQ(CountChar("", ','), 0);
}
