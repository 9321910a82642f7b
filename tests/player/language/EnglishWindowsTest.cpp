// Every window in English under an English locale, driven as a person would: the main window with
// its video surface and play bar, the password prompt, the settings window and their message boxes.
// Under a Chinese locale the same windows keep their own texts.
#include <gtest/gtest.h>

#include <QLocale>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "../main_window/MainWindowFixture.h"
#include "../main_window/TestClips.h"
#include "WindowTexts.h"
#include "player/CSystemInfoFrame.h"
#include "surface/CPasswordFrame.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CControlUI.h"
#include "ui/Translation.h"

namespace mirado::testing {
namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kChinese(QLocale::Chinese, QLocale::China);

// The texts that still hold Chinese characters (the watermark and file names are the user's own).
QStringList chineseIn(const QStringList& texts) {
    static const QRegularExpression han(QStringLiteral("[\\x{3000}-\\x{303f}\\x{4e00}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
    return texts.filter(han);
}

QString tooltipOf(WindowImplBase& window, const char16_t* name) {
    CControlUI* control = window.GetPaintManager().FindControl(CDuiString(name));
    return control ? control->GetToolTip().toQString() : QStringLiteral("(missing)");
}

class EnglishMainWindow : public MainWindowTest {
protected:
    void SetUp() override { ASSERT_TRUE(installTranslations(kEnglish)); }
    void TearDown() override {
        MainWindowTest::TearDown();
        installTranslations(kChinese);
    }
};

TEST_F(EnglishMainWindow, EveryControlAndMessageSpeaksEnglish) {
    open();
    EXPECT_EQ(textOf("txt_title"), "Mirado Secure Media Player");
    EXPECT_EQ(tooltipOf(*frame, u"btn_play"), "Play");
    EXPECT_EQ(tooltipOf(*frame, u"btn_stop"), "Stop");
    EXPECT_EQ(tooltipOf(*frame, u"btn_fullscreen"), "Full screen");
    EXPECT_EQ(tooltipOf(*frame, u"btnadd"), "Add files to the playlist");
    EXPECT_EQ(tooltipOf(*frame, u"btn_mute"), "Mute");
    EXPECT_TRUE(chineseIn(shownTexts(frame->GetPaintManager())).isEmpty())
        << chineseIn(shownTexts(frame->GetPaintManager())).join(u'/').toStdString();

    CVideoRealWnd* surface = frame->videoSurface();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(shownTexts(surface->GetPaintManager()).contains("No video is playing"));
    EXPECT_TRUE(chineseIn(shownTexts(surface->GetPaintManager())).isEmpty());
    ASSERT_NE(surface->playBar(), nullptr);
    EXPECT_EQ(tooltipOf(*surface->playBar(), u"btn_muteoff"), "Unmute");
    EXPECT_TRUE(chineseIn(shownTexts(surface->playBar()->GetPaintManager())).isEmpty());

    ASSERT_TRUE(click(*frame, "btn_play"));  // nothing to play yet
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(services.messages->shown[0].text, "Please add a video file first.");
    EXPECT_EQ(services.messages->shown[0].caption, "Information");
}

TEST_F(EnglishMainWindow, StatusTextsFollowPlayback) {
    open();
    const QString clip = TestClips::instance().video("english.mp4", 2);
    addThroughDialog({clip});
    doubleClickRow(0);
    EXPECT_EQ(textOf("txt_playstatus"), "Loading...");
    EXPECT_EQ(textOf("txt_playingpath"), clip) << "the user's own path stays as it is";
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_playstatus") == "Playing"; })) << textOf("txt_playstatus").toStdString();
    doubleClickRow(0);
    EXPECT_TRUE(waitUntil([&] { return textOf("txt_playstatus") == "Paused"; })) << textOf("txt_playstatus").toStdString();
    ASSERT_TRUE(click(*frame, "btn_stop"));
    EXPECT_EQ(textOf("txt_playstatus"), "Stopped");
}

TEST_F(EnglishMainWindow, WrongPasswordMessage) {
    open();
    const QString clip = TestClips::instance().video("secret.mp4", 1);
    addThroughDialog({TestClips::instance().container(clip, QStringLiteral("Right2024"))});
    prompts.answers.push_back(QStringLiteral("Wrong2024"));
    doubleClickRow(0);
    ASSERT_TRUE(waitUntil([&] { return !services.messages->shown.empty(); }));
    EXPECT_EQ(services.messages->shown[0].text,
              "Cannot open the protected video. The password may be wrong: check it and try again. Or the file "
              "may be damaged.");
    EXPECT_EQ(services.messages->shown[0].caption, "Information");
}

TEST_F(EnglishMainWindow, ChineseLocaleKeepsTheWindowsOwnTexts) {
    ASSERT_FALSE(installTranslations(kChinese));
    open();
    EXPECT_EQ(textOf("txt_title"), "Mirado视频图片加密播放器");
    EXPECT_EQ(tooltipOf(*frame, u"btn_play"), "播放");
    EXPECT_EQ(tooltipOf(*frame, u"btn_stop"), "停止");
    ASSERT_TRUE(click(*frame, "btn_play"));
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(services.messages->shown[0].text, "请先添加视频文件");
    EXPECT_EQ(services.messages->shown[0].caption, "提示");
}

class EnglishDialogs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(installTranslations(kEnglish)); }
    void TearDown() override { installTranslations(kChinese); }
    ServiceScope services;
};

TEST_F(EnglishDialogs, PasswordPrompt) {
    CPasswordFrame prompt;
    ASSERT_NE(prompt.Create(nullptr, u"PasswordFrame", 0x96C80000, 0, 0, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT),
              nullptr);
    prompt.CenterWindow();
    QStringList texts;
    QTimer::singleShot(0, [&] {
        if (!QTest::qWaitForWindowExposed(prompt.GetHWND()->windowHandle())) return;
        texts = shownTexts(prompt.GetPaintManager());
        click(prompt, QStringLiteral("btn_ok"));  // nothing typed
        typeInto(prompt, QStringLiteral("edit_encode_psw"), QStringLiteral("abc"));
        click(prompt, QStringLiteral("btn_ok"));
        click(prompt, QStringLiteral("btn_cancel"));
    });
    EXPECT_EQ(prompt.ShowModal(), UINT(CPasswordFrame::kCancelled));
    for (const char* text : {"Password", "Please enter the video's password:", "OK", "Cancel", "Close"})
        EXPECT_TRUE(texts.contains(text)) << text << " not in " << texts.join(u'/').toStdString();
    EXPECT_TRUE(chineseIn(texts).isEmpty()) << chineseIn(texts).join(u'/').toStdString();
    ASSERT_EQ(services.messages->shown.size(), 2u);
    EXPECT_EQ(services.messages->shown[0].text, "Please enter the password.");
    EXPECT_EQ(services.messages->shown[1].text, "The password must be 6 to 16 letters and digits.");
    EXPECT_EQ(services.messages->shown[1].caption, "Information");
}

TEST_F(EnglishDialogs, SettingsWindow) {
    CSystemInfoFrame window;
    ASSERT_TRUE(createShown(window, "SystemConfigFrame"));
    const QStringList texts = shownTexts(window.GetPaintManager());
    for (const char* text : {"Settings", "Encrypt", "About", "File or folder:", "Every file in a folder (same settings)",
                             "Browse...", "Password: ", "Show a watermark", "Yellow", "1/10 of the height",
                             "Bottom right", "Version 0.1.0", "What the protection can and cannot do"})
        EXPECT_TRUE(texts.contains(text)) << text << " not in " << texts.join(u'/').toStdString();
    EXPECT_TRUE(chineseIn(texts).isEmpty()) << chineseIn(texts).join(u'/').toStdString();

    ASSERT_TRUE(click(window, "btn_encodefile"));  // no source chosen
    ASSERT_EQ(services.messages->shown.size(), 1u);
    EXPECT_EQ(services.messages->shown[0].text, "Please choose the file or folder to encrypt.");
    EXPECT_EQ(services.messages->shown[0].caption, "Information");
    window.Close(IDOK);
    runFor(0);
}

}  // namespace
}  // namespace mirado::testing
