// File and folder modes, the choosers, and what a cancelled chooser leaves.
#include "SettingsFixture.h"

namespace mirado::testing {
namespace {

class Choosers : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        makeFile(source / "clip.mp4", 2000);
        makeFile(source / "trip/photo.JPG", 700);
        open();
    }
};

TEST_F(Choosers, FileModeOpensTheMediaFileDialogAtTheFileChosenLast) {
    EXPECT_TRUE(checked(u"chk_encodefile"));
    EXPECT_FALSE(checked(u"chk_encodedir"));
    chooseSourceFile(source / "clip.mp4");
    ASSERT_EQ(services.files->requests.size(), 1u);
    const OpenFileRequest& first = services.files->requests[0];
    EXPECT_EQ(first.owner, window->GetHWND());
    EXPECT_EQ(first.filterName, QStringLiteral("视频或图片文件"));
    EXPECT_EQ(first.patterns,
              QStringLiteral("*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv;*.bmp;*.jpeg;*.jpg;*.png;"));
    EXPECT_FALSE(first.multiSelect);
    EXPECT_TRUE(services.folders->titles.empty());
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source / "clip.mp4"));

    // The next dialog, in a later window too, starts where the last one ended.
    window.reset();
    open();
    chooseSourceFile({});
    ASSERT_EQ(services.files->requests.size(), 2u);
    EXPECT_EQ(services.files->requests[1].initialPath, qPath(source / "clip.mp4"));
}

TEST_F(Choosers, PathEditsAreReadOnlyAndThePasswordIsShownPlain) {
    for (const char16_t* name : {u"edit_encode_filepath", u"edit_encode_dstpath"}) {
        auto* edit = find<CEditUI>(name);
        ASSERT_TRUE(edit);
        EXPECT_TRUE(edit->IsReadOnly());
        ASSERT_TRUE(typeInto(*window, QString::fromUtf16(name), QStringLiteral("typed")));
        EXPECT_EQ(edit->GetText().toQString(), QString()) << "typing does not change a chosen path";
    }
    EXPECT_FALSE(find<CEditUI>(u"edit_encode_psw")->IsPasswordMode());
    EXPECT_EQ(find<CEditUI>(u"edit_encode_psw")->GetNativeEdit()->echoMode(), QLineEdit::Normal);
}

TEST_F(Choosers, SwitchingModesPairsTheBoxesAndForgetsTheSource) {
    ASSERT_TRUE(clickOn(u"chk_encodedir"));
    EXPECT_TRUE(checked(u"chk_encodedir"));
    EXPECT_FALSE(checked(u"chk_encodefile"));
    chooseSourceByBrowser(source);
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source));
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));

    ASSERT_TRUE(clickOn(u"chk_encodefile"));
    EXPECT_TRUE(checked(u"chk_encodefile"));
    EXPECT_FALSE(checked(u"chk_encodedir"));
    EXPECT_EQ(textOf(u"edit_encode_filepath"), QString());
    pressStart();
    EXPECT_EQ(messageTexts(), std::vector<QString>{kNoSource});
    EXPECT_TRUE(treeOf(out).empty());
    // The destination and password were not part of the mode.
    EXPECT_EQ(textOf(u"edit_encode_dstpath"), qPath(out));
    EXPECT_EQ(textOf(u"edit_encode_psw"), QStringLiteral("secret12"));
}

TEST_F(Choosers, UncheckingTheCheckedBoxLeavesFolderModeWithTheFolderBrowser) {
    chooseSourceFile(source / "clip.mp4");
    ASSERT_TRUE(clickOn(u"chk_encodefile"));
    EXPECT_FALSE(checked(u"chk_encodefile"));
    EXPECT_FALSE(checked(u"chk_encodedir"));
    EXPECT_EQ(textOf(u"edit_encode_filepath"), QString());

    chooseSourceByBrowser(source);
    EXPECT_EQ(services.files->requests.size(), 1u) << "no file dialog in folder mode";
    EXPECT_EQ(services.folders->titles, std::vector<QString>{QStringLiteral("请选择目录")});
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(2)});
    EXPECT_EQ(treeOf(out), (std::vector<std::string>{"clips/", "clips/clip.pmpk", "clips/trip/", "clips/trip/photo.pmpk"}));
}

TEST_F(Choosers, AFilePickedInFolderModeIsEncipheredAsASingleFile) {
    ASSERT_TRUE(clickOn(u"chk_encodedir"));
    chooseSourceByBrowser(source / "trip/photo.JPG");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone});
    EXPECT_EQ(treeOf(out), std::vector<std::string>{"photo.pmpk"});
    expectHolds(out / "photo.pmpk", source / "trip/photo.JPG", u"secret12");
}

TEST_F(Choosers, ACancelledChooserKeepsTheEarlierChoiceAndItsEdit) {
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    chooseSourceFile({});
    services.folders->answers.push_back(QString());
    ASSERT_TRUE(clickOn(u"btn_opendstpath"));
    EXPECT_EQ(services.files->requests.size(), 2u);
    EXPECT_EQ(services.folders->titles.size(), 2u);
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source / "clip.mp4"));
    EXPECT_EQ(textOf(u"edit_encode_dstpath"), qPath(out));

    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileDone}) << "the kept choices are the ones enciphered";
    expectHolds(out / "clip.pmpk", source / "clip.mp4", u"secret12");
}

TEST_F(Choosers, ALaterChoiceReplacesTheEarlierOne) {
    chooseSourceFile(source / "clip.mp4");
    chooseSourceFile(source / "trip/photo.JPG");
    chooseDestination(dir.path());
    chooseDestination(out);
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source / "trip/photo.JPG"));
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(treeOf(out), std::vector<std::string>{"photo.pmpk"});
}

}  // namespace
}  // namespace mirado::testing
