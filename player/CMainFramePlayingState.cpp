// What shows the current file outside the skin's texts: the title the window manager and the task
// bar show, and the play button of both bars, which shows pause while a video plays.
#include <QFileInfo>
#include <QWidget>

#include "player/CMainFrame.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CControlUI.h"

namespace {

constexpr int kPlaying = 1;

const QString kPlayImage = QStringLiteral("file='playbar/play_normal.png' dest='17,4,47,26'");
const QString kPauseImage = QStringLiteral("file='playbar/pause_normal.png' dest='17,4,47,26'");

void showPlayButton(CPaintManagerUI& manager, bool pause) {
    CControlUI* button = manager.FindControl(CDuiString(u"btn_play"));
    if (button == nullptr) return;
    button->SetAttribute(QStringLiteral("foreimage"), pause ? kPauseImage : kPlayImage);
    button->SetToolTip(CDuiString(pause ? QStringLiteral("暂停") : QStringLiteral("播放")));
    button->Invalidate();
}

}  // namespace

void CMainFrame::showPlayingState() {
    if (GetHWND() == nullptr) return;
    const QString name = QFileInfo(m_currentPath).fileName();
    GetHWND()->setWindowTitle(name.isEmpty() ? QStringLiteral("Mirado") : QStringLiteral("Mirado — ") + name);

    const bool pause = !m_isShowingImage && m_engine.play_status() == kPlaying;
    if (pause == m_showsPauseImage) return;
    m_showsPauseImage = pause;
    showPlayButton(m_PaintManager, pause);
    if (CPlayBarFrame* bar = m_surface ? m_surface->playBar() : nullptr) showPlayButton(bar->GetPaintManager(), pause);
}
