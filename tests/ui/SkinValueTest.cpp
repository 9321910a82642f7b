#include "CDuiString.h"
#include "ImageAttribute.h"
#include "SkinValue.h"

#include <gtest/gtest.h>

using namespace mirado;

TEST(SkinValue, ColoursInBothSpellingsAndCases)
{
    EXPECT_EQ(parseColor("0xff888084"), 0xFF888084u);
    EXPECT_EQ(parseColor("0XFF000000"), 0xFF000000u);
    EXPECT_EQ(parseColor("#FFC3C7D5"), 0xFFC3C7D5u);
    EXPECT_EQ(parseColor("#ffbac0c5"), 0xFFBAC0C5u);
    EXPECT_EQ(parseColor("0x88000000"), 0x88000000u);
    EXPECT_EQ(parseColor("#336699"), 0xFF336699u) << "six digits are opaque";
    EXPECT_FALSE(parseColor("red"));
    EXPECT_FALSE(parseColor("#12345"));
    EXPECT_FALSE(parseColor(""));
}

TEST(SkinValue, RectanglesAndSizesWithMissingParts)
{
    EXPECT_EQ(parseRect("17,4,47,26"), (RECT{17, 4, 47, 26}));
    EXPECT_EQ(parseRect(" 1, 2 ,3"), (RECT{1, 2, 3, 0}));
    EXPECT_EQ(parseSize("840,600").cx, 840);
    EXPECT_EQ(parseSize("840,600").cy, 600);
    EXPECT_TRUE(parseBool("TRUE"));
    EXPECT_FALSE(parseBool("false"));
    EXPECT_EQ(parseInt("x", 7), 7);
}

TEST(ImageAttribute, PlainNameAndFullSyntax)
{
    const ImageAttribute plain = ImageAttribute::parse("sys_close.png");
    EXPECT_EQ(plain.file, "sys_close.png");
    EXPECT_FALSE(plain.source);
    EXPECT_FALSE(plain.dest);

    const ImageAttribute full = ImageAttribute::parse("file='playbar\\stop_normal.png' source='0,27,237,54' corner='4,3,25,3' dest='17,4,47,26' fade='128' hole='true'");
    EXPECT_EQ(full.file, "playbar\\stop_normal.png");
    ASSERT_TRUE(full.source);
    EXPECT_EQ(*full.source, (RECT{0, 27, 237, 54}));
    EXPECT_EQ(full.corner, (RECT{4, 3, 25, 3}));
    ASSERT_TRUE(full.dest);
    EXPECT_EQ(*full.dest, (RECT{17, 4, 47, 26}));
    EXPECT_EQ(full.fade, 128);
    EXPECT_TRUE(full.hole);

    EXPECT_EQ(ImageAttribute::parse("file=\"a b.png\" fade='999'").file, "a b.png");
    EXPECT_EQ(ImageAttribute::parse("file='a.png' fade='999'").fade, 255);
    EXPECT_TRUE(ImageAttribute::parse("").file.isEmpty());
}

TEST(CDuiString, OperationsTheWindowsUse)
{
    CDuiString s(u"movie.mp4{#0}");
    EXPECT_EQ(s.Find(u"{#0}"), 9);
    EXPECT_EQ(s.Find(u"{#1}"), -1);
    EXPECT_EQ(s.Find(u"{#0}", 10), -1);
    EXPECT_EQ(s.Find(u"m", 99), -1);
    EXPECT_TRUE(s.Left(9) == u"movie.mp4");
    EXPECT_TRUE(s.Mid(6, 3) == u"mp4");
    EXPECT_TRUE(s.Mid(9) == u"{#0}");
    EXPECT_TRUE(s.Mid(50).IsEmpty());
    EXPECT_TRUE(s.Left(-2).IsEmpty());
    CDuiString t = s;
    EXPECT_EQ(t.Replace(u"{#0}", u""), 1);
    EXPECT_TRUE(t == u"movie.mp4");
    EXPECT_EQ(CDuiString(u"aaa").Replace(u"a", u"aa"), 3);
    EXPECT_EQ(CDuiString(u"x").Replace(u"", u"y"), 0);
    t += u"!";
    t += CDuiString(u"?");
    EXPECT_TRUE(t == u"movie.mp4!?");
    EXPECT_FALSE(CDuiString(u"ABC") == CDuiString(u"abc")) << "== is exact";
    EXPECT_EQ(CDuiString(u"ABC").CompareNoCase(u"abc"), 0);
    CDuiString empty(static_cast<const char16_t*>(nullptr));
    EXPECT_TRUE(empty.IsEmpty());
    EXPECT_EQ(empty.GetData()[0], u'\0');
}
