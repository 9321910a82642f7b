// Which locales turn the windows English, that every skin text has its English, and that Qt's own
// dialogs and buttons speak the window's language.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>
#include <QXmlStreamReader>

#include "ui/MessageBoxService.h"
#include "ui/Translation.h"

namespace mirado::testing {
namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kChinese(QLocale::Chinese, QLocale::China);

class Language : public ::testing::Test {
protected:
    void TearDown() override { installTranslations(kChinese); }
};

TEST_F(Language, OnlyEnglishLocalesTranslate) {
    for (const QLocale& locale : {kEnglish, QLocale(QLocale::English, QLocale::UnitedKingdom), QLocale(QStringLiteral("en"))}) {
        EXPECT_TRUE(installTranslations(locale)) << locale.name().toStdString();
        EXPECT_EQ(uiText(QStringLiteral("提示")), "Information");
    }
    for (const QLocale& locale : {kChinese, QLocale(QLocale::Chinese, QLocale::Taiwan), QLocale::c(),
                                  QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::Japanese)}) {
        EXPECT_FALSE(installTranslations(locale)) << locale.name().toStdString();
        EXPECT_EQ(uiText(QStringLiteral("提示")), "提示") << locale.name().toStdString();
        EXPECT_EQ(skinText(QStringLiteral("播放")), "播放") << locale.name().toStdString();
    }
}

TEST_F(Language, SkinAndCodeTextsAreTranslatedApart) {
    ASSERT_TRUE(installTranslations(kEnglish));
    EXPECT_EQ(skinText(QStringLiteral("停止")), "Stop");  // the button
    EXPECT_EQ(uiText(QStringLiteral("停止")), "Stopped"); // the status
    // A text without a translation, such as a file name, stays as it is.
    EXPECT_EQ(uiText(QStringLiteral("/媒体/旅行.mp4")), "/媒体/旅行.mp4");
    EXPECT_EQ(uiText(QString()), QString());
}

// Every text a person reads in the skin files has its English: a new skin text needs its entry in
// translations/mirado_en.ts.
TEST_F(Language, EverySkinTextHasEnglish) {
    ASSERT_TRUE(installTranslations(kEnglish));
    static const QRegularExpression han(QStringLiteral("[\\x{4e00}-\\x{9fff}]"));
    const QStringList skins = QDir(QStringLiteral(MIRADO_SKIN_DIR)).entryList({QStringLiteral("*.xml")}, QDir::Files);
    ASSERT_GE(skins.size(), 5);
    int checked = 0;
    for (const QString& name : skins) {
        QFile file(QDir(QStringLiteral(MIRADO_SKIN_DIR)).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement) continue;
            for (const QXmlStreamAttribute& a : xml.attributes()) {
                const QString attribute = a.name().toString().toLower();
                if ((attribute != "text" && attribute != "tooltip") || !a.value().contains(han)) continue;
                ++checked;
                const QString english = skinText(a.value().toString());
                EXPECT_FALSE(english.contains(han)) << name.toStdString() << ": no English for \""
                                                    << a.value().toString().toStdString() << "\"";
            }
        }
        EXPECT_FALSE(xml.hasError()) << name.toStdString();
    }
    EXPECT_GT(checked, 50);
}

// What Qt's own message box shows when the default message-box service runs it.
struct QtBox {
    QString text, caption;
    QStringList buttons;
};

QtBox showQuestionAndRead() {
    QtBox seen;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) return;
        seen.text = box->text();
        seen.caption = box->windowTitle();
        for (QAbstractButton* button : box->buttons()) seen.buttons << button->text();
        box->button(QMessageBox::No)->click();
    });
    const UINT answer = messageBox(nullptr, QStringLiteral("正在加密文件。要取消加密并关闭窗口吗?"), QStringLiteral("提示"), MB_YESNO);
    EXPECT_EQ(answer, UINT(IDNO));
    return seen;
}

QStringList fileDialogButtons() {
    QFileDialog dialog(nullptr);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QStringList texts;
    for (QDialogButtonBox* box : dialog.findChildren<QDialogButtonBox*>())
        for (QAbstractButton* button : box->buttons()) texts << button->text();
    return texts;
}

TEST_F(Language, QtsOwnDialogsFollowTheWindowLanguage) {
    ASSERT_TRUE(installTranslations(kEnglish));
    QtBox english = showQuestionAndRead();
    EXPECT_EQ(english.text, "Files are being encrypted. Cancel and close the window?");
    EXPECT_EQ(english.caption, "Information");
    EXPECT_TRUE(english.buttons.contains("&Yes")) << english.buttons.join(u'/').toStdString();
    EXPECT_TRUE(english.buttons.contains("&No")) << english.buttons.join(u'/').toStdString();
    EXPECT_TRUE(fileDialogButtons().contains("&Open")) << fileDialogButtons().join(u'/').toStdString();
    EXPECT_TRUE(fileDialogButtons().contains("Cancel")) << fileDialogButtons().join(u'/').toStdString();

    ASSERT_FALSE(installTranslations(kChinese));
    QtBox chinese = showQuestionAndRead();
    EXPECT_EQ(chinese.text, "正在加密文件。要取消加密并关闭窗口吗?");
    EXPECT_EQ(chinese.caption, "提示");
    EXPECT_EQ(chinese.buttons.filter(QStringLiteral("是")).size(), 1) << chinese.buttons.join(u'/').toStdString();
    EXPECT_EQ(chinese.buttons.filter(QStringLiteral("否")).size(), 1) << chinese.buttons.join(u'/').toStdString();
    EXPECT_EQ(fileDialogButtons().filter(QStringLiteral("取消")).size(), 1) << fileDialogButtons().join(u'/').toStdString();
}

}  // namespace
}  // namespace mirado::testing
