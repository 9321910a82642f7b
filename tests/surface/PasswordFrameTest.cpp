#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <functional>

#include "SurfaceTestHost.h"
#include "surface/CPasswordFrame.h"
#include "ui/CEditUI.h"

namespace mirado::testing {
namespace {

const QString kEmpty = QStringLiteral("请输入密码");
const QString kRule = QStringLiteral("密码只能由数字和字母组成,长度6至16位");

mirado::ContainerKey keyOf(const char* text)
{
    mirado::ContainerKey key{};
    for (std::size_t i = 0; text[i] != 0 && i < key.size(); ++i)
        key[i] = static_cast<std::uint8_t>(text[i]);
    return key;
}

// Runs the prompt as playback control does, over the host window, while `script` works it
// as a person would. Returns the modal result.
template <class Frame = CPasswordFrame>
UINT runPrompt(SurfaceTestHost& host, const std::function<void(CPasswordFrame&)>& script)
{
    Frame frame;
    if (!frame.Create(host.mainWindow(), u"PasswordFrame", 0x96C80000, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT))
        return CPasswordFrame::kCancelled;
    frame.CenterWindow();
    QTimer::singleShot(0, [&] {
        if (QTest::qWaitForWindowExposed(frame.GetHWND()->windowHandle()))
            script(frame);
    });
    return frame.ShowModal();
}

CEditUI* passwordEdit(WindowImplBase& frame)
{
    return dynamic_cast<CEditUI*>(frame.GetPaintManager().FindControl(CDuiString(u"edit_encode_psw")));
}

class PasswordPrompt : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(host.create());
        enteredKey.fill(0xEE); // whatever an earlier prompt left
    }

    std::vector<QString> texts() const
    {
        std::vector<QString> result;
        for (const ShownMessage& m : services.messages->shown) {
            EXPECT_EQ(m.caption, QStringLiteral("提示"));
            result.push_back(m.text);
        }
        return result;
    }

    SurfaceTestHost host;
    ServiceScope services;
};

TEST_F(PasswordPrompt, OpensWithTheMaskedFieldFocusedAndAcceptsSixLettersAndDigitsOnEnter)
{
    const UINT result = runPrompt(host, [&](CPasswordFrame& frame) {
        CEditUI* edit = passwordEdit(frame);
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(QApplication::focusWidget(), edit->GetNativeEdit()) << "typing goes straight into the field";
        EXPECT_EQ(edit->GetNativeEdit()->echoMode(), QLineEdit::Password);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("abc123"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    });
    EXPECT_EQ(result, CPasswordFrame::kAccepted);
    EXPECT_EQ(enteredKey, keyOf("abc123")) << "the six codes, then ten zero bytes";
    EXPECT_TRUE(texts().empty());
}

TEST_F(PasswordPrompt, EmptyAndMalformedPasswordsAreRefusedUntilCorrected)
{
    const UINT result = runPrompt(host, [&](CPasswordFrame& frame) {
        ASSERT_TRUE(click(frame, QStringLiteral("btn_ok")));
        ASSERT_TRUE(typeInto(frame, QStringLiteral("edit_encode_psw"), QString()));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        EXPECT_EQ(texts(), (std::vector<QString>{kEmpty, kEmpty}));

        for (const QString& wrong : {QStringLiteral("abc12"), QStringLiteral("abc 123"), QStringLiteral("abc_123"),
                                     QStringLiteral("abcdé12")}) {
            passwordEdit(frame)->SetText(CDuiString());
            ASSERT_TRUE(typeInto(frame, QStringLiteral("edit_encode_psw"), QString()));
            // As an input method commits text: key events exist only for ASCII.
            passwordEdit(frame)->GetNativeEdit()->insert(wrong);
            ASSERT_TRUE(click(frame, QStringLiteral("btn_ok")));
            EXPECT_EQ(texts().back(), kRule) << wrong.toStdString();
            EXPECT_EQ(passwordEdit(frame)->GetText().toQString(), wrong) << "the text stays for correcting";
        }
        EXPECT_EQ(texts().size(), 6u);
        EXPECT_TRUE(frame.GetHWND() != nullptr && frame.GetHWND()->isVisible()) << "still open";

        ASSERT_TRUE(typeInto(frame, QStringLiteral("edit_encode_psw"), QString()));
        QLineEdit* line = passwordEdit(frame)->GetNativeEdit();
        ASSERT_EQ(QApplication::focusWidget(), line);
        line->end(false);
        for (int i = 0; i < 3; ++i) // "abcdé12" -> "abcd"
            QTest::keyClick(line, Qt::Key_Backspace);
        QTest::keyClicks(line, QStringLiteral("e12"));
        QTest::keyClick(line, Qt::Key_Return);
    });
    EXPECT_EQ(result, CPasswordFrame::kAccepted);
    EXPECT_EQ(enteredKey, keyOf("abcde12"));
}

TEST_F(PasswordPrompt, TheFieldTakesSixteenCharactersAndTheKeyIsTheirCodes)
{
    const UINT result = runPrompt(host, [&](CPasswordFrame& frame) {
        ASSERT_TRUE(typeInto(frame, QStringLiteral("edit_encode_psw"), QStringLiteral("Abcdefgh12345678XYZ")));
        EXPECT_EQ(passwordEdit(frame)->GetText().toQString(), QStringLiteral("Abcdefgh12345678"));
        ASSERT_TRUE(click(frame, QStringLiteral("btn_ok")));
    });
    EXPECT_EQ(result, CPasswordFrame::kAccepted);
    EXPECT_EQ(enteredKey, keyOf("Abcdefgh12345678")) << "no zero byte left";
}

TEST_F(PasswordPrompt, CancelCloseAndEscapeReturnTwoAndLeaveNoKey)
{
    const std::vector<std::function<void(CPasswordFrame&)>> ways = {
        [](CPasswordFrame& frame) { click(frame, QStringLiteral("btn_cancel")); },
        [](CPasswordFrame& frame) { click(frame, QStringLiteral("btn_close")); },
        [](CPasswordFrame& frame) { pressKey(frame, Qt::Key_Escape); },
    };
    for (std::size_t i = 0; i < ways.size(); ++i) {
        enteredKey.fill(0xEE);
        const UINT result = runPrompt(host, [&](CPasswordFrame& frame) {
            ASSERT_TRUE(typeInto(frame, QStringLiteral("edit_encode_psw"), QStringLiteral("secret99")));
            ways[i](frame);
        });
        EXPECT_EQ(result, CPasswordFrame::kCancelled) << i;
        EXPECT_EQ(enteredKey, mirado::ContainerKey{}) << i;
    }
    EXPECT_TRUE(texts().empty());
}

// The same prompt read from a skin whose buttons are spelt in capitals.
class CapitalsPasswordFrame : public CPasswordFrame {
public:
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_FILE; }
};

TEST_F(PasswordPrompt, ButtonNamesAreMatchedIgnoringCase)
{
    useInlineSkin({{QStringLiteral("PasswordFrame.xml"), R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="300,200">
  <VerticalLayout bkcolor="#FF888084">
    <Edit name="edit_encode_psw" password="true" maxchar="16" height="25" bkcolor="#FFFFFFFF" />
    <Button name="BTN_OK" text="OK" height="30" bkcolor="#FF202020" />
    <Button name="Btn_Cancel" text="Cancel" height="30" bkcolor="#FF202020" />
  </VerticalLayout>
</Window>)"}});
    UINT result = runPrompt<CapitalsPasswordFrame>(host, [](CPasswordFrame& frame) {
        typeInto(frame, QStringLiteral("edit_encode_psw"), QStringLiteral("Zz9Zz9"));
        click(frame, QStringLiteral("BTN_OK"));
    });
    EXPECT_EQ(result, CPasswordFrame::kAccepted);
    EXPECT_EQ(enteredKey, keyOf("Zz9Zz9"));
    result = runPrompt<CapitalsPasswordFrame>(host, [](CPasswordFrame& frame) { click(frame, QStringLiteral("Btn_Cancel")); });
    EXPECT_EQ(result, CPasswordFrame::kCancelled);
    EXPECT_EQ(enteredKey, mirado::ContainerKey{});
}

} // namespace
} // namespace mirado::testing
