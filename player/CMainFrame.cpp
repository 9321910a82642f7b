// The main window as a window: start-up, messages, notifications, the system buttons, the surface's
// place and the list region. The playlist and playback live in their own files.
#include "CMainFrame.h"

#include <QIcon>
#include <QPixmap>
#include <QWidget>

#include "container/ContainerReader.h"
#include "player/CListCallbackUI.h"
#include "player/CSystemInfoFrame.h"
#include "player/FileDropFilter.h"
#include "player/PlayerLog.h"
#include "surface/CPasswordFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"
#include "ui/SkinStore.h"
#include "ui/Translation.h"
#include "ui/WindowApi.h"

namespace {

// Style of the owned modal windows: popup, visible, clip siblings and children, caption, system menu.
constexpr DWORD kModalStyle = 0x96C80000;

template <class T>
T* findAs(CPaintManagerUI& manager, const char16_t* name) {
    return dynamic_cast<T*>(manager.FindControl(CDuiString(name)));
}

}  // namespace

CMainFrame::CMainFrame(avplayer::Pace pace) : m_engine(pace) {}

CMainFrame::~CMainFrame() {
    m_surface.reset();
    if (m_playlist != nullptr) m_playlist->SetTextSource(nullptr);
    m_listText.reset();
    m_isReady = false;
}

void CMainFrame::PrepareControls() {
    syncMaxRestoreButtons();
    showWindowIcon();

    m_playlist = findAs<CListUI>(m_PaintManager, u"listplay");
    m_listText = std::make_unique<CListCallbackUI>();
    if (m_playlist != nullptr) m_playlist->SetTextSource(m_listText.get());

    m_volumeSlider = findAs<CSliderUI>(m_PaintManager, u"slider_volumn");
    m_progressSlider = findAs<CSliderUI>(m_PaintManager, u"slider_play");
    m_currentTimeText = findAs<CTextUI>(m_PaintManager, u"txt_curtime");
    m_totalTimeText = findAs<CTextUI>(m_PaintManager, u"txt_totaltime");
    // The engine starts at full volume; the sound should match what the slider shows.
    if (m_volumeSlider != nullptr) applyVolumeSlider();

    CreateVideoSurface();
    if (m_surface) m_surface->ShowWindow(true, false);

    m_dropFilter = std::make_unique<mirado::FileDropFilter>([this](const QStringList& paths) { dropFiles(paths); });
    GetHWND()->setAcceptDrops(true);
    GetHWND()->installEventFilter(m_dropFilter.get());

    m_isReady = true;
    showPlayingState();
    SetTimer(TIMER_TICK, kTickMs);
}

void CMainFrame::showWindowIcon() {
    const auto store = m_PaintManager.GetSkinStore();
    const auto bytes = store ? store->read(QStringLiteral("mirado_icon.png")) : std::nullopt;
    QPixmap icon;
    if (bytes && icon.loadFromData(*bytes)) GetHWND()->setWindowIcon(QIcon(icon));
}

void CMainFrame::CreateVideoSurface() {
    auto surface = std::make_unique<CVideoRealWnd>();
    if (surface->Create(GetHWND(), u"VideoRealWnd", WS_CHILD, 0) == nullptr) return;
    surface->ShowWindow(false, true);
    m_surface = std::move(surface);
}

LRESULT CMainFrame::HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) {
    switch (uMsg) {
    case WM_SIZE:
        // A burst of size messages fits the surface once, after the last of them.
        SetTimer(TIMER_RELAYOUT, kRelayoutMs);
        syncMaxRestoreButtons();
        break;
    case WM_TIMER:
        if (wParam == TIMER_RELAYOUT) {
            KillTimer(TIMER_RELAYOUT);
            RelayoutVideoSurface();
        } else if (wParam == TIMER_TICK) {
            UpdatePlaybackView();
            MirrorToPlayBar();
            showPlayingState();
        }
        break;
    case WM_LBUTTONUP:
        // Before the slider sees the release: a seek made by this very release keeps the flag.
        m_isSeeking = false;
        break;
    case WM_KEYDOWN: {
        // A held key repeats: only seeking and the volume go on while it is held.
        const bool repeated = HIWORD(lParam) & KF_REPEAT;
        if (runPlayerKey(wParam, repeated, m_playlist != nullptr && m_PaintManager.GetFocus() == m_playlist)) return 0;
        break;
    }
    default:
        break;
    }
    return WindowImplBase::HandleMessage(uMsg, wParam, lParam);
}

void CMainFrame::Notify(TNotifyUI& msg) {
    qCDebug(lcPlayerNotify, "msg  %s ", qPrintable(msg.sType.toQString()));
    if (msg.sType == u"click") {
        OnClick(msg);
    } else if (msg.sType == u"itemdbclick") {
        PlaySelected();
    } else if (msg.sType == u"valuechanged" && msg.pSender != nullptr) {
        if (msg.pSender == m_volumeSlider) {
            applyVolumeSlider();
        } else if (msg.pSender == m_progressSlider) {
            m_isSeeking = true;
            seekToProgressSlider();
        }
    }
}

void CMainFrame::OnClick(TNotifyUI& msg) {
    if (msg.pSender == nullptr) return;
    const CDuiString name = msg.pSender->GetName();
    if (name == u"btn_close") {
        SendMessage(WM_SYSCOMMAND, SC_CLOSE, 0);
    } else if (name == u"btn_min") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == u"btn_max") {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == u"btn_restore") {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    } else if (name == u"btn_setting") {
        OpenSettingsWindow();
    } else if (name == u"btnadd") {
        AddFiles();
    } else if (name == u"btndelete") {
        RemoveSelected();
    } else if (name == u"btnclear") {
        ClearList();
    } else if (name == u"btn_map_shrink") {
        ToggleListRegion();
    } else if (name == u"btn_stop") {
        Stop();
    } else if (name == u"btn_play") {
        OnPlayButton();
    } else if (name == u"btn_prev") {
        PlayPrevious();
    } else if (name == u"btn_next") {
        PlayNext();
    } else if (name == u"btn_mute") {
        MuteOn();
    } else if (name == u"btn_muteoff") {
        MuteOff();
    } else if (name == u"btn_fullscreen") {
        toggleFullScreen();
    }
}

LRESULT CMainFrame::OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) {
    bHandled = true;
    if ((wParam & 0xFFF0) == SC_CLOSE) {
        // Closing hides the window and ends the message loop; the window itself stays.
        WINDOWPLACEMENT placement;
        placement.flags = 2;
        placement.showCmd = SW_HIDE;
        SetWindowPlacement(GetHWND(), &placement);
        PostQuitMessage(0);
        return 0;
    }
    const LRESULT result = CWindowWnd::HandleMessage(uMsg, wParam, lParam);
    syncMaxRestoreButtons();
    return result;
}

void CMainFrame::syncMaxRestoreButtons() {
    const bool zoomed = GetHWND() != nullptr && IsZoomed(GetHWND());
    if (CControlUI* max = m_PaintManager.FindControl(CDuiString(u"btn_max"))) max->SetVisible(!zoomed);
    if (CControlUI* restore = m_PaintManager.FindControl(CDuiString(u"btn_restore"))) restore->SetVisible(zoomed);
}

void CMainFrame::RelayoutVideoSurface() {
    if (!m_isReady) return;
    CControlUI* region = m_PaintManager.FindControl(CDuiString(u"playregion"));
    if (region == nullptr) return;
    m_PaintManager.UpdateLayout();
    const RECT& rc = region->GetPos();
    if (m_surface && !m_surface->isFullScreen())
        SetWindowPos(m_surface->GetHWND(), nullptr, rc.left, rc.top, rc.width(), rc.height(), SWP_NOZORDER);
}

void CMainFrame::ToggleListRegion() {
    CControlUI* region = m_PaintManager.FindControl(CDuiString(u"listregion"));
    if (region == nullptr) return;
    auto* button = findAs<CButtonUI>(m_PaintManager, u"btn_map_shrink");
    m_isListShown = !m_isListShown;
    region->SetVisible(m_isListShown);
    if (button != nullptr)
        button->SetNormalImage(m_isListShown ? QStringLiteral("split_screen_right.png")
                                             : QStringLiteral("split_screen_left.png"));
    SetTimer(TIMER_RELAYOUT, kRelayoutMs);
    if (m_surface) {
        m_surface->requestRedraw();
        InvalidateRect(m_surface->GetHWND(), nullptr, false);
    }
}

void CMainFrame::OpenSettingsWindow() {
    CSystemInfoFrame settings;
    if (settings.Create(dialogOwner(), u"SystemConfigFrame", kModalStyle, 0, 0) == nullptr) return;
    // The window manager shows the window's caption, not its window name.
    settings.GetHWND()->setWindowTitle(QStringLiteral("设置"));
    settings.CenterWindow();
    settings.ShowModal();
}

UINT CMainFrame::AskPassword() {
    enteredKey.fill(0);
    CPasswordFrame prompt;
    if (prompt.Create(dialogOwner(), u"PasswordFrame", kModalStyle, 0, 0) == nullptr) return CPasswordFrame::kCancelled;
    prompt.CenterWindow();
    return prompt.ShowModal();
}

HWND CMainFrame::dialogOwner() const {
    return m_surface && m_surface->isFullScreen() ? m_surface->GetHWND() : GetHWND();
}

void CMainFrame::comeForward() {
    if (GetHWND() == nullptr) return;
    // Restored to the size it had, maximised or not.
    if (IsIconic(GetHWND())) GetHWND()->setWindowState(GetHWND()->windowState() & ~Qt::WindowMinimized);
    if (!GetHWND()->isVisible()) ::ShowWindow(GetHWND(), SW_SHOW);
    SetForegroundWindow(GetHWND());
}

void CMainFrame::setControlText(const char16_t* name, const QString& text) {
    CControlUI* control = m_PaintManager.FindControl(CDuiString(name));
    if (control == nullptr) return;
    // The window writes its status texts in Chinese; they are shown in the window language (a file
    // path matches no translation and stays as it is).
    control->SetText(CDuiString(mirado::uiText(text)));
    control->Invalidate();
}
