// Typed readers of attribute values and child texts.
#include <gtest/gtest.h>

#include "core/CoreError.h"
#include "core/KelXmlValues.h"

TEST(KelXmlValues, ReadsAttributesAndChildren) {
    TKelParser doc;
    doc.LoadFromString(
        "<p x=\"-3\" y=\"$10\" bad=\"1a\" b=\"TRUE\" t=\"true\" f=\"0.25\" n=\"0\">"
        "<Count>12</Count><Flag>false</Flag><Odd>x</Odd></p>");
    const TKelXMLTag* p = doc.GetTag(0);
    EXPECT_EQ(AttrPoint(p), (TPoint{-3, 16}));
    EXPECT_EQ(AttrPoint(p, "x", "none", {5, 6}), (TPoint{-3, 6}));
    EXPECT_EQ(AttrInt(p, "missing", 9), 9);
    EXPECT_THROW(AttrInt(p, "bad"), TKelCoreError);
    EXPECT_EQ(AttrIntDef(p, "bad", 4), 4);
    EXPECT_EQ(AttrIntDef(p, "x", 4), -3);
    EXPECT_TRUE(AttrBool(p, "b", false));
    EXPECT_FALSE(AttrBool(p, "n", true));
    EXPECT_TRUE(AttrBool(p, "bad", true));  // neither a Boolean nor a number: the default
    EXPECT_FALSE(AttrIsTrue(p, "b"));       // only exactly "true"
    EXPECT_TRUE(AttrIsTrue(p, "t"));
    EXPECT_EQ(AttrFloat(p, "f"), 0.25);
    EXPECT_EQ(AttrText(p, "t"), "true");
    EXPECT_EQ(AttrText(nullptr, "t", "d"), "d");
    EXPECT_EQ(ChildInt(p, "Count"), 12);
    EXPECT_THROW(ChildInt(p, "Odd"), TKelCoreError);
    EXPECT_EQ(ChildIntDef(p, "Odd", 3), 3);
    EXPECT_FALSE(ChildBool(p, "Flag", true));
    EXPECT_EQ(ChildText(p, "None", "-"), "-");
    EXPECT_EQ(ChildFloat(p, "Count"), 12.0);
}
