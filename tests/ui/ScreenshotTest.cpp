#include "CListElementUI.h"
#include "CListUI.h"
#include "DemoWindow.h"

#include <QDir>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

QRgb rgbAt(const QImage& shot, qreal ratio, int x, int y)
{
    return shot.pixel(int(x * ratio), int(y * ratio)) & 0xFFFFFF;
}

} // namespace

// Every control of the demo skin on screen, checked in known places. Under
// QT_SCALE_FACTOR=2 the same checks hold in skin pixels and the @2x image is used.
TEST(Screenshot, DemoSkinPixelsInKnownPlaces)
{
    DemoWindow w;
    ASSERT_TRUE(createShown(w, "screenshot"));
    auto* list = w.find<CListUI>("listplay");
    for (const char16_t* name : {u"first.mp4", u"second.png", u"third.pmpk"}) {
        auto* row = new CListTextElementUI;
        row->SetName(name);
        row->SetText(0, name);
        list->AppendItem(row);
    }
    list->SelectIndex(1);
    w.GetPaintManager().UpdateLayout();
    const qreal ratio = w.GetHWND()->devicePixelRatioF();
    const QImage shot = grab(w);
    ASSERT_EQ(shot.width(), int(400 * ratio));
    EXPECT_TRUE(grabToPng(w, QDir::temp().filePath("mirado-ui-demo.png")));

    // Layout in skin pixels does not depend on the scale factor.
    EXPECT_EQ(w.find<CControlUI>("btn_close")->GetPos(), (RECT{365, 5, 395, 35}));
    // Background colour of the root, the title bar and the list.
    EXPECT_EQ(rgbAt(shot, ratio, 200, 310), 0x336699u);
    EXPECT_EQ(rgbAt(shot, ratio, 200, 3), 0x202020u);
    // The button image: the @2x picture on a 2x screen.
    EXPECT_EQ(rgbAt(shot, ratio, 380, 20), ratio >= 1.5 ? 0x20E080u : 0xE08020u);
    // Selected row colour, right of its text.
    const RECT row = list->ItemAt(1)->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, row.right - 30, (row.top + row.bottom) / 2), 0xC3C7D5u);
    const RECT other = list->ItemAt(2)->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, other.right - 30, (other.top + other.bottom) / 2), 0x404040u);
    // Slider: filled part green, thumb white, rest black; progress red up to a quarter.
    const RECT slider = w.find<CControlUI>("slider")->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, slider.left + 3, slider.top + 10), 0x00FF00u);
    EXPECT_EQ(rgbAt(shot, ratio, slider.left + slider.width() / 2, slider.top + 10), 0xFFFFFFu);
    EXPECT_EQ(rgbAt(shot, ratio, slider.right - 3, slider.top + 10), 0x000000u);
    const RECT progress = w.find<CControlUI>("progress")->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, progress.left + progress.width() / 8, progress.top + 4), 0xFF0000u);
    EXPECT_EQ(rgbAt(shot, ratio, progress.left + progress.width() / 2, progress.top + 4), 0x000000u);
    // Selected option, unchecked box, edit frame.
    const RECT opt = w.find<CControlUI>("opt_1")->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, opt.right - 3, opt.top + 3), 0x00FF00u);
    const RECT chk = w.find<CControlUI>("chk_a")->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, chk.left + 10, chk.top + 12), 0xA0A0A0u);
    const RECT edit = w.find<CControlUI>("edit_name")->GetPos();
    EXPECT_EQ(rgbAt(shot, ratio, edit.left + 1, edit.top + 1), 0xF8F8F8u);
}
