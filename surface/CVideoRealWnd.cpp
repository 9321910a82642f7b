#include "CVideoRealWnd.h"

#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QWidget>
#include <vector>

#include "CPlayBarFrame.h"
#include "PictureCanvas.h"
#include "PlayerHost.h"
#include "engine/avplayer.h"
#include "ui/WindowApi.h"

namespace {
constexpr UINT kBarTimer = 1;       // hides the idle play bar
constexpr UINT kBarTimerMs = 1000;
constexpr UINT kRedrawTimer = 10;   // keeps a picture on show drawn
constexpr UINT kRedrawTimerMs = 40;
constexpr DWORD kBarIdleMs = 5000;
constexpr int kBarHeight = 50;
constexpr int kBarTriggerRows = 10; // the bottom rows of the screen that call the bar up
} // namespace

struct CVideoRealWnd::State {
    WINDOWPLACEMENT savedPlacement;
    QPointer<QWidget> savedParent;
    bool fullScreen = false;
    bool barShown = false;
    DWORD lastActivity = 0;
    std::unique_ptr<CPlayBarFrame> playBar;

    mirado::PictureCanvas canvas;
    QImage frame; // what the last redraw made of the picture
    bool pictureShown = false;
    bool redrawPending = false;
    // The engine's video lies over the surface; it steps aside while a picture shows.
    std::vector<QPointer<QWidget>> coveredVideo;

    // The release that ends a double-click: its press was the double-click itself.
    bool releaseEndsDoubleClick = false;
};

CVideoRealWnd::CVideoRealWnd() : m_state(std::make_unique<State>()) {}

CVideoRealWnd::~CVideoRealWnd() = default;

void CVideoRealWnd::PrepareControls()
{
    auto bar = std::make_unique<CPlayBarFrame>();
    if (!bar->Create(GetHWND(), u"PlayBarWnd", WS_CHILD, 0))
        return; // the surface works without a bar
    bar->ShowWindow(false, false);
    // The engine's video is a native window of its own: only a native window can lie above it.
    bar->GetHWND()->setAttribute(Qt::WA_DontCreateNativeAncestors);
    bar->GetHWND()->setAttribute(Qt::WA_NativeWindow);
    m_state->playBar = std::move(bar);
}

CPlayBarFrame* CVideoRealWnd::playBar() const
{
    return m_state->playBar.get();
}

bool CVideoRealWnd::isFullScreen() const
{
    return m_state->fullScreen;
}

bool CVideoRealWnd::isPictureShown() const
{
    return m_state->pictureShown;
}

bool CVideoRealWnd::isBarShown() const
{
    return m_state->barShown;
}

void CVideoRealWnd::noteActivity()
{
    if (m_state->barShown)
        m_state->lastActivity = GetTickCount();
}

bool CVideoRealWnd::showPictureFile(const std::filesystem::path& path)
{
    if (!m_state->canvas.loadFile(path))
        return false;
    putPictureOnShow();
    return true;
}

bool CVideoRealWnd::showPictureBuffer(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName,
                                      std::u16string_view watermarkText, std::uint8_t position, std::uint8_t colour,
                                      std::uint8_t fontSize)
{
    if (!m_state->canvas.loadBuffer(data, size, sourceName, mirado::PictureCanvas::Watermark{watermarkText, position, colour, fontSize}))
        return false;
    putPictureOnShow();
    return true;
}

void CVideoRealWnd::putPictureOnShow()
{
    State& s = *m_state;
    s.frame = QImage();
    s.pictureShown = true;
    s.redrawPending = true;
    if (HWND self = GetHWND()) {
        for (QWidget* child : self->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if ((!s.playBar || child != s.playBar->GetHWND()) && child->isVisible()) {
                child->hide();
                s.coveredVideo.emplace_back(child);
            }
        }
    }
    InvalidateRect(GetHWND(), nullptr, false);
    SetTimer(kRedrawTimer, kRedrawTimerMs);
}

void CVideoRealWnd::stopPicture()
{
    State& s = *m_state;
    KillTimer(kRedrawTimer);
    s.pictureShown = false;
    s.frame = QImage();
    for (const QPointer<QWidget>& video : s.coveredVideo) {
        if (video)
            video->show();
    }
    s.coveredVideo.clear();
    InvalidateRect(GetHWND(), nullptr, false);
}

void CVideoRealWnd::requestRedraw()
{
    m_state->redrawPending = true;
    InvalidateRect(GetHWND(), nullptr, false);
}

bool CVideoRealWnd::paintPicture()
{
    State& s = *m_state;
    HWND self = GetHWND();
    if (s.redrawPending && s.canvas.compose(self->size(), s.frame))
        s.redrawPending = false;
    if (s.frame.isNull())
        return false; // nothing drawn yet: the skin shows
    QPainter* painter = BeginPaint();
    if (!painter)
        return false;
    painter->fillRect(self->rect(), Qt::black);
    painter->drawImage(0, 0, s.frame);
    return true;
}

void CVideoRealWnd::toggleFullScreen()
{
    HWND self = GetHWND();
    if (!self)
        return;
    State& s = *m_state;
    if (!s.fullScreen) {
        s.fullScreen = true;
        const int w = GetSystemMetrics(SM_CXSCREEN);
        const int h = GetSystemMetrics(SM_CYSCREEN);
        GetWindowPlacement(self, &s.savedPlacement);
        s.savedParent = GetParent(self);
        SetWindowStyle(self, (GetWindowStyle(self) & 0x3FFFFFFF) | WS_POPUP);
        SetParent(self, nullptr);
        SetWindowPos(self, HWND_TOPMOST, 0, 0, w, h, SWP_SHOWWINDOW);
        // Escape, Space and Enter now come here.
        self->activateWindow();
        self->setFocus(Qt::OtherFocusReason);
    } else {
        s.fullScreen = false;
        // Back into the window it left, where it was.
        if (QWidget* parent = s.savedParent) {
            SetWindowPos(self, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE);
            ::ShowWindow(parent->window(), SW_SHOW);
            SetParent(self, parent);
            SetWindowStyle(self, (GetWindowStyle(self) & 0x3FFFFFFF) | WS_CHILD);
            SetWindowPlacement(self, &s.savedPlacement);
            parent->window()->activateWindow();
        }
        setPlayBarVisible(false);
    }
    requestRedraw();
}

void CVideoRealWnd::setPlayBarVisible(bool show)
{
    State& s = *m_state;
    if (!s.playBar || !s.playBar->GetHWND())
        return;
    HWND bar = s.playBar->GetHWND();
    if (s.fullScreen && show) {
        const int w = GetSystemMetrics(SM_CXSCREEN);
        const int h = GetSystemMetrics(SM_CYSCREEN);
        SetWindowPos(bar, HWND_TOP, 0, h - kBarHeight, w, kBarHeight, SWP_NOZORDER | SWP_SHOWWINDOW);
        bar->raise(); // above the engine's video
        SetTimer(kBarTimer, kBarTimerMs);
        s.lastActivity = GetTickCount();
        s.barShown = true;
    } else {
        s.lastActivity = 0;
        KillTimer(kBarTimer);
        bar->hide();
        s.barShown = false;
    }
}

void CVideoRealWnd::togglePlaybackFromClick()
{
    if (!g_pMainFrame || g_pMainFrame->isShowingImage())
        return;
    avplayer& engine = g_pMainFrame->engine();
    const int status = engine.play_status();
    if (status == 1)
        engine.pause();
    else if (status == 2)
        engine.resume();
}

LRESULT CVideoRealWnd::ResponseDefaultKeyEvent(WPARAM)
{
    return 0;
}

LRESULT CVideoRealWnd::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam)
{
    State& s = *m_state;
    switch (uMsg) {
    case WM_LBUTTONDOWN:
        s.releaseEndsDoubleClick = false;
        break;
    case WM_LBUTTONDBLCLK:
        // The first click's release already paused or resumed: a double-click changes only
        // the screen, so that toggle is taken back and the closing release is let go.
        togglePlaybackFromClick();
        s.releaseEndsDoubleClick = true;
        toggleFullScreen();
        break;
    case WM_TIMER:
        if (wParam == kBarTimer && GetTickCount() - s.lastActivity > kBarIdleMs)
            setPlayBarVisible(false);
        else if (wParam == kRedrawTimer)
            InvalidateRect(GetHWND(), nullptr, false);
        break;
    case WM_PAINT:
        if (s.pictureShown && paintPicture())
            return 0;
        break;
    case WM_KEYDOWN: {
        // A held key repeats: pause and full screen change once per press.
        const bool repeated = HIWORD(lParam) & KF_REPEAT;
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            if (g_pMainFrame && !repeated)
                g_pMainFrame->TogglePause();
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            if (!repeated)
                toggleFullScreen();
            return 0;
        }
        // In full screen the main window is out of reach: its keys work here as well.
        if (g_pMainFrame && g_pMainFrame->handlePlayerKey(wParam, repeated))
            return 0;
        break;
    }
    case WM_MOUSEWHEEL:
        if (g_pMainFrame)
            g_pMainFrame->turnVolumeByWheel(static_cast<std::int16_t>(HIWORD(wParam)));
        return 0;
    case WM_SIZE:
        s.redrawPending = true;
        break;
    default:
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

LRESULT CVideoRealWnd::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled)
{
    State& s = *m_state;
    if (s.releaseEndsDoubleClick)
        s.releaseEndsDoubleClick = false;
    else
        togglePlaybackFromClick();
    if (s.playBar)
        setPlayBarVisible(false);
    bHandled = false;
    return 0;
}

LRESULT CVideoRealWnd::OnMouseMove(UINT, WPARAM, LPARAM lParam, bool& bHandled)
{
    bHandled = false;
    if (!m_state->fullScreen || !GetHWND())
        return 0;
    const QPoint at = GetHWND()->mapToGlobal(QPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    if (RECT{0, h - kBarTriggerRows, w, h}.contains(POINT{at.x(), at.y()}))
        setPlayBarVisible(true);
    return 0;
}

LRESULT CVideoRealWnd::HandleCustomMessage(UINT, WPARAM, LPARAM, bool& bHandled)
{
    bHandled = false;
    return 0;
}
