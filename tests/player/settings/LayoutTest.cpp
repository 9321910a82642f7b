// The window as it opens, its pages, and a customised skin.
#include <QDir>

#include "SettingsFixture.h"
#include "ui/CListUI.h"
#include "ui/CTabLayoutUI.h"

namespace mirado::testing {
namespace {

class Layout : public SettingsFixture {};

QRgb rgbAt(const QImage& shot, int x, int y) {
    const qreal ratio = shot.devicePixelRatio();
    return shot.pixel(int(x * ratio), int(y * ratio)) & 0xFFFFFF;
}

TEST_F(Layout, OpensOnTheEncryptionPageInFileModeWithTheWatermarkOff) {
    open();
    EXPECT_EQ(window->GetHWND()->size(), QSize(700, 580));
    EXPECT_EQ(find<CTabLayoutUI>(u"tab_fun")->GetCurSel(), 0);
    auto* pages = find<CListUI>(u"list_type");
    ASSERT_EQ(pages->ItemCount(), 2);
    EXPECT_EQ(pages->ItemAt(0)->GetText().toQString(), QStringLiteral("加密"));
    EXPECT_EQ(pages->ItemAt(1)->GetText().toQString(), QStringLiteral("信息"));
    EXPECT_EQ(pages->SelectedIndex(), 0);

    EXPECT_TRUE(checked(u"chk_encodefile"));
    EXPECT_FALSE(checked(u"chk_encodedir"));
    EXPECT_FALSE(checked(u"chk_watermark"));
    for (const char16_t* name : {u"edit_water_content", u"comb_watercolor", u"comb_waterfontsize", u"comb_waterpos"}) {
        EXPECT_FALSE(find<CControlUI>(name)->IsEnabled()) << QString::fromUtf16(name).toStdString();
    }
    for (const char16_t* name : {u"edit_encode_filepath", u"edit_encode_dstpath", u"edit_encode_psw", u"edit_water_content"}) {
        EXPECT_EQ(textOf(name), QString()) << QString::fromUtf16(name).toStdString();
    }
    EXPECT_TRUE(find<CControlUI>(u"edit_encode_psw")->IsEnabled());
    EXPECT_EQ(find<CEditUI>(u"edit_encode_psw")->GetMaxChar(), 16);
    EXPECT_EQ(find<CEditUI>(u"edit_water_content")->GetMaxChar(), 50);

    const std::vector<std::pair<const char16_t*, std::vector<QString>>> combos{
        {u"comb_watercolor", {"白", "红", "黄", "绿", "青"}},
        {u"comb_waterfontsize", {"1/20图像高度", "1/15图像高度", "1/10图像高度"}},
        {u"comb_waterpos", {"左上方", "右上方", "左下方", "右下方"}}};
    for (const auto& [name, items] : combos) {
        auto* combo = find<CComboUI>(name);
        ASSERT_EQ(combo->ItemCount(), int(items.size()));
        for (int i = 0; i < combo->ItemCount(); ++i) EXPECT_EQ(combo->ItemAt(i)->GetText().toQString(), items[std::size_t(i)]);
        EXPECT_EQ(combo->SelectedIndex(), 0);
    }
    EXPECT_TRUE(find<CControlUI>(u"txt_tipencodefile")->IsVisible());
    EXPECT_EQ(textOf(u"txt_tipencodefile"),
              QStringLiteral("请耐心等待处理结果，文件越大，要的时间越久。平均1GB文件因电脑配置需约几十秒不等."));
    EXPECT_FALSE(find<CControlUI>(u"btn_cancelencode")->IsVisible());
    EXPECT_FALSE(find<CControlUI>(u"progress_encode")->IsVisible());
}

TEST_F(Layout, RowsSitWhereTheSkinPutsThemAndTheFrameHasItsColours) {
    open();
    const auto pos = [this](const char16_t* name) { return find<CControlUI>(name)->GetPos(); };
    EXPECT_EQ(pos(u"btn_close"), (RECT{654, 0, 700, 41}));
    EXPECT_EQ(pos(u"edit_encode_filepath").width(), 400);
    EXPECT_EQ(pos(u"btn_openfile").width(), 65);
    EXPECT_EQ(pos(u"btn_openfile").left, pos(u"edit_encode_filepath").right + 10);
    EXPECT_EQ(pos(u"edit_encode_psw").width(), 300);
    EXPECT_EQ(pos(u"chk_encodedir").left, pos(u"chk_encodefile").right + 10);
    EXPECT_EQ(pos(u"edit_encode_dstpath").top, pos(u"edit_encode_filepath").bottom + 30);
    EXPECT_EQ(pos(u"btn_encodefile").width(), 120);
    // Every row of the page lies inside the window.
    EXPECT_LE(pos(u"btn_encodefile").bottom, 580);
    // The right column starts after the 145-wide page list and the 20-wide gap.
    EXPECT_EQ(pos(u"chk_encodefile").left, 145 + 20 + 150);

    const QImage shot = grab(*window);
    EXPECT_EQ(rgbAt(shot, 300, 20), 0x807578u) << "title bar";
    EXPECT_EQ(rgbAt(shot, 0, 300), 0x555555u) << "window border";
    EXPECT_EQ(rgbAt(shot, 600, 560), 0x888084u) << "page background";
    const RECT selected = find<CListUI>(u"list_type")->ItemAt(0)->GetPos();
    EXPECT_EQ(rgbAt(shot, selected.left + 4, selected.top + 4), 0x807578u) << "selected page entry";
}

TEST_F(Layout, SwitchingPagesKeepsEveryField) {
    makeFile(source / "clip.mp4");
    open();
    chooseSourceFile(source / "clip.mp4");
    chooseDestination(out);
    retype(u"edit_encode_psw", QStringLiteral("secret12"));
    setWatermark(true);
    retype(u"edit_water_content", QStringLiteral("mark"));
    ASSERT_TRUE(chooseComboItem(*window, "comb_watercolor", 3));
    ASSERT_TRUE(chooseComboItem(*window, "comb_waterpos", 2));

    auto* pages = find<CListUI>(u"list_type");
    const auto clickRow = [&](int index) {
        const RECT row = pages->ItemAt(index)->GetPos();
        clickAt(*window, QPoint(row.left + row.width() / 2, row.top + row.height() / 2));
    };
    clickRow(1);
    EXPECT_EQ(find<CTabLayoutUI>(u"tab_fun")->GetCurSel(), 1);
    EXPECT_TRUE(find<CControlUI>(u"txt_about_protection")->IsVisible());
    EXPECT_FALSE(find<CControlUI>(u"edit_encode_psw")->IsVisible());
    EXPECT_FALSE(find<CEditUI>(u"edit_encode_psw")->GetNativeEdit()->isVisible()) << "no edit shows through the page";
    clickRow(0);
    EXPECT_EQ(find<CTabLayoutUI>(u"tab_fun")->GetCurSel(), 0);
    EXPECT_TRUE(find<CEditUI>(u"edit_encode_psw")->GetNativeEdit()->isVisible());

    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source / "clip.mp4"));
    EXPECT_EQ(textOf(u"edit_encode_dstpath"), qPath(out));
    EXPECT_EQ(textOf(u"edit_encode_psw"), QStringLiteral("secret12"));
    EXPECT_EQ(textOf(u"edit_water_content"), QStringLiteral("mark"));
    EXPECT_TRUE(checked(u"chk_encodefile"));
    EXPECT_TRUE(checked(u"chk_watermark"));
    EXPECT_TRUE(find<CControlUI>(u"comb_waterpos")->IsEnabled());
    EXPECT_EQ(find<CComboUI>(u"comb_watercolor")->SelectedIndex(), 3);
    EXPECT_EQ(find<CComboUI>(u"comb_waterpos")->SelectedIndex(), 2);
    EXPECT_EQ(find<CComboUI>(u"comb_waterfontsize")->SelectedIndex(), 0);
    // And the kept fields are the ones a job uses.
    pressStart();
    ASSERT_TRUE(waitForJobEnd());
    const auto record = recordOf(out / "clip.pmpk", u"secret12");
    ASSERT_TRUE(record);
    EXPECT_EQ(record->watermarkText, u"mark");
    EXPECT_EQ(record->watermarkColour, 3);
    EXPECT_EQ(record->watermarkPosition, 2);
}

TEST_F(Layout, InformationPageNamesTheProgramItsVersionAndWhatTheProtectionIs) {
    open();
    auto* pages = find<CListUI>(u"list_type");
    const RECT row = pages->ItemAt(1)->GetPos();
    clickAt(*window, QPoint(row.left + row.width() / 2, row.top + row.height() / 2));
    ASSERT_TRUE(find<CControlUI>(u"txt_about_protection")->IsVisible());
    // For a look at the page: every text fits its place.
    EXPECT_TRUE(grabToPng(*window, QDir::temp().filePath("mirado-settings-info.png")));
    EXPECT_TRUE(textOf(u"txt_about_name").startsWith(QStringLiteral("Mirado")));
    EXPECT_EQ(textOf(u"txt_about_version"), QStringLiteral("版本 ") + QStringLiteral(MIRADO_PROJECT_VERSION));
    EXPECT_TRUE(textOf(u"txt_about_container").contains(QStringLiteral(".pmpk")));
    const QString protection = textOf(u"txt_about_protection");
    for (const char* part : {"没有密码", "水印", "兼容格式不是现代意义上的密码学加密", "挡不住有决心的攻击者",
                             "加密格式是标准的 age 文件", "任何改动都会被发现"}) {
        EXPECT_TRUE(protection.contains(QString::fromUtf8(part))) << part;
    }
}

TEST_F(Layout, CloseButtonClosesTheWindow) {
    open();
    ASSERT_TRUE(clickOn(u"btn_close"));
    EXPECT_TRUE(waitUntil([this] { return window->GetHWND() == nullptr; }));
    EXPECT_TRUE(messageTexts().empty());
}

// A customised skin: names in capitals, no mode boxes, no password edit.
class CustomSkinFrame : public CSystemInfoFrame {
public:
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_FILE; }
};

TEST_F(Layout, SenderNamesMatchIgnoringCaseAndMissingControlsAreSkipped) {
    useInlineSkin({{QStringLiteral("SystemInfoFrame.xml"), QByteArray(R"(<Window size="400,200"><VerticalLayout>
        <Edit name="edit_encode_filepath" height="25" readonly="true" />
        <Button name="BTN_OpenFile" text="source" height="25" />
        <Button name="Btn_OpenDstPath" text="destination" height="25" />
        <Button name="BTN_ENCODEFILE" text="start" height="25" />
        <Button name="BTN_CLOSE" text="close" height="25" />
        </VerticalLayout></Window>)")}});
    makeFile(source / "clip.mp4");
    window = std::make_unique<CustomSkinFrame>();
    ASSERT_TRUE(createShown(*window, "custom"));

    ASSERT_TRUE(clickOn(u"BTN_ENCODEFILE"));
    EXPECT_EQ(messageTexts(), std::vector<QString>{kNoSource});
    // Without the file box the window is in folder mode: the folder browser chooses the source.
    services.folders->answers.push_back(qPath(source));
    ASSERT_TRUE(clickOn(u"BTN_OpenFile"));
    services.folders->answers.push_back(qPath(out));
    ASSERT_TRUE(clickOn(u"Btn_OpenDstPath"));
    EXPECT_EQ(services.folders->titles.size(), 2u);
    EXPECT_EQ(textOf(u"edit_encode_filepath"), qPath(source));
    // Without a password edit the start button ends quietly.
    ASSERT_TRUE(clickOn(u"BTN_ENCODEFILE"));
    runFor(50);
    EXPECT_EQ(messageTexts().size(), 1u);
    EXPECT_TRUE(treeOf(out).empty());
    ASSERT_TRUE(clickOn(u"BTN_CLOSE"));
    EXPECT_TRUE(waitUntil([this] { return window->GetHWND() == nullptr; }));
}

}  // namespace
}  // namespace mirado::testing
