// Paint cost of a list of 10,000 rows scrolled step by step, as a playlist scrolls:
// one repaint of the window per step, offscreen. Prints the time per frame for line,
// wheel and page steps, and what a layout of the whole list costs, first and again.
#include "CListElementUI.h"
#include "CListUI.h"
#include "UiTestHarness.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QWidget>
#include <algorithm>
#include <cstdio>
#include <vector>

using namespace mirado::testing;

namespace {

constexpr int kRows = 10000;

struct Figures {
    double mean, median, p95, max;
};

Figures summarise(std::vector<double> ms)
{
    std::sort(ms.begin(), ms.end());
    double sum = 0;
    for (double v : ms)
        sum += v;
    return {sum / ms.size(), ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back()};
}

// Scrolls from the top by step pixels a frame until the end (at most frames frames).
Figures scrollFrames(SkinWindow& window, CListUI* list, int step, int frames)
{
    QWidget* widget = window.GetHWND();
    list->SetScrollPos({0, 0});
    widget->repaint();
    std::vector<double> times;
    QElapsedTimer clock;
    for (int i = 0; i < frames; ++i) {
        clock.start();
        list->SetScrollPos({0, list->GetScrollPos().cy + step});
        widget->repaint();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    return summarise(times);
}

void print(const char* what, const Figures& f)
{
    std::printf("%-34s mean %6.3f ms  median %6.3f ms  p95 %6.3f ms  max %6.3f ms\n", what, f.mean, f.median, f.p95, f.max);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The playlist's look: 200 x 600, one column, hidden header, bars both ways.
    useInlineSkin({{"Bench.xml", R"(<Window size="200,600"><VerticalLayout>
        <List name="list" header="hidden" vscrollbar="true" hscrollbar="true" itemheight="22" itemtextpadding="4,0,4,0"
              bkcolor="#FF5F5A5C" itemtextcolor="#FFFFFFFF" itemselectedbkcolor="#FFC3C7D5" itemhotbkcolor="#FFC3C7D5">
          <ListHeader><ListHeaderItem text="file"/></ListHeader></List>
      </VerticalLayout></Window>)"}});
    SkinWindow window("Bench.xml");
    if (!createShown(window, "bench")) {
        std::fprintf(stderr, "cannot create the window\n");
        return 1;
    }
    auto* list = window.find<CListUI>("list");
    for (int i = 0; i < kRows; ++i) {
        auto* row = new CListTextElementUI;
        row->SetText(QStringLiteral("/media/videos/holiday %1/clip number %2.pmpk").arg(i / 100).arg(i));
        list->AppendItem(row);
    }
    list->SelectIndex(5);

    QElapsedTimer clock;
    clock.start();
    window.GetPaintManager().UpdateLayout();
    const double firstLayout = clock.nsecsElapsed() / 1e6;
    std::vector<double> layouts;
    for (int i = 0; i < 20; ++i) {
        clock.start();
        list->NeedUpdate();
        window.GetPaintManager().UpdateLayout();
        layouts.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::printf("list of %d rows, 200 x 600 window, offscreen, device pixel ratio %.1f\n", kRows,
                window.GetHWND()->devicePixelRatioF());
    std::printf("%-34s %6.3f ms\n", "first layout (measures every row)", firstLayout);
    print("layout again (widths kept)", summarise(layouts));
    print("frame, line step (22 px)", scrollFrames(window, list, 22, 2000));
    print("frame, wheel step (66 px)", scrollFrames(window, list, 66, 2000));
    print("frame, page step (578 px)", scrollFrames(window, list, 578, 370));
    return 0;
}
