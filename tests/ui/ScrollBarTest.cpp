#include "CListElementUI.h"
#include "CListUI.h"
#include "CScrollBarUI.h"
#include "InlineWindow.h"

#include <QBuffer>
#include <QPainter>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// A picture laid out like the skin's scrollbar.png (48x48): columns of 12 px for
// normal, hot, pushed and disabled (the track in the last), bands for the up arrow
// (y 0..12), the down arrow (12..24) and the thumb and track (24..48). Every cell has
// its own colour, so a pixel tells which cell was drawn.
QRgb cell(int column, int band)
{
    return qRgb(30 + 60 * column, 30 + 70 * band, 90);
}

QByteArray barPng()
{
    QImage image(48, 48, QImage::Format_ARGB32);
    QPainter p(&image);
    for (int band = 0; band < 3; ++band) {
        for (int column = 0; column < 4; ++column)
            p.fillRect(column * 12, band * 12, 12, band < 2 ? 12 : 24, QColor(cell(column, band)));
    }
    p.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QString imageAttr(const char* name, int x, int y, int w, int h, const char* corner = "0,0,0,0")
{
    return QStringLiteral("%1=&quot;file='bar.png' source='%2,%3,%4,%5' corner='%6'&quot; ")
        .arg(QString::fromLatin1(name))
        .arg(x)
        .arg(y)
        .arg(x + w)
        .arg(y + h)
        .arg(QString::fromLatin1(corner));
}

QString arrowsStyle()
{
    QString style = QStringLiteral("width=&quot;12&quot; ");
    const char* states[] = {"normal", "hot", "pushed", "disabled"};
    for (int column = 0; column < 4; ++column) {
        style += imageAttr(qPrintable(QStringLiteral("button1%1image").arg(QLatin1String(states[column]))), column * 12, 0, 12, 12);
        style += imageAttr(qPrintable(QStringLiteral("button2%1image").arg(QLatin1String(states[column]))), column * 12, 12, 12, 12);
    }
    style += imageAttr("thumbimage", 0, 24, 12, 24, "0,4,0,4");
    style += imageAttr("thumbhotimage", 12, 24, 12, 24, "0,4,0,4");
    style += imageAttr("thumbpushedimage", 24, 24, 12, 24, "0,4,0,4");
    style += imageAttr("railimage", 36, 24, 12, 24, "0,4,0,4");
    return style;
}

// A 300 x 240 window that is one list with 20 px rows of white text on black.
std::unique_ptr<SkinWindow> listWindow(const QString& listAttributes, int height = 240)
{
    return showInline(QStringLiteral(R"(<Window size="300,%1"><VerticalLayout>
        <List name="list" itemheight="20" bkcolor="#FF000000" itembkcolor="#FF000000" itemtextcolor="#FFFFFFFF"
              itemselectedbkcolor="#FF0000FF" itemhotbkcolor="#FF000000" %2/>
      </VerticalLayout></Window>)")
                          .arg(height)
                          .arg(listAttributes),
                      {{QStringLiteral("bar.png"), barPng()}});
}

void fill(CListUI* list, int rows)
{
    for (int i = 0; i < rows; ++i) {
        auto* row = new CListTextElementUI;
        row->SetName(QStringLiteral("row %1").arg(i));
        row->SetText(QStringLiteral("row %1").arg(i));
        list->AppendItem(row);
    }
}

QPoint centre(const RECT& r)
{
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

// The row the window shows at its top-left corner.
CControlUI* topRow(SkinWindow& w)
{
    return w.GetPaintManager().FindControl(POINT{5, 1});
}

class ScrollBar : public ::testing::Test {
protected:
    void build(const QString& attributes, int rows, int height = 240)
    {
        window = listWindow(attributes, height);
        ASSERT_NE(window, nullptr);
        list = window->find<CListUI>("list");
        ASSERT_NE(list, nullptr);
        fill(list, rows);
        window->GetPaintManager().UpdateLayout();
        bar = list->GetVerticalScrollBar();
    }
    int pos() const { return list->GetScrollPos().cy; }
    std::unique_ptr<SkinWindow> window;
    CListUI* list = nullptr;
    CScrollBarUI* bar = nullptr;
};

} // namespace

TEST_F(ScrollBar, ArrowsStepByALineRepeatWhileHeldAndShowTheirStates)
{
    build("vscrollbar=\"true\" vscrollbarstyle=\"" + arrowsStyle() + "\"", 100);
    ASSERT_TRUE(bar->IsVisible());
    const RECT up = bar->GetButton1Rect();
    const RECT down = bar->GetButton2Rect();
    EXPECT_EQ(up, (RECT{288, 0, 300, 12}));
    EXPECT_EQ(down, (RECT{288, 228, 300, 240}));
    EXPECT_EQ(bar->GetTrackRect(), (RECT{288, 12, 300, 228}));
    EXPECT_EQ(bar->GetThumbRect().top, 12) << "the thumb starts below the up arrow";

    QImage shot = grab(*window);
    EXPECT_EQ(rgbAt(shot, *window, centre(up)), cell(3, 0) & 0xFFFFFF) << "nothing above: the up arrow looks disabled";
    EXPECT_EQ(rgbAt(shot, *window, centre(down)), cell(0, 1) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(shot, *window, centre(bar->GetThumbRect())), cell(0, 2) & 0xFFFFFF);
    EXPECT_EQ(rgbAt(shot, *window, 294, 200), cell(3, 2) & 0xFFFFFF) << "track below the thumb";

    moveTo(*window, centre(down));
    EXPECT_EQ(rgbAt(grab(*window), *window, centre(down)), cell(1, 1) & 0xFFFFFF) << "hot";
    pressAt(*window, centre(down));
    EXPECT_EQ(pos(), 20) << "one line";
    EXPECT_EQ(rgbAt(grab(*window), *window, centre(down)), cell(2, 1) & 0xFFFFFF) << "pushed";
    runFor(700);
    EXPECT_GT(pos(), 40) << "holding repeats";
    releaseAt(*window, centre(down));
    const int held = pos();
    runFor(200);
    EXPECT_EQ(pos(), held) << "release stops the repeat";
    EXPECT_EQ(topRow(*window), list->ItemAt(held / 20));

    shot = grab(*window);
    EXPECT_EQ(rgbAt(shot, *window, centre(up)), cell(0, 0) & 0xFFFFFF) << "the up arrow is live again";
    clickAt(*window, centre(up));
    EXPECT_EQ(pos(), held - 20);
}

TEST_F(ScrollBar, AHeldTrackPagesUntilTheThumbReachesThePointer)
{
    build("vscrollbar=\"true\" vscrollbarstyle=\"" + arrowsStyle() + "\"", 100);
    const QPoint pointer(294, 200);
    ASSERT_EQ(bar->PartAt(POINT{pointer.x(), pointer.y()}), CScrollBarUI::Part::TrackAfter);
    pressAt(*window, pointer);
    EXPECT_EQ(pos(), 240) << "one page: the rows in view";
    runFor(1500);
    EXPECT_GT(pos(), 240) << "it repeated";
    EXPECT_LT(pos(), list->GetScrollRange().cy) << "and stopped at the pointer, short of the end";
    EXPECT_NE(bar->PartAt(POINT{pointer.x(), pointer.y()}), CScrollBarUI::Part::TrackAfter);
    releaseAt(*window, pointer);

    // Dragging the thumb to the bottom shows the last row at the bottom.
    const QPoint grip = centre(bar->GetThumbRect());
    dragBy(*window, grip, QPoint(0, 400));
    EXPECT_EQ(pos(), list->GetScrollRange().cy);
    EXPECT_EQ(window->GetPaintManager().FindControl(POINT{5, 235}), list->ItemAt(99));
    EXPECT_EQ(list->ItemAt(99)->GetPos().bottom, 240);
}

TEST_F(ScrollBar, ArrowsAreOptionalAndDrawnPlainWithoutImages)
{
    build("vscrollbar=\"true\" vscrollbarstyle=\"thumbcolor=&quot;#FF00FF00&quot;\"", 100);
    EXPECT_TRUE(bar->GetButton1Rect().isEmpty());
    EXPECT_TRUE(bar->GetButton2Rect().isEmpty());
    EXPECT_EQ(bar->GetTrackRect(), bar->GetPos());
    EXPECT_EQ(bar->GetThumbRect().top, 0);

    build("vscrollbar=\"true\" vscrollbarstyle=\"showbutton1=&quot;true&quot; showbutton2=&quot;true&quot; "
          "thumbcolor=&quot;#FF00FF00&quot;\"",
          100);
    const RECT down = bar->GetButton2Rect();
    ASSERT_EQ(down, (RECT{288, 228, 300, 240}));
    EXPECT_EQ(rgbAt(grab(*window), *window, down.left + 1, down.top + 1), 0x00FF00u);
    clickAt(*window, centre(down));
    EXPECT_EQ(pos(), 20);
}

TEST_F(ScrollBar, WheelAndThumbShowTheRightRowsOfTenThousand)
{
    build("vscrollbar=\"true\"", 10000);
    const QPoint middle(150, 120);
    for (int i = 0; i < 3; ++i)
        wheelAt(*window, middle, -120);
    EXPECT_EQ(pos(), 3 * 3 * 20) << "three rows a notch";
    EXPECT_EQ(topRow(*window), list->ItemAt(9));
    // The painted rows are those rows: the selected row 10 lies just below the top one.
    list->SelectIndex(10);
    QImage shot = grab(*window);
    EXPECT_EQ(rgbAt(shot, *window, 250, 30), 0x0000FFu);
    EXPECT_EQ(rgbAt(shot, *window, 250, 10), 0x000000u);

    wheelAt(*window, middle, 120 * 10);
    EXPECT_EQ(pos(), 0) << "not above the first row";

    // The thumb dragged half way shows the rows half way down, cut where the offset says.
    const RECT thumb = bar->GetThumbRect();
    const int travel = bar->GetPos().height() - thumb.height();
    dragBy(*window, centre(thumb), QPoint(0, travel / 2), 8);
    const int range = list->GetScrollRange().cy;
    EXPECT_NEAR(pos(), range / 2, range / travel + 1);
    CControlUI* top = topRow(*window);
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top, list->ItemAt(pos() / 20));
    EXPECT_EQ(top->GetPos().top, -(pos() % 20));

    list->SetScrollPos({0, range - 10});
    wheelAt(*window, middle, -120);
    EXPECT_EQ(pos(), range) << "not below the last row";
    EXPECT_EQ(window->GetPaintManager().FindControl(POINT{5, 239}), list->ItemAt(9999));
}

TEST_F(ScrollBar, RowsWiderThanTheListGetAHorizontalBar)
{
    build("vscrollbar=\"true\" hscrollbar=\"true\" hscrollbarstyle=\"height=&quot;12&quot;\"", 12, 240);
    CScrollBarUI* hbar = list->GetHorizontalScrollBar();
    EXPECT_FALSE(bar->IsVisible()) << "12 rows of 20 fit in 240";
    EXPECT_FALSE(hbar->IsVisible());

    auto* first = static_cast<CListTextElementUI*>(list->ItemAt(0));
    first->SetText(QString(80, u'W'));
    window->GetPaintManager().UpdateLayout();
    ASSERT_TRUE(hbar->IsVisible());
    EXPECT_TRUE(bar->IsVisible()) << "the horizontal bar takes room the rows needed";
    EXPECT_EQ(hbar->GetPos(), (RECT{0, 228, 288, 240}));
    const int rowWidth = first->GetPos().width();
    EXPECT_GT(rowWidth, 288);
    EXPECT_EQ(list->GetScrollRange().cx, rowWidth - 288);
    EXPECT_EQ(list->ItemAt(1)->GetPos().width(), rowWidth) << "all rows are as wide as the widest";

    // Right arrow key of the focused list, then the thumb dragged to the far end.
    clickAt(*window, QPoint(100, 30));
    pressKey(*window, Qt::Key_Right);
    EXPECT_EQ(list->GetScrollPos().cx, 20);
    dragBy(*window, centre(hbar->GetThumbRect()), QPoint(400, 0));
    EXPECT_EQ(list->GetScrollPos().cx, list->GetScrollRange().cx);
    EXPECT_EQ(first->GetPos().right, 288);
    // The end of the long text is in view; the short text of row 1 has gone left.
    const QImage shot = grab(*window);
    int lit = 0;
    int litRow1 = 0;
    for (int x = 200; x < 288; ++x) {
        for (int y = 2; y < 18; ++y) {
            lit += qGray(rgbAt(shot, *window, x, y)) > 128 ? 1 : 0;
            litRow1 += qGray(rgbAt(shot, *window, x, y + 20)) > 128 ? 1 : 0;
        }
    }
    EXPECT_GT(lit, 20);
    EXPECT_EQ(litRow1, 0);

    first->SetText(QStringLiteral("short again"));
    window->GetPaintManager().UpdateLayout();
    EXPECT_FALSE(hbar->IsVisible());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_EQ(list->GetScrollPos().cx, 0);

    // Texts from a source are measured again when the list is told they changed.
    struct Source final : IListCallbackUI {
        const char16_t* ItemTextFor(CControlUI*, int, int) override { return text.c_str(); }
        std::u16string text = u"tiny";
    } source;
    list->SetTextSource(&source);
    window->GetPaintManager().UpdateLayout();
    EXPECT_FALSE(hbar->IsVisible());
    source.text = std::u16string(80, u'W');
    list->TextsChanged();
    window->GetPaintManager().UpdateLayout();
    EXPECT_TRUE(hbar->IsVisible());
    list->SetTextSource(nullptr);
}
