#include "CListElementUI.h"
#include "CListHeaderUI.h"
#include "CListUI.h"
#include "CScrollBarUI.h"
#include "InlineWindow.h"

#include <QWidget>
#include <gtest/gtest.h>
#include <set>

using namespace mirado::testing;

namespace {

// Long texts in column 0; column 1 is empty on even rows; column 2 says the row.
// Remembers every (row, column) it was asked for.
class GridSource final : public IListCallbackUI {
public:
    const char16_t* ItemTextFor(CControlUI*, int row, int col) override
    {
        asked.insert({row, col});
        if (col == 0)
            m_text = QString(40, u'W');
        else if (col == 1)
            m_text = row % 2 == 0 ? QString() : QStringLiteral("WW");
        else
            m_text = QString::number(row);
        m_buffer = m_text.toStdU16String();
        return m_buffer.c_str();
    }
    std::set<std::pair<int, int>> asked;

private:
    QString m_text;
    std::u16string m_buffer;
};

std::unique_ptr<SkinWindow> columnsWindow(const QString& listAttributes, const QString& widths)
{
    const QStringList w = widths.split(u',');
    QString items;
    for (const QString& width : w)
        items += QStringLiteral("<ListHeaderItem text=\"h\" width=\"%1\"/>").arg(width);
    return showInline(QStringLiteral(R"(<Window size="300,200"><VerticalLayout>
        <List name="list" itemheight="20" bkcolor="#FF000000" itembkcolor="#FF000000" itemtextcolor="#FFFFFFFF"
              itemhotbkcolor="#FF000000" itemselectedbkcolor="#FF000000" %1><ListHeader height="20">%2</ListHeader></List>
      </VerticalLayout></Window>)")
                          .arg(listAttributes, items));
}

int litPixels(const QImage& shot, const CWindowWnd& w, const RECT& area)
{
    int lit = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            lit += qGray(rgbAt(shot, w, x, y)) > 128 ? 1 : 0;
    }
    return lit;
}

} // namespace

TEST(ListColumns, HeaderItemsMakeTheColumnsAndEachCellAsksForItsText)
{
    auto window = columnsWindow(QString(), "60,100,80");
    ASSERT_NE(window, nullptr);
    auto* list = window->find<CListUI>("list");
    GridSource source;
    list->SetTextSource(&source);
    for (int i = 0; i < 50; ++i)
        list->AppendItem(new CListTextElementUI);
    window->GetPaintManager().UpdateLayout();
    ASSERT_EQ(list->GetColumnCount(), 3);
    // The header is the first 20 px; rows start below it.
    EXPECT_EQ(list->ItemAt(0)->GetPos().top, 20);
    const RECT row = list->ItemAt(1)->GetPos();
    EXPECT_EQ(list->GetColumnRect(0, row), (RECT{0, row.top, 60, row.bottom}));
    EXPECT_EQ(list->GetColumnRect(1, row), (RECT{60, row.top, 160, row.bottom}));
    EXPECT_EQ(list->GetColumnRect(2, row), (RECT{160, row.top, 240, row.bottom}));
    EXPECT_EQ(window->GetPaintManager().FindControl(POINT{70, 5}), list->GetHeader()->GetItemAt(1));

    const QImage shot = grab(*window);
    // Every row in view was asked for each of its three columns, rows out of view not at all.
    for (int r = 0; r < 9; ++r) {
        for (int c = 0; c < 3; ++c)
            EXPECT_TRUE(source.asked.count({r, c})) << r << "," << c;
    }
    EXPECT_FALSE(source.asked.count({0, 3}));
    EXPECT_FALSE(source.asked.count({30, 0}));
    // Column 0's long text stays inside column 0; column 1 shows text on odd rows only.
    const RECT even = list->ItemAt(2)->GetPos();
    const RECT odd = list->ItemAt(3)->GetPos();
    EXPECT_GT(litPixels(shot, *window, RECT{0, even.top, 60, even.bottom}), 10);
    EXPECT_EQ(litPixels(shot, *window, RECT{60, even.top, 160, even.bottom}), 0);
    EXPECT_GT(litPixels(shot, *window, RECT{60, odd.top, 160, odd.bottom}), 5);
    EXPECT_EQ(litPixels(shot, *window, RECT{240, odd.top, 288, odd.bottom}), 0) << "nothing right of the last column";
}

TEST(ListColumns, WideColumnsScrollSidewaysWithTheirHeader)
{
    auto window = columnsWindow("hscrollbar=\"true\" vscrollbar=\"true\"", "200,200");
    ASSERT_NE(window, nullptr);
    auto* list = window->find<CListUI>("list");
    GridSource source;
    list->SetTextSource(&source);
    for (int i = 0; i < 3; ++i)
        list->AppendItem(new CListTextElementUI);
    window->GetPaintManager().UpdateLayout();
    ASSERT_TRUE(list->GetHorizontalScrollBar()->IsVisible());
    EXPECT_FALSE(list->GetVerticalScrollBar()->IsVisible());
    EXPECT_EQ(list->GetScrollRange().cx, 400 - 300);
    list->SetScrollPos({60, 0});
    const RECT row = list->ItemAt(0)->GetPos();
    EXPECT_EQ(row.left, -60);
    EXPECT_EQ(list->GetHeader()->GetItemAt(1)->GetPos().left, 140);
    EXPECT_EQ(list->GetColumnRect(1, row).left, 140);
    // What is under the pointer follows: x 150 is now the second header item.
    EXPECT_EQ(window->GetPaintManager().FindControl(POINT{150, 5}), list->GetHeader()->GetItemAt(1));
}
