#include "CButtonUI.h"
#include "UiTestHarness.h"
#include "ZipSkinStore.h"
#include "SkinResources.h"

#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado;
using namespace mirado::testing;

TEST(SkinErrors, AFileMissingFromTheArchiveFailsCreation)
{
    useInlineSkin({{"Other.xml", "<Window/>"}});
    SkinWindow w("Missing.xml");
    EXPECT_EQ(w.Create(nullptr, u"missing", WS_VISIBLE, 0), nullptr);
    EXPECT_EQ(w.GetHWND(), nullptr);
    EXPECT_TRUE(w.GetCreateError().contains("Missing.xml"));
}

TEST(SkinErrors, MalformedXmlAndWrongRootFailCreation)
{
    useInlineSkin({{"Broken.xml", "<Window><VerticalLayout></Window>"}, {"NoWindow.xml", "<VerticalLayout/>"}});
    SkinWindow broken("Broken.xml");
    EXPECT_EQ(broken.Create(nullptr, u"b", 0, 0), nullptr);
    EXPECT_TRUE(broken.GetCreateError().contains("line"));
    SkinWindow noWindow("NoWindow.xml");
    EXPECT_EQ(noWindow.Create(nullptr, u"n", 0, 0), nullptr);
}

TEST(SkinErrors, UnknownAttributesAndTagsAreIgnored)
{
    useInlineSkin({{"Odd.xml", R"(<Window size="200,100" showdirty="true" roundcorner="2,2">
        <HorizontalLayout sparkle="yes"><Button name="b" width="50" interval="8" wobble="1"/><Gizmo name="g"/><Control name="c"/></HorizontalLayout>
      </Window>)"}});
    SkinWindow w("Odd.xml");
    ASSERT_TRUE(createShown(w, "odd"));
    w.GetPaintManager().UpdateLayout();
    ASSERT_NE(w.find<CButtonUI>("b"), nullptr);
    EXPECT_EQ(w.find<CButtonUI>("b")->GetWidth(), 50);
    EXPECT_EQ(w.GetPaintManager().FindControl(u"g"), nullptr);
    EXPECT_EQ(w.find<CControlUI>("c")->GetPos(), (RECT{50, 0, 200, 100}));
}

TEST(SkinErrors, AMissingImageIsLeftOutAndTheRestIsDrawn)
{
    useInlineSkin({{"Img.xml", R"(<Window size="100,50"><HorizontalLayout bkcolor="#FF102030">
        <Button name="b" width="50" normalimage="nowhere.png" bkcolor="#FF00FF00"/><Control bkimage="red.png"/></HorizontalLayout></Window>)"},
                   {"red.png", solidPng(4, 4, 0xFFFF0000)}});
    SkinWindow w("Img.xml");
    ASSERT_TRUE(createShown(w, "img"));
    const QImage shot = grab(w);
    EXPECT_EQ(shot.pixel(25, 25) & 0xFFFFFF, 0x00FF00u) << "the button's own colour, no image";
    EXPECT_EQ(shot.pixel(75, 25) & 0xFFFFFF, 0xFF0000u) << "the image that exists is stretched over its control";
}

TEST(SkinErrors, PlainFileSkinsReadTheArchiveAlreadyCurrent)
{
    useInlineSkin({{"Bar.xml", R"(<Window size="120,40"><Control name="bar"/></Window>)"}});
    SkinWindow bar("Bar.xml");
    ASSERT_NE(bar.Create(nullptr, u"bar", 0, 0), nullptr);
    EXPECT_NE(bar.GetPaintManager().FindControl(u"bar"), nullptr);
    EXPECT_EQ(bar.GetHWND()->size(), QSize(120, 40));
}

TEST(SkinErrors, ZipArchivesAreReadWithoutRegardToCase)
{
    EXPECT_EQ(ZipSkinStore::fromBytes("not a zip"), nullptr);
    EXPECT_EQ(ZipSkinStore::fromBytes({}), nullptr);
    auto archive = SkinResources::zipResource(135);
    ASSERT_NE(archive, nullptr) << "the demo skin is compiled in";
    EXPECT_TRUE(archive->read("Demo.xml"));
    EXPECT_TRUE(archive->read("demo.XML"));
    EXPECT_TRUE(archive->read(".\\button.png"));
    EXPECT_FALSE(archive->read("absent.png"));
    EXPECT_EQ(SkinResources::zipResource(999), nullptr);
}
