#include "CPlayBarFrame.h"

#include "CVideoRealWnd.h"
#include "PlayerHost.h"
#include "engine/avplayer.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/CSliderUI.h"

namespace {

template <class T>
T* findAs(CPaintManagerUI& manager, const char16_t* name)
{
    return dynamic_cast<T*>(manager.FindControl(CDuiString(name)));
}

CVideoRealWnd* surfaceOfMainWindow()
{
    return g_pMainFrame ? g_pMainFrame->videoSurface() : nullptr;
}

// Work with the bar keeps it up; while it is hidden nothing is noted.
void reportActivity()
{
    CVideoRealWnd* surface = surfaceOfMainWindow();
    if (surface && surface->isBarShown())
        surface->noteActivity();
}

} // namespace

void CPlayBarFrame::PrepareControls()
{
    m_volume = findAs<CSliderUI>(m_PaintManager, u"slider_volumn");
    m_progress = findAs<CSliderUI>(m_PaintManager, u"slider_play");
    m_currentTime = findAs<CTextUI>(m_PaintManager, u"txt_curtime");
    m_totalTime = findAs<CTextUI>(m_PaintManager, u"txt_totaltime");
    m_mute = findAs<CButtonUI>(m_PaintManager, u"btn_mute");
    m_unmute = findAs<CButtonUI>(m_PaintManager, u"btn_muteoff");
}

void CPlayBarFrame::OnClick(TNotifyUI& msg)
{
    PlayerHost* host = g_pMainFrame;
    if (!host || !msg.pSender)
        return;
    // Names compared exactly, as the main window compares its own buttons.
    const CDuiString name = msg.pSender->GetName();
    if (name == u"btn_stop")
        host->Stop();
    else if (name == u"btn_play")
        host->OnPlayButton();
    else if (name == u"btn_prev")
        host->PlayPrevious();
    else if (name == u"btn_next")
        host->PlayNext();
    else if (name == u"btn_mute")
        host->MuteOn();
    else if (name == u"btn_muteoff")
        host->MuteOff();
    else if (name == u"btn_fullscreen") {
        if (CVideoRealWnd* surface = host->videoSurface())
            surface->toggleFullScreen();
    }
}

void CPlayBarFrame::Notify(TNotifyUI& msg)
{
    PlayerHost* host = g_pMainFrame;
    if (!host)
        return;
    if (msg.sType == u"click") {
        OnClick(msg);
        return;
    }
    if (msg.sType != u"valuechanged" || !msg.pSender)
        return;
    if (msg.pSender == m_volume) {
        const int value = m_volume->GetValue();
        const int maximum = m_volume->GetMaxValue();
        if (CSliderUI* mainSlider = host->volumeSlider())
            mainSlider->SetValue(value);
        // The main window's scale (0..100 for the skin's slider): both sliders show the same
        // value, so they must mean the same loudness.
        if (maximum != 0) {
            const float level = static_cast<float>(value) * 100.0f / static_cast<float>(maximum);
            host->engine().volume(level, level);
        }
    } else if (msg.pSender == m_progress) {
        const int value = m_progress->GetValue();
        const int maximum = m_progress->GetMaxValue();
        host->setSeeking(true);
        if (CSliderUI* mainSlider = host->progressSlider())
            mainSlider->SetValue(value);
        if (maximum != 0)
            host->engine().seek_to(static_cast<float>(value) / static_cast<float>(maximum));
    }
}

LRESULT CPlayBarFrame::OnLButtonDown(UINT, WPARAM, LPARAM, bool& bHandled)
{
    reportActivity();
    bHandled = false;
    return 0;
}

LRESULT CPlayBarFrame::OnLButtonUp(UINT, WPARAM, LPARAM, bool& bHandled)
{
    reportActivity();
    bHandled = false;
    return 0;
}

LRESULT CPlayBarFrame::OnMouseMove(UINT, WPARAM, LPARAM, bool& bHandled)
{
    reportActivity();
    bHandled = false;
    return 0;
}

LRESULT CPlayBarFrame::ResponseDefaultKeyEvent(WPARAM wParam)
{
    // In full screen the bar may hold the keyboard: Escape leaves full screen as on the surface.
    if (wParam == VK_ESCAPE) {
        if (CVideoRealWnd* surface = surfaceOfMainWindow())
            surface->toggleFullScreen();
        return 1;
    }
    return 0;
}

LRESULT CPlayBarFrame::OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled)
{
    bHandled = false;
    if (CVideoRealWnd* surface = surfaceOfMainWindow()) {
        bHandled = true;
        return surface->SendMessage(uMsg, wParam, lParam);
    }
    return 0;
}
