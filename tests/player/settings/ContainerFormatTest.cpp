// The container format row: its items, its default, the hint beside it, and the format of what a job
// writes with each choice.
#include <QDir>

#include "SettingsFixture.h"
#include "container/ContainerFormat.h"

namespace mirado::testing {
namespace {

using Entries = std::vector<std::string>;
const QString kCompatibleItem = QStringLiteral("兼容格式 (旧版播放器可播放)");
const QString kSealedItem = QStringLiteral("加密格式 (需要密码才能解开)");

// The format of a container that opens with the password; nullopt when it does not open.
std::optional<ContainerVersion> versionOf(const std::filesystem::path& container, std::u16string_view password) {
    ContainerReader reader;
    reader.setKey(AdditiveKeyCipher::keyFromPassword(password));
    if (!reader.open(container)) return std::nullopt;
    return reader.version();
}

class ContainerFormat : public SettingsFixture {
protected:
    std::vector<EncryptRequest> requests;

    // The real job, noting each request. The window asks for the default work factor; the job runs at a
    // small one so that reading the containers back stays quick.
    void openRecording() {
        open([this](const EncryptRequest& request, FileTreeSearch& search, const EncryptProgress& progress) {
            requests.push_back(request);
            EncryptRequest quick = request;
            quick.workFactor = 10;
            return runEncryptJob(quick, search, progress);
        });
    }
    void chooseFormat(int index) { ASSERT_TRUE(chooseComboItem(*window, "comb_containerformat", index)); }
    void runFolderJob() {
        ASSERT_TRUE(clickOn(u"chk_encodedir"));
        chooseSourceByBrowser(source);
        chooseDestination(out);
        retype(u"edit_encode_psw", QStringLiteral("Summer2026"));
        pressStart();
        ASSERT_TRUE(waitForJobEnd());
    }
};

TEST_F(ContainerFormat, RowUnderThePasswordOffersTheCompatibleFormatFirstAndSaysWhatEachMeans) {
    open();
    auto* combo = find<CComboUI>(u"comb_containerformat");
    ASSERT_NE(combo, nullptr);
    ASSERT_EQ(combo->ItemCount(), 2);
    EXPECT_EQ(combo->ItemAt(0)->GetText().toQString(), kCompatibleItem);
    EXPECT_EQ(combo->ItemAt(1)->GetText().toQString(), kSealedItem);
    EXPECT_EQ(combo->SelectedIndex(), 0);
    EXPECT_TRUE(combo->IsEnabled());

    const RECT password = find<CControlUI>(u"edit_encode_psw")->GetPos();
    const RECT row = combo->GetPos();
    const RECT tip = find<CControlUI>(u"txt_containerformattip")->GetPos();
    EXPECT_GT(row.top, password.bottom);
    EXPECT_LT(row.bottom, find<CControlUI>(u"chk_watermark")->GetPos().top);
    EXPECT_EQ(tip.top, row.top) << "the hint stands on the combo's line";
    EXPECT_GT(tip.left, row.right);
    EXPECT_LE(tip.right, 700);
    EXPECT_LE(find<CControlUI>(u"btn_encodefile")->GetPos().bottom, 580) << "the page still fits the window";

    const QString compatibleTip = textOf(u"txt_containerformattip");
    EXPECT_TRUE(compatibleTip.contains(QStringLiteral("旧版播放器"))) << compatibleTip.toStdString();
    chooseFormat(1);
    // For a look at the row: the item and the hint fit their places.
    EXPECT_TRUE(grabToPng(*window, QDir::temp().filePath("mirado-settings-format.png")));
    const QString sealedTip = textOf(u"txt_containerformattip");
    EXPECT_NE(sealedTip, compatibleTip);
    EXPECT_TRUE(sealedTip.contains(QStringLiteral("age"))) << sealedTip.toStdString();
    chooseFormat(0);
    EXPECT_EQ(textOf(u"txt_containerformattip"), compatibleTip);
}

TEST_F(ContainerFormat, ByDefaultAJobWritesCompatibleContainersAsBefore) {
    makeFile(source / "a.mp4", 3000);
    makeFile(source / "trip/b.png", 500);
    openRecording();
    runFolderJob();
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(2)});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].version, ContainerVersion::Compatible);
    EXPECT_EQ(versionOf(out / "clips/a.pmpk", u"Summer2026"), ContainerVersion::Compatible);
    EXPECT_EQ(versionOf(out / "clips/trip/b.pmpk", u"Summer2026"), ContainerVersion::Compatible);
    // The payload begins right after the record, as every earlier player expects.
    EXPECT_EQ(std::filesystem::file_size(out / "clips/a.pmpk"), std::uintmax_t(format::kPayloadOffset + 3000));
}

TEST_F(ContainerFormat, TheSealedChoiceWritesSealedContainersWithTheSameTreeWatermarkAndMessage) {
    makeFile(source / "a.mp4", 200000);  // several of the sealed format's chunks
    makeFile(source / "notes.txt");
    makeFile(source / "trip/b.png", 500);
    openRecording();
    chooseFormat(1);
    setWatermark(true);
    commitInput(u"edit_water_content", QStringLiteral("水印"));
    ASSERT_TRUE(chooseComboItem(*window, "comb_watercolor", 2));
    runFolderJob();
    EXPECT_EQ(messageTexts(), std::vector<QString>{folderDone(2)});
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].version, ContainerVersion::Sealed);
    EXPECT_EQ(requests[0].workFactor, kDefaultWorkFactor);
    EXPECT_EQ(treeOf(out), (Entries{"clips/", "clips/a.pmpk", "clips/trip/", "clips/trip/b.pmpk"}));
    for (const auto& [container, original] :
         {std::pair{out / "clips/a.pmpk", source / "a.mp4"}, std::pair{out / "clips/trip/b.pmpk", source / "trip/b.png"}}) {
        EXPECT_EQ(versionOf(container, u"Summer2026"), ContainerVersion::Sealed);
        EXPECT_EQ(versionOf(container, u"Summer2027"), std::nullopt);
        expectHolds(container, original, u"Summer2026");
        const auto record = recordOf(container, u"Summer2026");
        ASSERT_TRUE(record);
        EXPECT_EQ(record->watermarkText, u"水印");
        EXPECT_EQ(record->watermarkColour, 2);
    }

    // The choice stays for the next job, a single file this time.
    makeFile(source / "clip.mp4", 100);
    ASSERT_TRUE(clickOn(u"chk_encodefile"));
    chooseSourceFile(source / "clip.mp4");
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    EXPECT_EQ(messageTexts().back(), kFileDone);
    EXPECT_EQ(versionOf(out / "clip.pmpk", u"Summer2026"), ContainerVersion::Sealed);
    EXPECT_EQ(find<CComboUI>(u"comb_containerformat")->SelectedIndex(), 1);
}

}  // namespace
}  // namespace mirado::testing
