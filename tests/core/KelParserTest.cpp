// Reading, querying, copying and writing documents of the XML dialect.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/KelParser.h"
#include "core/MemoryStream.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

std::string Saved(const std::string& input) {
    TKelParser doc;
    doc.LoadFromString(input);
    return doc.SaveToString();
}

// Names of the children of an element, joined by commas.
std::string ChildNames(const TKelXMLTag* tag) {
    std::string names;
    for (const auto& child : tag->Tags()) names += (names.empty() ? "" : ",") + child->Name;
    return names;
}

int Depth(const TKelXMLTag* tag) {
    int depth = 0;
    while (tag->TagCount() > 0) tag = tag->GetTag(0), ++depth;
    return depth;
}

}  // namespace

TEST(KelParserText, PositionsAndDelimiters) {
    EXPECT_EQ(PosFrom("b", "abcb", 1), 2);
    EXPECT_EQ(PosFrom("b", "abcb", 3), 4);
    EXPECT_EQ(PosFrom("b", "abcb", 5), 0);
    EXPECT_EQ(PosFrom("cb", "abcb", 4), 0);  // does not fit
    EXPECT_EQ(PosFrom("", "abc", 1), 0);
    EXPECT_EQ(PosFrom("a", "", 1), 0);
    EXPECT_EQ(PosFrom("a", "abc", -5), 1);
    EXPECT_EQ(TextBetween("x(abc)y", "(", ")", 1), "abc");
    EXPECT_EQ(TextBetween("x)abc(y", "(", ")", 1), "");
    EXPECT_EQ(TextBetween("a\"b\"c\"d\"", "\"", "\"", 1), "b");
    EXPECT_EQ(TextBetween("a\"b\"c\"d\"", "\"", "\"", 5), "d");
    EXPECT_EQ(TextBetween("<<x>", "<<", ">", 1), "x");
    EXPECT_EQ(TextBetween("ab", "ab", "b", 1), "");  // the closing one overlaps the opening one
    EXPECT_EQ(NormalizeSpaces("a\r\nb\tc\rd\ne"), "a b c\rd\ne");
}

TEST(KelParserText, EntitiesDecodeInOrder) {
    EXPECT_EQ(DecodeEntities("&lt;&gt;&amp;&apos;&quot;&#65;"), "<>&'\"&#65;");
    EXPECT_EQ(DecodeEntities("&amp;apos; &amp;quot;"), "' \"");   // decoded twice
    EXPECT_EQ(DecodeEntities("&amp;lt; &amp;gt;"), "&lt; &gt;");  // decoded once
    EXPECT_EQ(EncodeEntities("a&b<c>d'e\"f"), "a&amp;b&lt;c&gt;d&apos;e&quot;f");
}

TEST(KelParserText, NumbersAndTrim) {
    EXPECT_EQ(TextToFloat(" 1.5 "), 1.5);
    EXPECT_EQ(TextToFloat("-2.5e2"), -250.0);
    EXPECT_EQ(TextToFloat("+.5"), 0.5);
    for (const char* bad : {"", "1,5", "1.5x", "e5", "1e", "nan", "inf", "0x10", "--1"})
        EXPECT_EQ(TextToFloat(bad), 0.0) << bad;
    EXPECT_EQ(Trim(std::string("\x01 a b\t\r\n", 8)), "a b");
    int32_t value = 7;
    EXPECT_TRUE(TryStrToInt(" -12", value));
    EXPECT_EQ(value, -12);
    EXPECT_TRUE(TryStrToInt("$1F", value));
    EXPECT_EQ(value, 31);
    EXPECT_TRUE(TryStrToInt("-2147483648", value));
    EXPECT_EQ(value, INT32_MIN);
    for (const char* bad : {"", "-", "12 ", "2147483648", "1.0", "0x", "abc"}) {
        value = 7;
        EXPECT_FALSE(TryStrToInt(bad, value)) << bad;
        EXPECT_EQ(value, 7);
    }
}

TEST(KelParser, ReadsAttributesInOrderAndDecodesText) {
    TKelParser doc;
    doc.LoadFromString("<a x=\"1\" y=\"2 &amp; 3\">  salt &amp; pepper \r\n\tand\tmore  </a>");
    ASSERT_EQ(doc.TagCount(), 1);
    const TKelXMLTag* a = doc.GetTag(0);
    EXPECT_EQ(a->Name, "a");
    ASSERT_EQ(a->AttributeCount(), 2);
    EXPECT_EQ(a->GetAttribute(0)->Name, "x");
    EXPECT_EQ(a->GetAttribute(1)->Value, "2 &amp; 3");  // attribute values stay undecoded
    EXPECT_EQ(a->Text, "salt & pepper   and more");
    EXPECT_EQ(a->Parent, &doc);
    EXPECT_EQ(doc.SaveToString(),
              "<a x=\"1\" y=\"2 &amp; 3\">salt &amp; pepper   and more</a>\r\n");
}

TEST(KelParser, TreeQuirks) {
    TKelParser doc;
    // The last piece of text wins; every child is kept.
    doc.LoadFromString("<a>first<b/>second<c></c>third</a>");
    EXPECT_EQ(doc.GetTag(0)->Text, "third");
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "b,c");
    // Closing names are not compared.
    doc.LoadFromString("<a><b></x><c/></y><d/>");
    EXPECT_EQ(ChildNames(&doc), "a,d");
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "b,c");
    // A document type declaration is an opening tag that everything after it nests in.
    doc.LoadFromString("<!DOCTYPE note><note/>");
    EXPECT_EQ(ChildNames(&doc), "!DOCTYPE");
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "note");
    // A bare word ends the attributes; the element stays open.
    doc.LoadFromString("<a b><c/></a><d x=\"1\" y><e/></d>");
    EXPECT_EQ(doc.GetTag(0)->AttributeCount(), 0);
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "c");
    EXPECT_EQ(doc.GetTag(1)->AttributeCount(), 1);
    EXPECT_EQ(ChildNames(doc.GetTag(1)), "e");
    EXPECT_EQ(doc.Warnings.size(), 2u);
    // Single quotes do not delimit; "=" inside a value is harmless.
    doc.LoadFromString("<a p='1' q=\"x=y\" r = \"3\"/>");
    const TKelXMLTag* a = doc.GetTag(0);
    ASSERT_EQ(a->AttributeCount(), 2);  // p takes the next double-quoted value; q is lost
    EXPECT_EQ(a->GetAttribute(0)->Name + "=" + a->GetAttribute(0)->Value, "p=x=y");
    doc.LoadFromString("<a q=\"x=y\" r = \"3\"/>");
    a = doc.GetTag(0);
    ASSERT_EQ(a->AttributeCount(), 2);
    EXPECT_EQ(a->GetAttribute(0)->Value, "x=y");
    EXPECT_EQ(a->GetAttribute(1)->Name, "r");
    // A "<" without a ">" is dropped and what follows is text.
    doc.LoadFromString("<a>x</a>1 < 2");
    EXPECT_EQ(doc.Text, "2");
    // Blanks around a tag's slash keep its kind, so the tree written reads back the same.
    const std::string blanks = "<a>\r\n<b/ >< c x=\"1\"\t/><d></d\r\n>\r\n< /a><e/>";
    doc.LoadFromString(blanks);
    EXPECT_EQ(ChildNames(&doc), "a,e");
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "b,c,d");
    TKelParser again;
    again.LoadFromString(doc.SaveToString());
    EXPECT_EQ(again.SaveToString(), doc.SaveToString());
}

TEST(KelParser, GreaterThanInsideQuotesEndsTheTag) {
    TKelParser doc;
    doc.LoadFromString("<P Name=\"Ann>2\" Level=\"3\"/>\r\n<P Name=\"Bob\"/>");
    ASSERT_EQ(doc.TagCount(), 1);
    const TKelXMLTag* first = doc.GetTag(0);
    EXPECT_EQ(first->AttributeCount(), 0);
    EXPECT_EQ(first->Text, "2\" Level=\"3\"/>");
    EXPECT_EQ(ChildNames(first), "P");  // the element stayed open
    ASSERT_EQ(doc.Warnings.size(), 1u);
    EXPECT_EQ(doc.Warnings[0],
              "[TKelXMLTag.AddTagByString] Expected closed \" in Attribute value but found "
              "nothing! Tag name: \"P\", Attribute name: \"Name\".");
}

TEST(KelParser, AttributeFailureTexts) {
    TKelXMLTag tag("t");
    std::string error;
    tag.AddTagByString("a b", &error);
    EXPECT_EQ(error,
              "[TKelXMLTag.AddTagByString] Expected Attribute name but found nothing! Tag name: "
              "\"a\".");
    tag.AddTagByString("a b=1", &error);
    EXPECT_EQ(error,
              "[TKelXMLTag.AddTagByString] Expected open \" in Attribute value but found nothing! "
              "Tag name: \"a\", Attribute name: \"b\".");
    EXPECT_EQ(tag.TagCount(), 2);  // the children stay appended
}

TEST(KelParser, HeadAndByteOrderMark) {
    TKelParser doc;
    doc.LoadFromString("\xEF\xBB\xBF<a/>");
    EXPECT_EQ(doc.Name, "root");
    EXPECT_EQ(doc.Text, "\xEF\xBB\xBF");
    EXPECT_EQ(doc.SaveToString(), "<a />\r\n");  // the root itself is never written
    doc.LoadFromString("\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"UTF-8\"?><a/>");
    EXPECT_EQ(doc.Name, "xml");
    EXPECT_EQ(doc.Text, "");
    EXPECT_EQ(doc.SaveToString(), "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<a />\r\n");
    // A head of another name renames the root but is not written.
    doc.LoadFromString("<?other a=\"1\"?><b/>");
    EXPECT_EQ(doc.Name, "other");
    EXPECT_EQ(doc.SaveToString(), "<b />\r\n");
}

TEST(KelParser, LateHeadAndExtraClosingTagsLeaveASoundTree) {
    TKelParser doc;
    doc.LoadFromString("<a><b><?xml v=\"1\"?><c>x</c></d>text<e/>");
    EXPECT_EQ(doc.Name, "xml");
    EXPECT_EQ(doc.FindAttribute("v")->Value, "1");
    EXPECT_EQ(ChildNames(&doc), "c,e");
    EXPECT_EQ(doc.Text, "text");
    doc.LoadFromString("</a></b></c><d><e/></d></d></d><f/>");
    EXPECT_EQ(ChildNames(&doc), "d,f");
    EXPECT_EQ(ChildNames(doc.GetTag(0)), "e");
}

TEST(KelParser, FailedTypingPassKeepsWhatWasRead) {
    for (const char* input :
         {"<a><b/></a><c/><!-- open", "<a><b/></a><c/><?xml", "<a><b/></a><c/><>"}) {
        TKelParser doc;
        doc.LoadFromString(input);
        EXPECT_EQ(ChildNames(&doc), "a,c") << input;
        ASSERT_EQ(doc.Warnings.size(), 1u) << input;
        EXPECT_EQ(doc.Warnings[0].rfind("[TKelXMLTag.MakeTypifiedLines] ", 0), 0u);
        doc.MakeTree();  // a second pass gives the same tree
        EXPECT_EQ(ChildNames(&doc), "a,c") << input;
    }
    TKelParser doc;
    doc.LoadFromString("<!-- only --> \r\n ");
    EXPECT_EQ(doc.TagCount(), 0);
    EXPECT_TRUE(doc.Warnings.empty());
}

TEST(KelParser, DeepInputIsCappedAndWalksWithoutRecursion) {
    std::string input;
    for (int i = 0; i < 100000; ++i) input += "<a>";
    TKelParser doc;
    doc.LoadFromString(input);
    EXPECT_EQ(Depth(&doc), MaxXmlDepth + 1);
    TKelXMLTag* deepest = &doc;
    for (int i = 0; i < MaxXmlDepth; ++i) deepest = deepest->GetTag(0);
    EXPECT_EQ(deepest->TagCount(), 100000 - MaxXmlDepth);
    // Closing tags first close the elements attached at the cap.
    input += "<b/>";
    for (int i = 0; i < 100000 - MaxXmlDepth + 1; ++i) input += "</a>";
    input += "<c/>";
    doc.LoadFromString(input);
    deepest = &doc;
    for (int i = 0; i < MaxXmlDepth - 1; ++i) deepest = deepest->GetTag(0);
    EXPECT_EQ(deepest->GetTag(0)->LastTag()->Name, "b");
    EXPECT_EQ(deepest->LastTag()->Name, "c");
    EXPECT_EQ(doc.FindTagDeep("c"), deepest->LastTag());
    // Trees built by calls may be deeper than the cap: copying, searching, writing and
    // destroying them must not recurse.
    TKelXMLTag root("r");
    TKelXMLTag* tag = &root;
    for (int i = 0; i < 200000; ++i) tag = tag->AddTag("n");
    tag->AddTag("leaf");
    EXPECT_EQ(root.FindTagDeep("leaf"), tag->LastTag());
    auto copy = std::make_unique<TKelXMLTag>();
    copy->Assign(root);
    EXPECT_NE(copy->FindTagDeep("leaf"), nullptr);
    copy.reset();
    TKelXMLTag small("s");
    for (int i = 0; i < 3000; ++i) small.AddTag("x")->AddTag("y");
    EXPECT_EQ(small.ToText(0).size(), 3000u * (strlen("\t<x>\r\n\t\t<y />\r\n\t</x>\r\n")) + 11u);
}

TEST(KelParser, WritesTheDialectByteExact) {
    const std::string dir = std::string(TERVOLIN_TEST_DATA) + "/core/";
    TKelParser doc;
    doc.LoadFromFile(dir + "dialect.xml");
    EXPECT_EQ(doc.SaveToString(), ReadFile(dir + "dialect.expected"));
    std::ostringstream out;
    doc.SaveToStream(out);
    EXPECT_EQ(out.str(), ReadFile(dir + "dialect.expected"));
    EXPECT_THROW(doc.LoadFromFile(dir + "missing.xml"), std::runtime_error);
}

TEST(KelParser, TextLayoutByLength) {
    const std::string t79(79, 'x'), t80(80, 'x');
    EXPECT_EQ(Saved("<a>" + t79 + "</a>"), "<a>" + t79 + "</a>\r\n");
    EXPECT_EQ(Saved("<a><b>" + t80 + "</b></a>"),
              "<a>\r\n\t<b>\r\n\t" + t80 + "\r\n\t</b>\r\n</a>\r\n");
    EXPECT_EQ(Saved("<a><b/><c></c></a>"), "<a>\r\n\t<b />\r\n\t<c />\r\n</a>\r\n");
    EXPECT_EQ(Saved(""), "");
}

TEST(KelParser, LineBreaksOfAllKindsAreOneSpace) {
    TKelParser doc;
    doc.LoadFromString(std::string("<a\rx=\"1\"\ny=\"2\">one\rtwo\nthree\r\nfour</a>\0<b/>", 44));
    const TKelXMLTag* a = doc.GetTag(0);
    EXPECT_EQ(a->AttributeCount(), 2);
    EXPECT_EQ(a->Text, "one two three four");
    EXPECT_EQ(doc.TagCount(), 1);  // a zero byte ends the text
}

TEST(KelParser, Queries) {
    TKelParser doc;
    doc.LoadFromString(
        "<o c=\"TKelForm\" n=\"A\"/><o c=\"TKelDefaults\">d</o><p>d</p><o c=\"TKelDefaults\"/>");
    EXPECT_EQ(doc.QueryTag("o(c\"TKelDefaults\")"), doc.GetTag(1));
    EXPECT_EQ(doc.QueryTag(""), doc.GetTag(0));
    EXPECT_EQ(doc.QueryTag("\"d\""), doc.GetTag(1));
    EXPECT_EQ(doc.QueryTag("p\"d\""), doc.GetTag(2));
    EXPECT_EQ(doc.QueryTag("[2]"), doc.GetTag(2));
    EXPECT_EQ(doc.QueryTag("o[2]"), nullptr);        // only the third child is examined
    EXPECT_EQ(doc.QueryTag("p[9]"), doc.GetTag(2));  // out of range: all children
    EXPECT_EQ(doc.QueryTag("[x]p"), doc.GetTag(2));  // invalid: all children
    EXPECT_EQ(doc.QueryTag("o[3](c\"TKelDefaults\")"), doc.GetTag(3));
    EXPECT_EQ(doc.QueryTag("o(n)"), doc.GetTag(0));
    EXPECT_EQ(doc.QueryTag("o(n\"B\")"), nullptr);
    EXPECT_EQ(doc.QueryTag("q"), nullptr);
    const TKelXMLTag* first = doc.GetTag(0);
    EXPECT_EQ(first->QueryAttribute(""), first->GetAttribute(0));
    EXPECT_EQ(first->QueryAttribute("\"A\""), first->GetAttribute(1));
    EXPECT_EQ(first->QueryAttribute("[1]c"), nullptr);
    EXPECT_EQ(first->QueryAttribute("c[7]"), first->GetAttribute(0));
    EXPECT_EQ(doc.GetTag(2)->QueryAttribute(""), nullptr);
    EXPECT_EQ(doc.GetTag(2)->QueryTag(""), nullptr);
}

TEST(KelParser, BuildingFindingAndCopying) {
    TKelParser doc;
    TKelXMLTag* players = doc.AddTag("Players");
    players->AddTag("Player")->AddAttribute("Name", "Ann");
    players->LastTag()->AddAttribute("Name", "Second");
    players->AddTag("Player", "text")->AddTag("Deep");
    players->AddTag("Deep");
    EXPECT_EQ(players->LastTag()->Parent, players);
    EXPECT_EQ(players->FindTag("Player"), players->GetTag(0));
    EXPECT_EQ(players->GetTag(0)->FindAttribute("Name")->Value, "Ann");  // the first wins
    EXPECT_EQ(doc.FindTag("Deep"), nullptr);
    EXPECT_EQ(doc.FindTagDeep("Deep"), players->GetTag(1)->GetTag(0));  // depth first
    EXPECT_EQ(players->GetTag(3), nullptr);
    EXPECT_EQ(players->GetTag(-1), nullptr);
    EXPECT_EQ(players->GetAttribute(0), nullptr);

    TKelXMLTag copy("old", players);
    copy.AddAttribute("gone", "1");
    copy.AddTag("gone");
    copy.Assign(*players);
    EXPECT_EQ(copy.Parent, players);  // the parent link stays
    EXPECT_EQ(copy.ToText(1), players->ToText(1));
    EXPECT_EQ(copy.GetTag(1)->GetTag(0)->Parent, copy.GetTag(1));
    // Copying from a descendant replaces the element by a copy of that descendant.
    players->Assign(*players->GetTag(1));
    EXPECT_EQ(players->Name, "Player");
    EXPECT_EQ(players->Text, "text");
    EXPECT_EQ(ChildNames(players), "Deep");

    players->DeleteTag(5);
    players->DeleteTag(0);
    EXPECT_EQ(players->TagCount(), 0);
    doc.ClearTags();
    EXPECT_EQ(doc.SaveToString(), "");
    doc.AddTag("x")->AddAttribute("v", "a\"&b");
    doc.LastTag()->SetText("l1\nl2");
    // Attribute values are written as they stand; a line break in text starts a new line.
    EXPECT_EQ(doc.SaveToString(), "<x v=\"a\"&b\">l1\r\nl2</x>\r\n");
}

TEST(KelParser, LoadingAgainReplacesTheTree) {
    TKelParser doc;
    doc.LoadFromString("<?xml a=\"1\"?><x/><y/>");
    std::istringstream stream("<z q=\"2\"/>");
    doc.LoadFromStream(stream);
    EXPECT_EQ(ChildNames(&doc), "z");
    EXPECT_EQ(doc.AttributeCount(), 0);
    doc.MakeTree();
    EXPECT_EQ(ChildNames(&doc), "z");

    TMemoryStream memory(std::string("skip<m/>"));
    memory.SetPosition(4);
    doc.LoadFromStream(memory);
    EXPECT_EQ(ChildNames(&doc), "m");
    EXPECT_EQ(memory.Position(), memory.Size());
    TMemoryStream saved(std::string("head:"));
    saved.SetPosition(5);
    doc.SaveToStream(saved);
    // The root keeps the name the first document's head gave it, but not its attributes.
    EXPECT_EQ(saved.ToString(), "head:<?xml?>\r\n<m />\r\n");
}
