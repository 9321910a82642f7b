// The start button's checks, in their order, and what a passing password and watermark become.
#include <QClipboard>

#include "SettingsFixture.h"

namespace mirado::testing {
namespace {

class Validation : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        makeFile(source / "clip.mp4", 3000);
        open();
    }

    // Presses start and returns the one message it showed; nothing may have been enciphered.
    QString messageOfStart() {
        const std::size_t before = services.messages->shown.size();
        pressStart();
        EXPECT_TRUE(waitForJobEnd());
        EXPECT_EQ(services.messages->shown.size(), before + 1);
        if (services.messages->shown.size() != before + 1) return {};
        const ShownMessage& shown = services.messages->shown.back();
        EXPECT_EQ(shown.owner, window->GetHWND());
        EXPECT_EQ(shown.caption, QStringLiteral("提示"));
        EXPECT_EQ(shown.type, MB_OK);
        EXPECT_TRUE(treeOf(out).empty()) << "nothing is enciphered while an input is wrong";
        return shown.text;
    }
};

TEST_F(Validation, StartButtonReportsEachMissingOrWrongInputInOrderAndKeepsTheFields) {
    EXPECT_EQ(messageOfStart(), kNoSource);
    chooseSourceFile(source / "clip.mp4");
    EXPECT_EQ(messageOfStart(), kNoDestination);
    chooseDestination(out);
    EXPECT_EQ(messageOfStart(), kEmptyPassword);

    for (const QString& wrong : {QStringLiteral("ab12c"), QStringLiteral("abc 123"), QStringLiteral("abc_123")}) {
        SCOPED_TRACE(wrong.toStdString());
        retype(u"edit_encode_psw", wrong);
        ASSERT_EQ(textOf(u"edit_encode_psw"), wrong);
        EXPECT_EQ(messageOfStart(), kPasswordRule);
        EXPECT_EQ(textOf(u"edit_encode_psw"), wrong) << "a refused password stays for correcting";
    }
    // Letters beyond ASCII arrive through an input method.
    for (const QString& letters : {QStringLiteral("é1"), QStringLiteral("密码密码")}) {
        SCOPED_TRACE(letters.toStdString());
        retype(u"edit_encode_psw", QStringLiteral("abcd"));
        commitInput(u"edit_encode_psw", letters);
        ASSERT_EQ(textOf(u"edit_encode_psw"), QStringLiteral("abcd") + letters);
        EXPECT_EQ(messageOfStart(), kPasswordRule);
    }

    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    setWatermark(true);
    EXPECT_EQ(messageOfStart(), kNoWatermarkText);

    // Every field is as it was set.
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source / "clip.mp4"));
    EXPECT_EQ(textOf(u"edit_encode_dstpath"), qPath(out));
    EXPECT_EQ(textOf(u"edit_encode_psw"), QStringLiteral("secret12"));
    EXPECT_TRUE(checked(u"chk_watermark"));
    EXPECT_TRUE(checked(u"chk_encodefile"));
}

TEST_F(Validation, SixDigitsAreAcceptedAndBecomeTheContainersKey) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("123456"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone});
    expectHolds(out / "clip.pmpk", source / "clip.mp4", u"123456");
    EXPECT_FALSE(recordOf(out / "clip.pmpk", u"123457"));
}

TEST_F(Validation, PasswordEditTakesSixteenCharactersAndRefusesTheSeventeenth) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("abcdefgh12345678X"));
    EXPECT_EQ(textOf(u"edit_encode_psw"), QStringLiteral("abcdefgh12345678"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone});
    // Sixteen characters fill the key with no zero byte.
    expectHolds(out / "clip.pmpk", source / "clip.mp4", u"abcdefgh12345678");
}

TEST_F(Validation, WatermarkOffGivesTheJobNoWatermarkWhateverTheDisabledControlsShow) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    setWatermark(true);
    retype(u"edit_water_content", QStringLiteral("© Anna"));
    ASSERT_TRUE(chooseComboItem(*window, "comb_watercolor", 4));
    ASSERT_TRUE(chooseComboItem(*window, "comb_waterfontsize", 2));
    ASSERT_TRUE(chooseComboItem(*window, "comb_waterpos", 1));
    setWatermark(false);

    // The four controls rest with their content kept.
    for (const char16_t* name : {u"edit_water_content", u"comb_watercolor", u"comb_waterfontsize", u"comb_waterpos"}) {
        EXPECT_FALSE(find<CControlUI>(name)->IsEnabled()) << QString::fromUtf16(name).toStdString();
    }
    EXPECT_EQ(textOf(u"edit_water_content"), QStringLiteral("© Anna"));
    EXPECT_EQ(find<CComboUI>(u"comb_watercolor")->SelectedIndex(), 4);

    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    const auto record = recordOf(out / "clip.pmpk", u"secret12");
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->watermarkText.empty());
    EXPECT_EQ(record->watermarkPosition, 0);
    EXPECT_EQ(record->watermarkColour, 0);
    EXPECT_EQ(record->watermarkFontSize, 0);
}

TEST_F(Validation, WatermarkOnCarriesTextAndEachCombosIndexIntoItsField) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    setWatermark(true);
    for (const char16_t* name : {u"edit_water_content", u"comb_watercolor", u"comb_waterfontsize", u"comb_waterpos"}) {
        EXPECT_TRUE(find<CControlUI>(name)->IsEnabled()) << QString::fromUtf16(name).toStdString();
    }
    retype(u"edit_water_content", QStringLiteral("© Anna 2014"));
    // Distinct indices, so a combo read into the wrong field shows.
    ASSERT_TRUE(chooseComboItem(*window, "comb_watercolor", 4));
    ASSERT_TRUE(chooseComboItem(*window, "comb_waterfontsize", 2));
    ASSERT_TRUE(chooseComboItem(*window, "comb_waterpos", 1));
    EXPECT_EQ(textOf(u"comb_watercolor"), QStringLiteral("青"));
    EXPECT_EQ(textOf(u"comb_waterfontsize"), QStringLiteral("1/10图像高度"));
    EXPECT_EQ(textOf(u"comb_waterpos"), QStringLiteral("右上方"));

    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone});
    const auto record = recordOf(out / "clip.pmpk", u"secret12");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->watermarkText, u"© Anna 2014");
    EXPECT_EQ(record->watermarkColour, 4);
    EXPECT_EQ(record->watermarkFontSize, 2);
    EXPECT_EQ(record->watermarkPosition, 1);
}

// A tab pasted into the watermark would crash the player's video filter; an emoji cut by the edit's
// limit of 50 units would come back as U+FFFD.
TEST_F(Validation, PastedWatermarkIsStoredWithoutControlCharactersOrHalfAnEmoji) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    setWatermark(true);
    retype(u"edit_water_content", QString());
    QString emoji;
    for (int i = 0; i < 40; ++i) emoji += QString::fromUtf8("\xF0\x9F\x98\x80");
    QApplication::clipboard()->setText(QStringLiteral("Anna\t2014 ") + emoji);
    pressKey(*window, Qt::Key_V, Qt::ControlModifier);
    ASSERT_TRUE(textOf(u"edit_water_content").startsWith(QStringLiteral("Anna\t2014 "))) << "the paste arrived as it was";

    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone});
    const auto record = recordOf(out / "clip.pmpk", u"secret12");
    ASSERT_TRUE(record);
    const std::u16string stored = record->watermarkText;
    EXPECT_EQ(stored.substr(0, 10), u"Anna 2014 ");
    EXPECT_EQ(stored.find(u'\t'), std::u16string::npos);
    EXPECT_EQ(stored.find(u'\uFFFD'), std::u16string::npos);
    EXPECT_EQ(stored.size() % 2, 0u) << "whole emoji only after the ten units of text";
    EXPECT_EQ(stored.substr(10), emoji.left(int(stored.size()) - 10).toStdU16String());
}

}  // namespace
}  // namespace mirado::testing
