#include "InlineWindow.h"

#include <QWidget>

namespace mirado::testing {

std::unique_ptr<SkinWindow> showInline(const QString& windowXml, const std::vector<std::pair<QString, QByteArray>>& images,
                                       int x, int y)
{
    std::vector<std::pair<QString, QByteArray>> files = images;
    files.emplace_back(QStringLiteral("Inline.xml"), windowXml.toUtf8());
    useInlineSkin(files);
    auto window = std::make_unique<SkinWindow>(QStringLiteral("Inline.xml"));
    if (!createShown(*window, QStringLiteral("inline"), x, y))
        return nullptr;
    window->GetPaintManager().UpdateLayout();
    return window;
}

QRgb rgbAt(const QImage& shot, const CWindowWnd& window, int x, int y)
{
    const qreal ratio = window.GetHWND()->devicePixelRatioF();
    // The middle of the device pixels that make up the window pixel.
    return shot.pixel(int((x + 0.5) * ratio), int((y + 0.5) * ratio)) & 0xFFFFFF;
}

} // namespace mirado::testing
