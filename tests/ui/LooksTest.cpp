#include "CComboUI.h"
#include "CEditUI.h"
#include "COptionUI.h"
#include "CSliderUI.h"
#include "InlineWindow.h"

#include <QApplication>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// One solid picture per state, so that a pixel says which look is drawn.
constexpr QRgb kNormal = 0xFF204060;
constexpr QRgb kHot = 0xFF60A020;
constexpr QRgb kPushed = 0xFFA02060;
constexpr QRgb kFocused = 0xFF2060A0;
constexpr QRgb kDisabled = 0xFF808080;
constexpr QRgb kSelected = 0xFFE0C000;
constexpr QRgb kSelectedHot = 0xFFE06000;

class Looks : public ::testing::Test {
protected:
    void SetUp() override
    {
        const QString states = "normalimage=\"n.png\" hotimage=\"h.png\" pushedimage=\"p.png\" focusedimage=\"f.png\" "
                               "disabledimage=\"d.png\"";
        window = showInline(QStringLiteral(R"(<Window size="360,120"><VerticalLayout bkcolor="#FF000000" inset="10,10,10,10" childpadding="10">
            <HorizontalLayout height="30" childpadding="10">
              <Button name="btn" width="60" %1/>
              <Edit name="edit" width="100" textpadding="6,6,6,6" disabledtextcolor="#FF123456" %1/>
              <Combo name="combo" width="80" %1><ListLabelElement text="a" selected="true"/><ListLabelElement text="b"/></Combo>
            </HorizontalLayout>
            <HorizontalLayout height="30" childpadding="10">
              <Option name="opt" width="60" normalimage="n.png" hotimage="h.png" selectedimage="s.png" selectedhotimage="sh.png"/>
              <Slider name="sld" width="100" min="0" max="100" thumbsize="10,20" thumbimage="n.png" thumbhotimage="h.png" thumbpushedimage="p.png" thumbdisabledimage="d.png"/>
              <Control/>
            </HorizontalLayout>
          </VerticalLayout></Window>)")
                                .arg(states),
                            {{"n.png", solidPng(8, 8, kNormal)},
                             {"h.png", solidPng(8, 8, kHot)},
                             {"p.png", solidPng(8, 8, kPushed)},
                             {"f.png", solidPng(8, 8, kFocused)},
                             {"d.png", solidPng(8, 8, kDisabled)},
                             {"s.png", solidPng(8, 8, kSelected)},
                             {"sh.png", solidPng(8, 8, kSelectedHot)}},
                            30, 30);
        ASSERT_NE(window, nullptr);
        away();
    }
    // The colour just inside the control's top-left corner, clear of any text.
    QRgb look(const char* name)
    {
        const RECT r = window->find<CControlUI>(name)->GetPos();
        return rgbAt(grab(*window), *window, r.left + 2, r.top + 2) | 0xFF000000;
    }
    QPoint at(const char* name) { return centreOf(*window, name); }
    // The colour in the middle of the slider's thumb, wherever it now is.
    QRgb thumbLook()
    {
        const RECT r = window->find<CSliderUI>("sld")->GetThumbRect();
        return rgbAt(grab(*window), *window, (r.left + r.right) / 2, (r.top + r.bottom) / 2) | 0xFF000000;
    }
    void away() { moveTo(*window, QPoint(5, 110)); }
    std::unique_ptr<SkinWindow> window;
};

} // namespace

TEST_F(Looks, ButtonNormalHotPushedAndDisabled)
{
    EXPECT_EQ(look("btn"), kNormal);
    moveTo(*window, at("btn"));
    EXPECT_EQ(look("btn"), kHot);
    pressAt(*window, at("btn"));
    EXPECT_EQ(look("btn"), kPushed);
    // Pushed only while the pointer is over it; back over it, pushed again.
    moveTo(*window, QPoint(5, 110));
    EXPECT_EQ(look("btn"), kNormal);
    moveTo(*window, at("btn"));
    EXPECT_EQ(look("btn"), kPushed);
    releaseAt(*window, at("btn"));
    EXPECT_EQ(look("btn"), kHot);
    window->find<CControlUI>("btn")->SetEnabled(false);
    EXPECT_EQ(look("btn"), kDisabled);
    moveTo(*window, at("btn") + QPoint(1, 0));
    EXPECT_EQ(look("btn"), kDisabled) << "no hover look while disabled";
    window->find<CControlUI>("btn")->SetEnabled(true);
    away();
    EXPECT_EQ(look("btn"), kNormal);
}

TEST_F(Looks, EditHotFocusedAndADisabledEditThatRefusesInput)
{
    auto* edit = window->find<CEditUI>("edit");
    EXPECT_EQ(look("edit"), kNormal);
    // On the frame around the text field, where the window itself sees the pointer.
    const RECT frame = edit->GetPos();
    moveTo(*window, QPoint(frame.left + 3, frame.top + 3));
    EXPECT_EQ(look("edit"), kHot);
    ASSERT_TRUE(typeInto(*window, "edit", "ab"));
    away();
    EXPECT_EQ(look("edit"), kFocused) << "focus outlasts the pointer";
    EXPECT_EQ(edit->GetText().toQString(), "ab");

    edit->SetEnabled(false);
    EXPECT_EQ(look("edit"), kDisabled);
    EXPECT_NE(window->GetPaintManager().GetFocus(), edit) << "a disabled edit gives up the focus";
    EXPECT_EQ(edit->GetNativeEdit()->palette().color(QPalette::Disabled, QPalette::Text), QColor(0xFF123456));
    // Neither a click nor typing reaches it.
    clickAt(*window, at("edit"));
    pressKey(*window, Qt::Key_X);
    EXPECT_EQ(edit->GetText().toQString(), "ab");
    EXPECT_NE(window->GetPaintManager().GetFocus(), edit);
    EXPECT_NE(QApplication::focusWidget(), edit->GetNativeEdit());

    edit->SetEnabled(true);
    away();
    EXPECT_EQ(look("edit"), kNormal);
    ASSERT_TRUE(typeInto(*window, "edit", "c"));
    EXPECT_EQ(edit->GetText().toQString(), "abc");
}

TEST_F(Looks, ComboAndOptionStates)
{
    EXPECT_EQ(look("combo"), kNormal);
    moveTo(*window, at("combo"));
    EXPECT_EQ(look("combo"), kHot);
    pressAt(*window, at("combo"));
    EXPECT_EQ(look("combo"), kPushed);
    releaseAt(*window, at("combo"));
    auto* combo = window->find<CComboUI>("combo");
    ASSERT_NE(combo->GetDropDown(), nullptr);
    combo->CloseDropDown();
    combo->SetEnabled(false);
    EXPECT_EQ(look("combo"), kDisabled);

    EXPECT_EQ(look("opt"), kNormal);
    moveTo(*window, at("opt"));
    EXPECT_EQ(look("opt"), kHot);
    clickAt(*window, at("opt"));
    EXPECT_EQ(look("opt"), kSelectedHot);
    away();
    EXPECT_EQ(look("opt"), kSelected);
}

TEST_F(Looks, SliderThumbStaysPushedWhileDraggedOutside)
{
    auto* slider = window->find<CSliderUI>("sld");
    EXPECT_EQ(thumbLook(), kNormal);
    moveTo(*window, at("sld"));
    EXPECT_EQ(thumbLook(), kHot) << "the whole slider under the pointer lights the thumb";
    pressAt(*window, at("sld"));
    EXPECT_EQ(thumbLook(), kPushed);
    // Unlike a button, the thumb keeps its pushed look while the drag goes past the end.
    const RECT r = slider->GetPos();
    moveTo(*window, QPoint(r.right + 20, r.bottom + 5));
    EXPECT_EQ(slider->GetValue(), 100);
    EXPECT_EQ(thumbLook(), kPushed);
    releaseAt(*window, QPoint(r.right + 20, r.bottom + 5));
    EXPECT_EQ(thumbLook(), kNormal) << "released away from the slider";
    slider->SetEnabled(false);
    EXPECT_EQ(thumbLook(), kDisabled);
    moveTo(*window, at("sld"));
    EXPECT_EQ(thumbLook(), kDisabled) << "no hover look while disabled";
}
