#include "CComboUI.h"
#include "CEditUI.h"
#include "CListElementUI.h"
#include "CListUI.h"
#include "COptionUI.h"
#include "CSliderUI.h"
#include "DemoWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

class Input : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(createShown(window, "demo", 20, 20));
        window.GetPaintManager().UpdateLayout();
    }
    bool saw(const QString& entry) const
    {
        return std::find(window.notifications.begin(), window.notifications.end(), entry) != window.notifications.end();
    }
    int count(const QString& entry) const
    {
        return static_cast<int>(std::count(window.notifications.begin(), window.notifications.end(), entry));
    }
    DemoWindow window;
};

} // namespace

TEST_F(Input, ClickAndDoubleClickOnAButton)
{
    ASSERT_TRUE(click(window, "btn_close"));
    EXPECT_EQ(count("click:btn_close"), 1);
    ASSERT_TRUE(doubleClick(window, "btn_close"));
    // A double click is two presses, as on any button.
    EXPECT_EQ(count("click:btn_close"), 3);
}

TEST_F(Input, PressThenLeaveDoesNotClick)
{
    const QPoint at = centreOf(window, "btn_close");
    pressAt(window, at);
    moveTo(window, QPoint(10, 200));
    releaseAt(window, QPoint(10, 200));
    EXPECT_EQ(count("click:btn_close"), 0);
}

TEST_F(Input, DisabledButtonStaysQuiet)
{
    ASSERT_TRUE(click(window, "btn_disabled"));
    EXPECT_EQ(count("click:btn_disabled"), 0);
    window.find<CControlUI>("btn_disabled")->SetEnabled(true);
    ASSERT_TRUE(click(window, "btn_disabled"));
    EXPECT_EQ(count("click:btn_disabled"), 1);
}

TEST_F(Input, EnterInAnEditSaysReturnAndTextArrives)
{
    ASSERT_TRUE(typeInto(window, "edit_name", "hello"));
    EXPECT_EQ(window.find<CEditUI>("edit_name")->GetText().toQString(), "hello");
    EXPECT_TRUE(saw("textchanged:edit_name"));
    pressKey(window, Qt::Key_Return);
    EXPECT_EQ(count("return:edit_name"), 1);
}

TEST_F(Input, PasswordEditMasksAndLimitsLength)
{
    auto* psw = window.find<CEditUI>("edit_psw");
    ASSERT_NE(psw, nullptr);
    ASSERT_TRUE(typeInto(window, "edit_psw", "abcdefghij0123456789"));
    EXPECT_EQ(psw->GetText().toQString(), "abcdefghij012345") << "maxchar 16";
    EXPECT_EQ(psw->GetNativeEdit()->echoMode(), QLineEdit::Password);
    EXPECT_NE(psw->GetNativeEdit()->displayText(), psw->GetNativeEdit()->text());
}

TEST_F(Input, ReadOnlyAndDisabledEditsRefuseTyping)
{
    auto* edit = window.find<CEditUI>("edit_name");
    edit->SetReadOnly(true);
    ASSERT_TRUE(typeInto(window, "edit_name", "x"));
    EXPECT_TRUE(edit->GetText().IsEmpty());
    edit->SetReadOnly(false);
    edit->SetEnabled(false);
    typeInto(window, "edit_name", "y");
    EXPECT_TRUE(edit->GetText().IsEmpty());
    EXPECT_FALSE(edit->GetNativeEdit()->isEnabled());
}

TEST_F(Input, TabMovesBetweenEdits)
{
    ASSERT_TRUE(typeInto(window, "edit_name", "a"));
    EXPECT_EQ(window.GetPaintManager().GetFocus(), window.find<CControlUI>("edit_name"));
    pressKey(window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.find<CEditUI>("edit_psw")->GetNativeEdit());
    EXPECT_EQ(window.GetPaintManager().GetFocus(), window.find<CControlUI>("edit_psw"));
    pressKey(window, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(window.GetPaintManager().GetFocus(), window.find<CControlUI>("edit_name"));
}

TEST_F(Input, SliderDragAndClickSendValueChangedOnRelease)
{
    auto* slider = window.find<CSliderUI>("slider");
    ASSERT_NE(slider, nullptr);
    ASSERT_TRUE(dragSlider(window, "slider", 0.8));
    EXPECT_EQ(slider->GetValue(), 80);
    EXPECT_EQ(count("valuechanged:slider"), 1);
    EXPECT_TRUE(saw("movevaluechanged:slider"));
    // A click on the track jumps there.
    const RECT r = slider->GetPos();
    clickAt(window, QPoint(r.left + slider->GetThumbSize().cx / 2, r.top + r.height() / 2));
    EXPECT_EQ(slider->GetValue(), 0);
    EXPECT_EQ(count("valuechanged:slider"), 2);
    // Beyond the end it stops at the maximum.
    pressAt(window, QPoint(r.left + 5, r.top + 5));
    moveTo(window, QPoint(r.right + 50, r.top + 5));
    releaseAt(window, QPoint(r.right + 50, r.top + 5));
    EXPECT_EQ(slider->GetValue(), slider->GetMaxValue());
}

TEST_F(Input, ListSelectionAndDoubleClick)
{
    auto* list = window.find<CListUI>("listplay");
    ASSERT_NE(list, nullptr);
    for (const char16_t* name : {u"one", u"two", u"three"}) {
        auto* row = new CListTextElementUI;
        row->SetName(name);
        row->SetText(name);
        ASSERT_TRUE(list->AppendItem(row));
    }
    window.GetPaintManager().UpdateLayout();
    EXPECT_EQ(list->SelectedIndex(), -1);
    ASSERT_TRUE(click(window, "two"));
    EXPECT_EQ(list->SelectedIndex(), 1);
    EXPECT_EQ(count("itemclick:two"), 1);
    EXPECT_EQ(count("itemselect:listplay"), 1);
    ASSERT_TRUE(click(window, "two"));
    EXPECT_EQ(count("itemselect:listplay"), 1) << "no change, no itemselect";
    ASSERT_TRUE(doubleClick(window, "three"));
    EXPECT_EQ(count("itemdbclick:three"), 1);
    EXPECT_EQ(list->SelectedIndex(), 2);
    // Keys move the selection of the focused list.
    pressKey(window, Qt::Key_Up);
    EXPECT_EQ(list->SelectedIndex(), 1);
    pressKey(window, Qt::Key_End);
    EXPECT_EQ(list->SelectedIndex(), 2);
}

TEST_F(Input, ComboSelectionThroughItsDropDown)
{
    auto* combo = window.find<CComboUI>("comb_color");
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->SelectedIndex(), 0);
    EXPECT_EQ(combo->GetText().toQString(), "白");
    ASSERT_TRUE(chooseComboItem(window, "comb_color", 2));
    EXPECT_EQ(combo->SelectedIndex(), 2);
    EXPECT_EQ(combo->GetText().toQString(), "黄");
    EXPECT_EQ(count("itemselect:comb_color"), 1);
    EXPECT_EQ(combo->GetDropDown(), nullptr) << "closed after the choice";
}

TEST_F(Input, CheckBoxTogglesAndOptionsSelectOneOfTheirGroup)
{
    auto* chk = window.find<CCheckBoxUI>("chk_a");
    auto* opt1 = window.find<COptionUI>("opt_1");
    auto* opt2 = window.find<COptionUI>("opt_2");
    ASSERT_TRUE(chk && opt1 && opt2);
    EXPECT_FALSE(chk->GetCheck());
    ASSERT_TRUE(click(window, "chk_a"));
    EXPECT_TRUE(chk->GetCheck());
    ASSERT_TRUE(click(window, "chk_a"));
    EXPECT_FALSE(chk->GetCheck());
    EXPECT_EQ(count("selectchanged:chk_a"), 2);
    EXPECT_EQ(count("click:chk_a"), 2);

    EXPECT_TRUE(opt1->IsSelected());
    ASSERT_TRUE(click(window, "opt_2"));
    EXPECT_TRUE(opt2->IsSelected());
    EXPECT_FALSE(opt1->IsSelected());
    EXPECT_EQ(count("selectchanged:opt_1"), 1);
    EXPECT_EQ(count("selectchanged:opt_2"), 1);
    ASSERT_TRUE(click(window, "opt_2"));
    EXPECT_TRUE(opt2->IsSelected()) << "a grouped option stays selected";
    chk->SetCheck(true, false);
    EXPECT_EQ(count("selectchanged:chk_a"), 2) << "a quiet change sends nothing";
}

TEST_F(Input, HoverAndPressedLooksFollowTheMouse)
{
    const QPoint at = centreOf(window, "btn_close");
    const auto pixel = [&] {
        return grab(window).pixelColor(at * window.GetHWND()->devicePixelRatioF()).rgb() & 0xFFFFFF;
    };
    const QRgb normal = pixel();
    moveTo(window, at);
    EXPECT_EQ(window.GetPaintManager().GetHot(), window.find<CControlUI>("btn_close"));
    EXPECT_EQ(pixel(), 0xF0F020u) << "hot image";
    pressAt(window, at);
    EXPECT_EQ(pixel(), 0x802020u) << "pushed image";
    releaseAt(window, at);
    moveTo(window, QPoint(5, 300));
    EXPECT_EQ(pixel(), normal);
}

TEST_F(Input, WheelScrollsTheControlUnderThePointer)
{
    auto* slider = window.find<CSliderUI>("slider");
    const int before = slider->GetValue();
    wheelAt(window, centreOf(window, "slider"), 120);
    EXPECT_EQ(slider->GetValue(), before + 1);
    EXPECT_EQ(count("valuechanged:slider"), 1);
}
