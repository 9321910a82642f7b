#include "CControlUI.h"
#include "CTabLayoutUI.h"
#include "UiTestHarness.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// Builds a 300 x 200 window from an inline skin whose root holds body.
std::unique_ptr<SkinWindow> windowWith(const QString& body)
{
    useInlineSkin({{"Layout.xml", ("<Window size=\"300,200\">" + body + "</Window>").toUtf8()}});
    auto window = std::make_unique<SkinWindow>("Layout.xml");
    EXPECT_TRUE(createShown(*window, "layout"));
    window->GetPaintManager().UpdateLayout();
    return window;
}

RECT posOf(SkinWindow& w, const char* name)
{
    CControlUI* c = w.GetPaintManager().FindControl(CDuiString(QString::fromUtf8(name)));
    EXPECT_NE(c, nullptr) << name;
    return c ? c->GetPos() : RECT{};
}

} // namespace

TEST(Layout, FixedAndFlexibleShareTheRow)
{
    auto w = windowWith(R"(<HorizontalLayout name="row">
        <Control name="a" width="50"/><Control name="b"/><Control name="c" width="30"/><Control name="d"/>
      </HorizontalLayout>)");
    EXPECT_EQ(posOf(*w, "row"), (RECT{0, 0, 300, 200}));
    EXPECT_EQ(posOf(*w, "a"), (RECT{0, 0, 50, 200}));
    // 300 - 80 fixed leaves 220 for two flexible children.
    EXPECT_EQ(posOf(*w, "b"), (RECT{50, 0, 160, 200}));
    EXPECT_EQ(posOf(*w, "c"), (RECT{160, 0, 190, 200}));
    EXPECT_EQ(posOf(*w, "d"), (RECT{190, 0, 300, 200}));
}

TEST(Layout, OddRemainderGoesToTheLastFlexibleChild)
{
    auto w = windowWith(R"(<VerticalLayout><Control name="a"/><Control name="b"/><Control name="c"/></VerticalLayout>)");
    EXPECT_EQ(posOf(*w, "a").height(), 66);
    EXPECT_EQ(posOf(*w, "b").height(), 66);
    EXPECT_EQ(posOf(*w, "c"), (RECT{0, 132, 300, 200}));
}

TEST(Layout, PaddingInsetAndChildPadding)
{
    auto w = windowWith(R"(<VerticalLayout inset="10,20,10,20" childpadding="5">
        <Control name="a" height="30" padding="5,2,15,3"/>
        <Control name="b" width="100" height="40"/>
        <Control name="c"/>
      </VerticalLayout>)");
    // Inner area 10..290 x 20..180.
    EXPECT_EQ(posOf(*w, "a"), (RECT{15, 22, 275, 52}));
    EXPECT_EQ(posOf(*w, "b"), (RECT{10, 60, 110, 100}));
    EXPECT_EQ(posOf(*w, "c"), (RECT{10, 105, 290, 180}));
}

TEST(Layout, HiddenControlsTakeNoSpaceAndComeBack)
{
    auto w = windowWith(R"(<HorizontalLayout>
        <Control name="a" width="100"/><Control name="gone" width="100" visible="false"/><Control name="rest"/>
      </HorizontalLayout>)");
    EXPECT_EQ(posOf(*w, "rest"), (RECT{100, 0, 300, 200}));
    CControlUI* gone = w->GetPaintManager().FindControl(u"gone");
    gone->SetVisible(true);
    w->GetPaintManager().UpdateLayout();
    EXPECT_EQ(posOf(*w, "gone"), (RECT{100, 0, 200, 200}));
    EXPECT_EQ(posOf(*w, "rest"), (RECT{200, 0, 300, 200}));
    w->GetPaintManager().FindControl(u"a")->SetVisible(false);
    w->GetPaintManager().UpdateLayout();
    EXPECT_EQ(posOf(*w, "gone"), (RECT{0, 0, 100, 200}));
}

TEST(Layout, HidingAContainerHidesWhatItHolds)
{
    auto w = windowWith(R"(<VerticalLayout><HorizontalLayout name="box" height="50"><Control name="inner"/></HorizontalLayout><Control/></VerticalLayout>)");
    CControlUI* inner = w->GetPaintManager().FindControl(u"inner");
    EXPECT_TRUE(inner->IsVisible());
    w->GetPaintManager().FindControl(u"box")->SetVisible(false);
    EXPECT_FALSE(inner->IsVisible());
    w->GetPaintManager().FindControl(u"box")->SetVisible(true);
    EXPECT_TRUE(inner->IsVisible());
}

TEST(Layout, FloatControlsSitWhereTheirPosSays)
{
    auto w = windowWith(R"(<VerticalLayout inset="10,10,10,10"><Control name="a" height="20"/><Control name="f" float="true" pos="30,40,80,60"/></VerticalLayout>)");
    EXPECT_EQ(posOf(*w, "f"), (RECT{30, 40, 80, 60}));
    EXPECT_EQ(posOf(*w, "a"), (RECT{10, 10, 290, 30}));
}

TEST(Layout, MinAndMaxLimitFlexibleSizes)
{
    auto w = windowWith(R"(<HorizontalLayout><Control name="a" maxwidth="40"/><Control name="b" minwidth="250"/></HorizontalLayout>)");
    EXPECT_EQ(posOf(*w, "a").width(), 40);
    EXPECT_EQ(posOf(*w, "b").width(), 250);
}

TEST(Layout, TabLayoutShowsOnePageAtATime)
{
    auto w = windowWith(R"(<TabLayout name="tab" selectedid="1"><Control name="p0"/><Control name="p1"/><Control name="p2"/></TabLayout>)");
    auto* tab = dynamic_cast<CTabLayoutUI*>(w->GetPaintManager().FindControl(u"tab"));
    ASSERT_NE(tab, nullptr);
    EXPECT_EQ(tab->GetCurSel(), 1);
    EXPECT_FALSE(w->GetPaintManager().FindControl(u"p0")->IsVisible());
    EXPECT_TRUE(w->GetPaintManager().FindControl(u"p1")->IsVisible());
    EXPECT_TRUE(tab->SelectItem(2));
    EXPECT_TRUE(w->GetPaintManager().FindControl(u"p2")->IsVisible());
    EXPECT_FALSE(w->GetPaintManager().FindControl(u"p1")->IsVisible());
    EXPECT_FALSE(tab->SelectItem(3));
    EXPECT_FALSE(tab->SelectItem(-1));
    EXPECT_EQ(tab->GetCurSel(), 2);
    w->GetPaintManager().UpdateLayout();
    EXPECT_EQ(posOf(*w, "p2"), (RECT{0, 0, 300, 200}));
    ASSERT_FALSE(w->notifications.empty());
    EXPECT_EQ(w->notifications.back(), "tabselect:tab");
}

TEST(Layout, FollowsTheWindowWhenItIsResized)
{
    auto w = windowWith(R"(<HorizontalLayout><Control name="a" width="50"/><Control name="b"/></HorizontalLayout>)");
    w->GetHWND()->resize(500, 100);
    EXPECT_EQ(posOf(*w, "b"), (RECT{50, 0, 500, 100}));
}
