#include "CComboUI.h"
#include "CEditUI.h"
#include "COptionUI.h"
#include "CTabLayoutUI.h"
#include "DemoWindow.h"
#include "InlineWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QToolTip>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// Runs the event loop until done() holds or ms have passed; whether it held.
template <class F> bool waitUntil(F done, int ms)
{
    for (int waited = 0; !done() && waited < ms; waited += 20)
        runFor(20);
    return done();
}

int count(const SkinWindow& w, const QString& entry)
{
    return static_cast<int>(std::count(w.notifications.begin(), w.notifications.end(), entry));
}

} // namespace

TEST(ComboInput, KeysOnTheClosedComboAndInItsDropDownSendItemSelect)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "combo", 20, 20));
    auto* combo = w.find<CComboUI>("comb_color");
    // A click opens the drop-down and focuses the combo; Escape closes it unchanged.
    ASSERT_TRUE(click(w, "comb_color"));
    QWidget* drop = combo->GetDropDown();
    ASSERT_NE(drop, nullptr);
    QTest::keyClick(drop, Qt::Key_Escape);
    runFor(10);
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    EXPECT_EQ(combo->SelectedIndex(), 0);
    EXPECT_EQ(w.GetPaintManager().GetFocus(), combo);

    pressKey(w, Qt::Key_Down);
    pressKey(w, Qt::Key_Down);
    EXPECT_EQ(combo->SelectedIndex(), 2);
    EXPECT_EQ(combo->GetText().toQString(), "黄");
    pressKey(w, Qt::Key_Down);
    EXPECT_EQ(combo->SelectedIndex(), 2) << "no item below the last";
    EXPECT_EQ(count(w, "itemselect:comb_color"), 2);
    pressKey(w, Qt::Key_Up);
    EXPECT_EQ(combo->SelectedIndex(), 1);

    // In the open drop-down: the hot item moves with the keys, Enter chooses it.
    ASSERT_TRUE(click(w, "comb_color"));
    drop = combo->GetDropDown();
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(combo->GetHotIndex(), 1) << "the drop-down opens on the current item";
    QTest::keyClick(drop, Qt::Key_Up);
    EXPECT_EQ(combo->GetHotIndex(), 0);
    QTest::keyClick(drop, Qt::Key_Return);
    runFor(10);
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    EXPECT_EQ(combo->SelectedIndex(), 0);
    EXPECT_EQ(count(w, "itemselect:comb_color"), 4);

    // The pointer over an item lights it; a click outside closes without a choice.
    ASSERT_TRUE(click(w, "comb_color"));
    drop = combo->GetDropDown();
    ASSERT_NE(drop, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(drop->windowHandle()));
    const RECT second = combo->GetDropItemRect(1);
    QTest::mouseMove(drop->windowHandle(), QPoint(10, second.top + 5));
    EXPECT_EQ(combo->GetHotIndex(), 1);
    const QImage shot = drop->grab().toImage();
    const qreal ratio = drop->devicePixelRatioF();
    EXPECT_EQ(shot.pixel(int((second.right - 5) * ratio), int((second.top + 5) * ratio)) & 0xFFFFFF, 0xE9F5FFu) << "hot item";
    const RECT first = combo->GetDropItemRect(0);
    EXPECT_EQ(shot.pixel(int((first.right - 5) * ratio), int((first.top + 5) * ratio)) & 0xFFFFFF, 0xC3C7D5u) << "selected item";
    clickAt(w, QPoint(200, 300));
    runFor(10);
    EXPECT_EQ(combo->GetDropDown(), nullptr);
    EXPECT_EQ(combo->SelectedIndex(), 0);
    EXPECT_EQ(count(w, "itemselect:comb_color"), 4);
}

TEST(EditInput, TabSkipsDisabledAndHiddenEditsAndWraps)
{
    auto w = showInline(R"(<Window size="400,60"><HorizontalLayout>
        <Edit name="e1"/><Edit name="e2" enabled="false"/><Edit name="e3" visible="false"/><Edit name="e4"/>
      </HorizontalLayout></Window>)");
    ASSERT_NE(w, nullptr);
    const auto native = [&](const char* name) { return w->find<CEditUI>(name)->GetNativeEdit(); };
    ASSERT_TRUE(typeInto(*w, "e1", "a"));
    pressKey(*w, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), native("e4"));
    EXPECT_EQ(w->GetPaintManager().GetFocus(), w->find<CControlUI>("e4"));
    pressKey(*w, Qt::Key_B);
    EXPECT_EQ(w->find<CEditUI>("e4")->GetText().toQString(), "b") << "typing follows the focus";
    pressKey(*w, Qt::Key_Tab);
    EXPECT_EQ(w->GetPaintManager().GetFocus(), w->find<CControlUI>("e1")) << "wraps to the first";
    pressKey(*w, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(w->GetPaintManager().GetFocus(), w->find<CControlUI>("e4"));
    // Once enabled, the second edit is on the way again.
    w->find<CControlUI>("e2")->SetEnabled(true);
    pressKey(*w, Qt::Key_Tab);
    pressKey(*w, Qt::Key_Tab);
    EXPECT_EQ(w->GetPaintManager().GetFocus(), w->find<CControlUI>("e2"));
    EXPECT_EQ(w->find<CEditUI>("e1")->GetText().toQString(), "a");
}

TEST(OptionInput, GroupsAreIndependentAndReachAcrossContainers)
{
    auto w = showInline(R"(<Window size="400,100"><VerticalLayout>
        <HorizontalLayout height="30"><Option name="a1" group="a" selected="true"/><Option name="b1" group="b" selected="true"/></HorizontalLayout>
        <HorizontalLayout height="30"><Option name="a2" group="a"/><Option name="b2" group="b"/><Option name="lone"/>
          <Option name="a3" group="a" enabled="false"/></HorizontalLayout>
      </VerticalLayout></Window>)");
    ASSERT_NE(w, nullptr);
    const auto selected = [&](const char* name) { return w->find<COptionUI>(name)->IsSelected(); };
    ASSERT_TRUE(click(*w, "a2"));
    EXPECT_TRUE(selected("a2"));
    EXPECT_FALSE(selected("a1")) << "same group in another container";
    EXPECT_TRUE(selected("b1")) << "another group is left alone";
    EXPECT_EQ(count(*w, "selectchanged:a1"), 1);
    EXPECT_EQ(count(*w, "selectchanged:a2"), 1);
    EXPECT_EQ(count(*w, "click:a2"), 1);

    ASSERT_TRUE(click(*w, "a3"));
    EXPECT_FALSE(selected("a3")) << "disabled";
    EXPECT_TRUE(selected("a2"));

    // Selected from code: the group follows, loudly or quietly.
    w->find<COptionUI>("a1")->Selected(true);
    EXPECT_FALSE(selected("a2"));
    EXPECT_EQ(count(*w, "selectchanged:a2"), 2);
    w->find<COptionUI>("a2")->Selected(true, false);
    EXPECT_FALSE(selected("a1"));
    EXPECT_EQ(count(*w, "selectchanged:a1"), 2) << "the quiet change told nobody";

    // Without a group an option toggles.
    ASSERT_TRUE(click(*w, "lone"));
    EXPECT_TRUE(selected("lone"));
    ASSERT_TRUE(click(*w, "lone"));
    EXPECT_FALSE(selected("lone"));
    EXPECT_TRUE(selected("b1"));
}

TEST(TabInput, SelectItemShowsOnePageWhoseControlsTakeTheClicks)
{
    auto w = showInline(R"(<Window size="300,200"><TabLayout name="tab" selectedid="1">
        <Button name="b0"/><Button name="b1"/><Button name="b2"/>
      </TabLayout></Window>)");
    ASSERT_NE(w, nullptr);
    auto* tab = w->find<CTabLayoutUI>("tab");
    ASSERT_TRUE(click(*w, "b1"));
    EXPECT_EQ(count(*w, "click:b1"), 1);
    EXPECT_FALSE(click(*w, "b0")) << "hidden page";
    ASSERT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(count(*w, "tabselect:tab"), 1);
    ASSERT_TRUE(tab->SelectItem(2));
    EXPECT_EQ(count(*w, "tabselect:tab"), 1) << "already shown: nothing to say";
    clickAt(*w, QPoint(150, 100));
    EXPECT_EQ(count(*w, "click:b2"), 1);
    EXPECT_EQ(count(*w, "click:b1"), 1);

    // A page put before the shown one, or in its place, leaves it shown.
    auto* early = new CButtonUI;
    early->SetName(u"early");
    ASSERT_TRUE(tab->AddAt(early, 0));
    EXPECT_EQ(tab->GetCurSel(), 3);
    EXPECT_TRUE(w->find<CControlUI>("b2")->IsVisible());
    auto* same = new CButtonUI;
    same->SetName(u"same");
    ASSERT_TRUE(tab->AddAt(same, 3));
    EXPECT_EQ(tab->GetCurSel(), 4);
    EXPECT_TRUE(w->find<CControlUI>("b2")->IsVisible());
    EXPECT_FALSE(same->IsVisible());
    // Removing a page before the shown one keeps it; removing the shown one shows the
    // page that takes its place, or the one before it at the end.
    ASSERT_TRUE(tab->Remove(w->find<CControlUI>("b1")));
    EXPECT_EQ(tab->GetCurSel(), 3);
    EXPECT_TRUE(w->find<CControlUI>("b2")->IsVisible());
    ASSERT_TRUE(tab->Remove(w->find<CControlUI>("b2")));
    EXPECT_EQ(tab->GetCurSel(), 2);
    EXPECT_TRUE(same->IsVisible());
    ASSERT_TRUE(tab->SelectItem(0));
    ASSERT_TRUE(tab->Remove(early));
    EXPECT_EQ(tab->GetCurSel(), 0);
    EXPECT_TRUE(w->find<CControlUI>("b0")->IsVisible());
    w->GetPaintManager().UpdateLayout();
    clickAt(*w, QPoint(150, 100));
    EXPECT_EQ(count(*w, "click:b0"), 1);
}

TEST(ToolTip, HoveringShowsTheControlsTextAndOnlyThere)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "tips", 20, 20));
    moveTo(w, centreOf(w, "btn_close"));
    ASSERT_TRUE(waitUntil([] { return QToolTip::isVisible(); }, 3000));
    EXPECT_EQ(QToolTip::text(), "关闭");

    // A tooltip given at run time, on another control.
    w.find<CControlUI>("btn_disabled")->SetToolTip(u"not now");
    moveTo(w, centreOf(w, "btn_disabled"));
    EXPECT_TRUE(waitUntil([] { return QToolTip::isVisible() && QToolTip::text() == "not now"; }, 3000)) << qPrintable(QToolTip::text());

    // Where no control has one, none is shown.
    moveTo(w, centreOf(w, "progress"));
    EXPECT_TRUE(waitUntil([] { return !QToolTip::isVisible(); }, 3000));
}
