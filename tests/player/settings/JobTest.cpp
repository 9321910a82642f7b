// Jobs started from the window and the message that tells their outcome.
#include "SettingsFixture.h"

namespace mirado::testing {
namespace {

using Entries = std::vector<std::string>;

class Job : public SettingsFixture {
protected:
    void SetUp() override {
        SettingsFixture::SetUp();
        open();
    }
    void setUpFolderJob() {
        ASSERT_TRUE(clickOn(u"chk_encodedir"));
        chooseSourceByBrowser(source);
        chooseDestination(out);
        retype(u"edit_encode_psw", QStringLiteral("Summer2026"));
    }
};

TEST_F(Job, FolderJobMirrorsTheTreeAndReportsTheContainersWritten) {
    makeFile(source / "a.mp4", 5000);
    makeFile(source / "notes.txt");
    makeFile(source / "trip/b.AVI", 3000);
    makeFile(source / "misc/deep/c.png", 700);
    setUpFolderJob();
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(3)});
    EXPECT_EQ(services.messages->shown.at(0).owner, window->GetHWND());
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/misc/", "clips/misc/deep/", "clips/misc/deep/c.pmpk",
                                    "clips/trip/", "clips/trip/b.pmpk"}));
    expectHolds(out / "clips/a.pmpk", source / "a.mp4", u"Summer2026");
    expectHolds(out / "clips/trip/b.pmpk", source / "trip/b.AVI", u"Summer2026");
    expectHolds(out / "clips/misc/deep/c.pmpk", source / "misc/deep/c.png", u"Summer2026");

    // The window stays ready: the same job again replaces the containers and reports the same count.
    EXPECT_TRUE(find<CControlUI>(u"btn_encodefile")->IsVisible());
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source));
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), (std::vector<QString>{folderDone(3), folderDone(3)}));
    EXPECT_EQ(treeOf(out).size(), 7u);
}

TEST_F(Job, SharedBaseNamesCountEveryContainerWritten) {
    makeFile(source / "a.mp4", 10);
    makeFile(source / "a.avi", 20);
    setUpFolderJob();
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(2)});
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.mp4.pmpk", "clips/a.pmpk"}));
}

TEST_F(Job, FolderWithoutMediaReportsNoContainers) {
    makeFile(source / "notes.txt");
    makeFile(source / "anim.gif");
    setUpFolderJob();
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(0)});
    EXPECT_EQ(treeOf(out), Entries{"clips/"});
}

TEST_F(Job, SingleFileThatCannotBeWrittenReportsTheFailure) {
    makeFile(source / "clip.mp4");
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("Summer2026"));
    std::filesystem::remove(out);
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts(), std::vector<QString>{kFileFailed});
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(Job, SourceGoneBeforeTheStartEndsSilently) {
    makeFile(source / "clip.mp4");
    setUpFolderJob();
    std::filesystem::remove_all(source);
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_TRUE(messageTexts().empty());
    EXPECT_TRUE(treeOf(out).empty());
    EXPECT_TRUE(find<CControlUI>(u"btn_encodefile")->IsVisible());
}

}  // namespace
}  // namespace mirado::testing
