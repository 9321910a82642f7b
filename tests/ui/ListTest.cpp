#include "CListElementUI.h"
#include "CListUI.h"
#include "CScrollBarUI.h"
#include "DemoWindow.h"

#include <QElapsedTimer>
#include <QWidget>
#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// Cell texts from the row's user data: "a{#0}b{#1}" gives "a" and "b".
class MarkerSource final : public IListCallbackUI {
public:
    const char16_t* ItemTextFor(CControlUI* row, int, int col) override
    {
        const QString data = row->GetUserData().toQString();
        const QString end = QStringLiteral("{#%1}").arg(col);
        const qsizetype start = col == 0 ? 0 : data.indexOf(QStringLiteral("{#%1}").arg(col - 1));
        const qsizetype stop = data.indexOf(end);
        m_buffer = (start < 0 || stop < 0) ? std::u16string() : data.mid(col == 0 ? 0 : start + 4, stop - (col == 0 ? 0 : start + 4)).toStdU16String();
        ++calls;
        return m_buffer.c_str();
    }
    int calls = 0;

private:
    std::u16string m_buffer;
};

class List : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(createShown(window, "list"));
        list = window.find<CListUI>("listplay");
        ASSERT_NE(list, nullptr);
    }
    CListTextElementUI* add(const QString& name, const QString& data = {})
    {
        auto* row = new CListTextElementUI;
        row->SetName(name);
        row->SetUserData(data.isEmpty() ? name + "{#0}" : data);
        EXPECT_TRUE(list->AppendItem(row));
        return row;
    }
    DemoWindow window;
    CListUI* list = nullptr;
};

} // namespace

TEST_F(List, TextSourceGivesTheCellTexts)
{
    MarkerSource source;
    list->SetTextSource(&source);
    auto* row = add("r", "name.mp4{#0}second{#1}");
    EXPECT_EQ(row->GetCellText(0).toQString(), "name.mp4");
    EXPECT_EQ(row->GetCellText(1).toQString(), "second");
    EXPECT_TRUE(row->GetCellText(2).IsEmpty());
    // Painting asks the source for the visible rows.
    source.calls = 0;
    grab(window);
    EXPECT_GE(source.calls, 1);
    list->SetTextSource(nullptr);
    row->SetText(0, u"own");
    EXPECT_EQ(row->GetCellText(0).toQString(), "own");
}

TEST_F(List, AppendRemoveAndSelectionFollow)
{
    EXPECT_FALSE(list->AppendItem(nullptr));
    auto* notARow = new CControlUI;
    EXPECT_FALSE(list->AppendItem(notARow)) << "only rows are taken";
    delete notARow;
    for (int i = 0; i < 5; ++i)
        add(QString::number(i));
    EXPECT_EQ(list->ItemCount(), 5);
    EXPECT_EQ(list->ItemAt(5), nullptr);
    EXPECT_EQ(list->ItemAt(-1), nullptr);
    EXPECT_TRUE(list->SelectIndex(3));
    EXPECT_TRUE(list->RemoveItemAt(1));
    EXPECT_EQ(list->SelectedIndex(), 2) << "the selected row moved up";
    EXPECT_EQ(list->ItemAt(2)->GetName().toQString(), "3");
    EXPECT_TRUE(list->RemoveItemAt(2));
    EXPECT_EQ(list->SelectedIndex(), 2) << "the next row takes the selection";
    EXPECT_EQ(list->ItemAt(2)->GetName().toQString(), "4");
    EXPECT_TRUE(list->RemoveItemAt(2));
    EXPECT_EQ(list->SelectedIndex(), 1) << "the last row takes it when none follows";
    EXPECT_FALSE(list->RemoveItemAt(7));
    EXPECT_FALSE(list->SelectIndex(9));
    EXPECT_FALSE(list->SelectIndex(-1));
    EXPECT_EQ(list->SelectedIndex(), -1);
    list->RemoveAllItems();
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_EQ(window.GetPaintManager().FindControl(u"0"), nullptr);
}

TEST_F(List, RemovingTheHoveredRowLeavesNoDanglingPointer)
{
    add("a");
    add("b");
    window.GetPaintManager().UpdateLayout();
    moveTo(window, centreOf(window, "b"));
    EXPECT_EQ(window.GetPaintManager().GetHot(), list->ItemAt(1));
    list->RemoveAllItems();
    EXPECT_EQ(window.GetPaintManager().GetHot(), nullptr);
    moveTo(window, QPoint(5, 5));
}

TEST_F(List, TenThousandRowsScrollAndSelectAtTheEnd)
{
    for (int i = 0; i < 10000; ++i)
        add(QStringLiteral("row %1").arg(i));
    window.GetPaintManager().UpdateLayout();
    ASSERT_TRUE(list->GetVerticalScrollBar()->IsVisible());
    const SIZE range = list->GetScrollRange();
    EXPECT_GT(range.cy, 10000 * 20);
    list->SelectIndex(9999);
    EXPECT_EQ(list->GetScrollPos().cy, range.cy) << "the selection is scrolled into view";
    window.GetPaintManager().UpdateLayout();
    ASSERT_TRUE(click(window, "row 9998"));
    EXPECT_EQ(list->SelectedIndex(), 9998);
    wheelAt(window, centreOf(window, "listplay"), 120);
    EXPECT_LT(list->GetScrollPos().cy, range.cy);
    // Dragging the thumb to the top shows the first row.
    const RECT thumb = list->GetVerticalScrollBar()->GetThumbRect();
    // Grip the left of the thumb: its right part lies under the window's sizing border.
    const QPoint grip(thumb.left + 2, thumb.top + 2);
    pressAt(window, grip);
    moveTo(window, grip - QPoint(0, 1000));
    releaseAt(window, grip - QPoint(0, 1000));
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    EXPECT_EQ(window.GetPaintManager().FindControl(POINT{list->GetPos().left + 5, list->GetPos().top + 5}), list->ItemAt(0));
}
