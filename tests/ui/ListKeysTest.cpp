#include "CListElementUI.h"
#include "CListUI.h"
#include "InlineWindow.h"

#include <gtest/gtest.h>

using namespace mirado::testing;

namespace {

// The focused list of 1,000 rows of 20 px, 240 px high: twelve rows to a page.
class ListKeys : public ::testing::Test {
protected:
    void SetUp() override
    {
        window = showInline(QStringLiteral(R"(<Window size="300,240"><VerticalLayout>
            <List name="list" itemheight="20" vscrollbar="true"/></VerticalLayout></Window>)"));
        ASSERT_NE(window, nullptr);
        list = window->find<CListUI>("list");
        for (int i = 0; i < 1000; ++i) {
            auto* row = new CListTextElementUI;
            row->SetText(QString::number(i));
            list->AppendItem(row);
        }
        window->GetPaintManager().UpdateLayout();
        clickAt(*window, QPoint(50, 10));
        ASSERT_EQ(list->SelectedIndex(), 0);
        window->notifications.clear();
    }
    // The selected row lies wholly inside the rows' area.
    bool selectionInView() const
    {
        const RECT r = list->ItemAt(list->SelectedIndex())->GetPos();
        const int top = list->GetScrollPos().cy;
        const int rowTop = list->SelectedIndex() * 20 - top;
        return rowTop >= 0 && rowTop + 20 <= 240 && r.top == rowTop;
    }
    int selects() const
    {
        return static_cast<int>(std::count(window->notifications.begin(), window->notifications.end(), "itemselect:list"));
    }
    std::unique_ptr<SkinWindow> window;
    CListUI* list = nullptr;
};

} // namespace

TEST_F(ListKeys, ArrowsHomeEndAndPagesMoveTheSelectionAndKeepItInView)
{
    pressKey(*window, Qt::Key_Up);
    EXPECT_EQ(list->SelectedIndex(), 0) << "nothing above the first row";
    EXPECT_EQ(selects(), 0) << "no change, no itemselect";
    pressKey(*window, Qt::Key_Down);
    pressKey(*window, Qt::Key_Down);
    EXPECT_EQ(list->SelectedIndex(), 2);
    EXPECT_EQ(selects(), 2);
    pressKey(*window, Qt::Key_PageDown);
    EXPECT_EQ(list->SelectedIndex(), 14) << "a page is the twelve rows in view";
    EXPECT_TRUE(selectionInView());
    EXPECT_EQ(list->GetScrollPos().cy, 15 * 20 - 240) << "scrolled just enough";
    pressKey(*window, Qt::Key_End);
    EXPECT_EQ(list->SelectedIndex(), 999);
    EXPECT_EQ(list->GetScrollPos().cy, list->GetScrollRange().cy);
    EXPECT_TRUE(selectionInView());
    pressKey(*window, Qt::Key_Down);
    pressKey(*window, Qt::Key_PageDown);
    EXPECT_EQ(list->SelectedIndex(), 999) << "nothing below the last row";
    pressKey(*window, Qt::Key_PageUp);
    EXPECT_EQ(list->SelectedIndex(), 987);
    EXPECT_TRUE(selectionInView());
    pressKey(*window, Qt::Key_Home);
    EXPECT_EQ(list->SelectedIndex(), 0);
    EXPECT_EQ(list->GetScrollPos().cy, 0);
    pressKey(*window, Qt::Key_PageUp);
    EXPECT_EQ(list->SelectedIndex(), 0);
    // The keys follow the rows a click shows.
    wheelAt(*window, QPoint(50, 100), -120 * 10);
    clickAt(*window, QPoint(50, 230));
    const int clicked = list->SelectedIndex();
    EXPECT_EQ(clicked, (list->GetScrollPos().cy + 230) / 20);
    pressKey(*window, Qt::Key_Down);
    EXPECT_EQ(list->SelectedIndex(), clicked + 1);
    EXPECT_TRUE(selectionInView());
}

TEST_F(ListKeys, KeysOnAnEmptyOrUnfocusedListDoNothing)
{
    // Focus elsewhere: keys are not the list's.
    window->GetPaintManager().SetFocus(nullptr);
    pressKey(*window, Qt::Key_End);
    EXPECT_EQ(list->SelectedIndex(), 0);
    list->SetFocus();
    list->RemoveAllItems();
    window->GetPaintManager().UpdateLayout();
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Up, Qt::Key_End, Qt::Key_Home, Qt::Key_PageDown, Qt::Key_PageUp})
        pressKey(*window, key);
    EXPECT_EQ(list->SelectedIndex(), -1);
    EXPECT_EQ(selects(), 0);
    // With no selection, Down picks the first row.
    auto* row = new CListTextElementUI;
    row->SetText(u"only");
    list->AppendItem(row);
    window->GetPaintManager().UpdateLayout();
    pressKey(*window, Qt::Key_Down);
    EXPECT_EQ(list->SelectedIndex(), 0);
}
