#include "CControlUI.h"
#include "InlineWindow.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

std::unique_ptr<SkinWindow> layout(const QString& body)
{
    return showInline("<Window size=\"300,200\">" + body + "</Window>");
}

RECT at(SkinWindow& w, const char* name)
{
    CControlUI* c = w.find<CControlUI>(name);
    EXPECT_NE(c, nullptr) << name;
    return c ? c->GetPos() : RECT{};
}

} // namespace

TEST(LayoutEdges, LimitedFlexibleChildrenLeaveTheRestToTheOthers)
{
    auto w = layout(R"(<HorizontalLayout>
        <Control name="a" maxwidth="40"/><Control name="b"/><Control name="c" minwidth="200"/>
      </HorizontalLayout>)");
    ASSERT_NE(w, nullptr);
    // Equal shares of 100 break both limits: a keeps 40, c takes 200, b gets what is left.
    EXPECT_EQ(at(*w, "a"), (RECT{0, 0, 40, 200}));
    EXPECT_EQ(at(*w, "b"), (RECT{40, 0, 100, 200}));
    EXPECT_EQ(at(*w, "c"), (RECT{100, 0, 300, 200}));

    // Narrower than the minimum: c keeps its 200, the others get nothing, nobody goes negative.
    w->GetHWND()->resize(150, 200);
    w->GetPaintManager().UpdateLayout();
    EXPECT_EQ(at(*w, "a").width(), 0);
    EXPECT_EQ(at(*w, "b").width(), 0);
    EXPECT_EQ(at(*w, "c"), (RECT{0, 0, 200, 200}));
}

TEST(LayoutEdges, FixedSizesObeyTheirLimitsAlongAndAcross)
{
    auto w = layout(R"(<HorizontalLayout>
        <Control name="big" width="500" maxwidth="100" height="500"/>
        <Control name="small" width="10" minwidth="30" height="20" minheight="50"/>
        <Control name="rest"/>
      </HorizontalLayout>)");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(at(*w, "big"), (RECT{0, 0, 100, 200})) << "no taller than the row";
    EXPECT_EQ(at(*w, "small"), (RECT{100, 0, 130, 50}));
    EXPECT_EQ(at(*w, "rest"), (RECT{130, 0, 300, 200}));
}

TEST(LayoutEdges, InsetChildPaddingAndHiddenChildren)
{
    auto w = layout(R"(<VerticalLayout name="col" inset="5,6,7,8" childpadding="4">
        <Control name="a" height="10"/><Control name="gone" height="50" visible="false"/>
        <Control name="b" height="10" padding="3,0,2,0"/><Control name="c"/><Control name="gone2" visible="false"/>
      </VerticalLayout>)");
    ASSERT_NE(w, nullptr);
    // One child padding between visible neighbours only; the hidden ones take no room at all.
    EXPECT_EQ(at(*w, "a"), (RECT{5, 6, 293, 16}));
    EXPECT_EQ(at(*w, "b"), (RECT{8, 20, 291, 30}));
    EXPECT_EQ(at(*w, "c"), (RECT{5, 34, 293, 192}));
    EXPECT_EQ(w->GetPaintManager().FindControl(POINT{100, 40}), w->find<CControlUI>("c"));
    w->find<CControlUI>("gone")->SetVisible(true);
    w->GetPaintManager().UpdateLayout();
    EXPECT_EQ(at(*w, "gone"), (RECT{5, 20, 293, 70}));
    EXPECT_EQ(at(*w, "b").top, 74);
}

TEST(LayoutEdges, FloatChildrenIgnoreInsetPaddingAndTheirSiblings)
{
    auto w = layout(R"(<HorizontalLayout inset="20,20,20,20" childpadding="10">
        <Control name="a" width="50"/>
        <Control name="f" float="true" pos="0,0,30,30"/>
        <Control name="b" width="50"/>
        <VerticalLayout name="box" inset="10,10,10,10"><Control name="g" float="true" pos="5,5,15,25"/><Control name="h"/></VerticalLayout>
      </HorizontalLayout>)");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(at(*w, "f"), (RECT{0, 0, 30, 30})) << "from the holder's corner, not its inset";
    EXPECT_EQ(at(*w, "a"), (RECT{20, 20, 70, 180}));
    EXPECT_EQ(at(*w, "b"), (RECT{80, 20, 130, 180})) << "the float child takes no place in the row";
    const RECT box = at(*w, "box");
    EXPECT_EQ(box, (RECT{140, 20, 280, 180}));
    EXPECT_EQ(at(*w, "g"), (RECT{box.left + 5, box.top + 5, box.left + 15, box.top + 25}));
    EXPECT_EQ(at(*w, "h"), (RECT{150, 30, 270, 170}));
    // Painted last, found first.
    EXPECT_EQ(w->GetPaintManager().FindControl(POINT{25, 25}), w->find<CControlUI>("f"));
}
