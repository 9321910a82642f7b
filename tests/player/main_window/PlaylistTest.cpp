// The playlist: adding through the dialog, by dropping and in batches without duplicates, removing,
// clearing, stepping in a circle, and the cell texts.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <QtGui/QDropEvent>

#include "MainWindowFixture.h"
#include "TestClips.h"
#include "player/CListCallbackUI.h"
#include "ui/CListElementUI.h"
#include "ui/CListUI.h"

namespace mirado::testing {
namespace {

class Playlist : public MainWindowTest {
protected:
    void SetUp() override { open(avplayer::Pace::AsFastAsPossible); }
    // Three plain pictures: stepping through them needs no engine.
    QStringList threePictures() {
        return {TestClips::instance().picture("one.png", 8, 8), TestClips::instance().picture("two.png", 8, 8),
                TestClips::instance().picture("three.png", 8, 8)};
    }
    int currentRow() const { return rowNames().indexOf(frame->currentPath()); }
};

TEST_F(Playlist, TheDialogAsksForMediaFilesAndItsChoiceIsAddedInOrder) {
    const QStringList files = threePictures();
    addThroughDialog(files);
    ASSERT_EQ(services.files->requests.size(), 1u);
    const OpenFileRequest& request = services.files->requests.front();
    EXPECT_EQ(request.owner, frame->GetHWND());
    EXPECT_EQ(request.filterName, QStringLiteral("视频或图片文件"));
    EXPECT_EQ(request.patterns,
              QStringLiteral("*.pmpk;*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv;*.bmp;*.jpeg;*.jpg;*.png;"));
    EXPECT_TRUE(request.multiSelect);

    ASSERT_EQ(rowNames(), files);
    for (int i = 0; i < 3; ++i) {
        CControlUI* row = list().ItemAt(i);
        const QString name = QFileInfo(files[i]).fileName();
        EXPECT_EQ(row->GetToolTip().toQString(), files[i]);
        EXPECT_EQ(row->GetUserData().toQString(), name + QStringLiteral("{#0}"));
        EXPECT_EQ(row->GetTag(), 1u);
        EXPECT_EQ(row->GetPadding(), (RECT{3, 1, 3, 1}));
        // What the list draws comes through the text callback.
        EXPECT_EQ(static_cast<CListElementUI*>(row)->GetCellText(0).toQString(), name);
    }
    // A cancelled dialog adds nothing.
    addThroughDialog({});
    EXPECT_EQ(rowNames(), files);
    EXPECT_EQ(services.files->requests.size(), 2u);
}

TEST_F(Playlist, APathAlreadyListedIsSkippedAndLetterCaseMakesAnotherFile) {
    const QString first = TestClips::instance().emptyFile("Clip.MP4");
    const QString folder = QFileInfo(first).absolutePath();
    const QString lower = folder + QStringLiteral("/clip.mp4");
    QFile(lower).open(QIODevice::WriteOnly);
    const QString second = TestClips::instance().emptyFile("other.mkv");
    addThroughDialog({first});
    addThroughDialog({lower, second, first});
    EXPECT_EQ(rowNames(), (QStringList{first, lower, second})) << "Clip.MP4 and clip.mp4 are two files here";

    // The same file under another spelling of its path is the same row; rows carry the clean path.
    const QString roundabout = folder + QStringLiteral("/./sub/../Clip.MP4");
    const QString doubled = QString(second).replace(QStringLiteral("/other.mkv"), QStringLiteral("//other.mkv"));
    addThroughDialog({roundabout, doubled});
    EXPECT_EQ(rowNames(), (QStringList{first, lower, second}));

    // One batch naming a file twice (a drop or a command line can) adds it once, by its clean path.
    const QString third = TestClips::instance().emptyFile("third.avi");
    frame->addPaths({QFileInfo(third).absolutePath() + QStringLiteral("/./third.avi"), third});
    EXPECT_EQ(rowNames(), (QStringList{first, lower, second, third}));
}

TEST_F(Playlist, ARowShowsAnyFileNameWhole) {
    const QStringList names = {QStringLiteral("movie{#0}part2.mp4"), QStringLiteral("{#1}{##}{#"),
                               QStringLiteral("a{#6}b{{#0}}.mkv"), QStringLiteral("tab\tand\nline.avi")};
    QStringList files;
    for (const QString& name : names) files << TestClips::instance().emptyFile(name);
    addThroughDialog(files);
    ASSERT_EQ(rowNames(), files);
    for (int i = 0; i < files.size(); ++i) {
        auto* row = static_cast<CListElementUI*>(list().ItemAt(i));
        EXPECT_EQ(row->GetCellText(0).toQString(), QFileInfo(files[i]).fileName());
        for (int column = 1; column < 7; ++column) EXPECT_EQ(row->GetCellText(column).toQString(), QString()) << i;
    }
}

TEST_F(Playlist, FilesDroppedOnTheWindowJoinWithTheSameRule) {
    const QString listed = TestClips::instance().emptyFile("listed.mp4");
    const QString fresh = TestClips::instance().emptyFile("fresh.png");
    frame->addPaths({listed});
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(fresh), QUrl::fromLocalFile(listed.toUpper()),
                  QUrl::fromLocalFile(QString::fromStdString(TestClips::instance().folder().string())),
                  QUrl::fromLocalFile(QStringLiteral("/no/such/file.mp4")), QUrl(QStringLiteral("https://example.org/a.mp4"))});
    const QPoint at(400, 300);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->GetHWND(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->GetHWND(), &drop);
    EXPECT_TRUE(drop.isAccepted());
    EXPECT_EQ(rowNames(), (QStringList{listed, fresh}));

    // A drag without local files is refused.
    QMimeData text;
    text.setText(QStringLiteral("hello"));
    QDragEnterEvent refused(at, Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(frame->GetHWND(), &refused);
    EXPECT_FALSE(refused.isAccepted());
}

TEST_F(Playlist, DeleteRemovesOnlyTheSelectedRowAndClearEmptiesTheList) {
    const QStringList files = threePictures();
    // Nothing to clear or delete yet.
    ASSERT_TRUE(click(*frame, "btnclear"));
    ASSERT_TRUE(click(*frame, "btndelete"));
    EXPECT_EQ(list().ItemCount(), 0);

    addThroughDialog(files);
    ASSERT_EQ(list().SelectedIndex(), -1);
    ASSERT_TRUE(click(*frame, "btndelete"));
    EXPECT_EQ(rowNames(), files) << "no selection, nothing removed";

    clickRow(1);
    ASSERT_EQ(list().SelectedIndex(), 1);
    EXPECT_TRUE(frame->currentPath().isEmpty()) << "a single click only selects";
    ASSERT_TRUE(click(*frame, "btndelete"));
    EXPECT_EQ(rowNames(), (QStringList{files[0], files[2]}));

    ASSERT_TRUE(click(*frame, "btnclear"));
    EXPECT_EQ(list().ItemCount(), 0);
    // The removed paths may be added again.
    addThroughDialog({files[1]});
    EXPECT_EQ(rowNames(), (QStringList{files[1]}));
}

TEST_F(Playlist, PreviousAndNextStepInACircle) {
    // An empty list: both only stop.
    ASSERT_TRUE(click(*frame, "btn_next"));
    ASSERT_TRUE(click(*frame, "btn_prev"));
    EXPECT_TRUE(frame->currentPath().isEmpty());
    EXPECT_TRUE(services.messages->shown.empty());

    const QStringList files = threePictures();
    addThroughDialog(files);
    // Without a selection next goes to the second row and previous to the last.
    ASSERT_TRUE(click(*frame, "btn_next"));
    EXPECT_EQ(currentRow(), 1);
    EXPECT_EQ(list().SelectedIndex(), 1);
    list().SelectIndex(-1);
    ASSERT_TRUE(click(*frame, "btn_prev"));
    EXPECT_EQ(currentRow(), 2);

    // From the last row next wraps to the first; from the first previous wraps to the last.
    ASSERT_TRUE(click(*frame, "btn_next"));
    EXPECT_EQ(currentRow(), 0);
    ASSERT_TRUE(click(*frame, "btn_prev"));
    EXPECT_EQ(currentRow(), 2);
    ASSERT_TRUE(click(*frame, "btn_prev"));
    EXPECT_EQ(currentRow(), 1);
    ASSERT_TRUE(click(*frame, "btn_next"));
    EXPECT_EQ(currentRow(), 2);

    // With one row both replay it.
    ASSERT_TRUE(click(*frame, "btnclear"));
    addThroughDialog({files[0]});
    ASSERT_TRUE(click(*frame, "btn_next"));
    EXPECT_EQ(currentRow(), 0);
    ASSERT_TRUE(click(*frame, "btn_prev"));
    EXPECT_EQ(currentRow(), 0);
    EXPECT_TRUE(frame->isShowingImage());
}

TEST(ListCallback, CellTextsStandBetweenTheirMarkers) {
    CListCallbackUI callback;
    CListTextElementUI row;
    row.SetUserData(CDuiString(u"name{#0}one{#1}two{#2}three{#3}four{#4}five{#5}six{#6}"));
    const char16_t* expected[] = {u"name", u"one", u"two", u"three", u"four", u"five", u"six"};
    for (int column = 0; column < 7; ++column)
        EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 99, column)), expected[column]) << column;
    // A column past the markers keeps what the previous call left.
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 7)), u"six");
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, -1)), u"six");

    // Rows made by the player fill column 0 only; missing markers give empty cells.
    row.SetUserData(CDuiString(CListCallbackUI::userDataFor(u"clip.mp4")));
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 0)), u"clip.mp4");
    for (int column = 1; column < 7; ++column) EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, column)), u"");
    row.SetUserData(CDuiString(u"no markers at all"));
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 0)), u"");
    // Column 3 needs "{#2}" and a later "{#3}".
    row.SetUserData(CDuiString(u"a{#0}b{#1}c{#2}d"));
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 2)), u"c");
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 3)), u"");
    row.SetUserData(CDuiString(u"{#3}x{#2}y"));
    EXPECT_EQ(std::u16string(callback.ItemTextFor(&row, 0, 3)), u"") << "the closing marker must follow the opening one";
    EXPECT_EQ(std::u16string(callback.ItemTextFor(nullptr, 0, 0)), u"");
}

}  // namespace
}  // namespace mirado::testing
