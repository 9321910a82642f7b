#pragma once
// The 50-pixel control strip across the bottom of the screen in full screen. It has no playback
// logic: its buttons run the main window's operations, its sliders drive the engine and copy their
// value back, and the main window keeps its sliders, times and mute buttons in step.
#include "ui/WindowImplBase.h"

class CButtonUI;
class CSliderUI;
class CTextUI;

class CPlayBarFrame : public WindowImplBase {
public:
    CSliderUI* volumeSlider() const { return m_volume; }
    CSliderUI* progressSlider() const { return m_progress; }
    CTextUI* currentTimeText() const { return m_currentTime; }
    CTextUI* totalTimeText() const { return m_totalTime; }
    CButtonUI* muteButton() const { return m_mute; }
    CButtonUI* unmuteButton() const { return m_unmute; }

    const char16_t* ClassNameOfWindow() const override { return u"PlayerBarWnd"; }
    CDuiString SkinFileName() const override { return CDuiString(u"PlaybarFrame.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_FILE; }
    int SkinResourceId() const override { return 135; }
    void PrepareControls() override;
    void OnClick(TNotifyUI& msg) override;
    void Notify(TNotifyUI& msg) override;
    LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    // Escape leaves full screen (it never closes the bar).
    LRESULT ResponseDefaultKeyEvent(WPARAM wParam) override;
    // Every other key is the surface's: the bar may hold the keyboard in full screen.
    LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    CSliderUI* m_volume = nullptr;
    CSliderUI* m_progress = nullptr;
    CTextUI* m_currentTime = nullptr;
    CTextUI* m_totalTime = nullptr;
    CButtonUI* m_mute = nullptr;
    CButtonUI* m_unmute = nullptr;
};
