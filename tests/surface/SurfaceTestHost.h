#pragma once
// Stands in for the main window: a real top-level window with the two sliders the play bar
// mirrors into, a real engine and a real video surface lying on it, and a record of which
// main-window operations were asked for.
#include <QSize>
#include <memory>
#include <string>
#include <vector>

#include "engine/avplayer.h"
#include "surface/CVideoRealWnd.h"
#include "surface/PlayerHost.h"
#include "ui/testing/UiTestHarness.h"

class CSliderUI;

namespace mirado::testing {

class SurfaceTestHost final : public PlayerHost {
public:
    static constexpr int kSurfaceX = 10;
    static constexpr int kSurfaceY = 20;

    explicit SurfaceTestHost(avplayer::Pace pace = avplayer::Pace::RealTime);
    ~SurfaceTestHost();

    // Shows the host window and lays a surface of the given size on it; installs the host as
    // the main window. False when a window could not be made.
    bool create(QSize surfaceSize = QSize(400, 400));

    HWND mainWindow() const override { return m_window.GetHWND(); }
    CVideoRealWnd* videoSurface() const override { return m_surface.get(); }
    avplayer& engine() override { return m_engine; }
    CSliderUI* volumeSlider() const override;
    CSliderUI* progressSlider() const override;
    bool isShowingImage() const override { return showingImage; }
    void setSeeking(bool on) override { seeking = on; }

    void Stop() override { calls.emplace_back("Stop"); }
    void OnPlayButton() override { calls.emplace_back("OnPlayButton"); }
    void TogglePause() override { calls.emplace_back("TogglePause"); }
    void MuteOn() override { calls.emplace_back("MuteOn"); }
    void MuteOff() override { calls.emplace_back("MuteOff"); }
    void PlayPrevious() override { calls.emplace_back("PlayPrevious"); }
    void PlayNext() override { calls.emplace_back("PlayNext"); }
    bool handlePlayerKey(WPARAM key, bool repeated) override
    {
        calls.push_back((repeated ? "held key " : "key ") + std::to_string(key));
        return true;
    }
    void turnVolumeByWheel(int delta) override { calls.push_back("wheel " + std::to_string(delta)); }

    CVideoRealWnd& surface() { return *m_surface; }
    SkinWindow& window() { return m_window; }

    std::vector<std::string> calls;
    bool showingImage = false;
    bool seeking = false;

private:
    avplayer m_engine; // first in, last out: its video widget may lie in the surface
    mutable SkinWindow m_window{QStringLiteral("SurfaceHost.xml")};
    std::unique_ptr<CVideoRealWnd> m_surface;
};

} // namespace mirado::testing
