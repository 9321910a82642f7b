#include "SurfaceTestHost.h"

#include "ui/CSliderUI.h"
#include "ui/WindowApi.h"

namespace mirado::testing {

namespace {
const QByteArray kHostSkin = R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="600,500">
  <VerticalLayout bkcolor="#FF404040">
    <Slider name="slider_volumn" float="true" pos="0,460,100,478" min="0" max="100" value="50" />
    <Slider name="slider_play" float="true" pos="120,460,520,478" min="0" max="1000" value="500" />
  </VerticalLayout>
</Window>)";
} // namespace

SurfaceTestHost::SurfaceTestHost(avplayer::Pace pace) : m_engine(pace) {}

SurfaceTestHost::~SurfaceTestHost()
{
    if (g_pMainFrame == this)
        g_pMainFrame = nullptr;
    m_engine.close();
}

bool SurfaceTestHost::create(QSize surfaceSize)
{
    useInlineSkin({{QStringLiteral("SurfaceHost.xml"), kHostSkin}});
    if (!createShown(m_window, QStringLiteral("host")))
        return false;
    g_pMainFrame = this;
    m_surface = std::make_unique<CVideoRealWnd>();
    if (!m_surface->Create(m_window.GetHWND(), u"VideoRealWnd", WS_CHILD, 0)) {
        m_surface.reset();
        return false;
    }
    m_surface->ShowWindow(true, false);
    SetWindowPos(m_surface->GetHWND(), nullptr, kSurfaceX, kSurfaceY, surfaceSize.width(), surfaceSize.height(),
                 SWP_NOZORDER);
    return true;
}

CSliderUI* SurfaceTestHost::volumeSlider() const
{
    return m_window.find<CSliderUI>(QStringLiteral("slider_volumn"));
}

CSliderUI* SurfaceTestHost::progressSlider() const
{
    return m_window.find<CSliderUI>(QStringLiteral("slider_play"));
}

} // namespace mirado::testing
