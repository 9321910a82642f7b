#include "PictureCanvas.h"

#include <QPainter>
#include <algorithm>

#include "PictureFit.h"
#include "imaging/DecodeToRgb24.h"

namespace mirado {

namespace {
// What a container's record holds of a watermark text.
constexpr std::size_t kMaxWatermarkUnits = 63;
} // namespace

bool PictureCanvas::loadFile(const std::filesystem::path& path)
{
    if (!decodeToRgb24(path, m_picture))
        return false;
    takeWatermark(Watermark{});
    return true;
}

bool PictureCanvas::loadBuffer(const std::uint8_t* data, std::size_t size, std::u16string_view sourceName,
                               const Watermark& mark)
{
    if (!decodeToRgb24(data, size, sourceName, m_picture))
        return false;
    takeWatermark(mark);
    return true;
}

void PictureCanvas::takeWatermark(const Watermark& mark)
{
    const std::size_t end = std::min({mark.text.size(), mark.text.find(u'\0'), kMaxWatermarkUnits});
    const std::u16string text(mark.text.substr(0, end));
    // Prepared for every picture, so the strip always matches the picture on show.
    m_renderer.prepare(m_picture.width, m_picture.height, mark.fontSize);
    // The mark never changes while the picture is on show: blended once, it looks the same at every
    // drawing, and no second picture-sized buffer is needed.
    if (!text.empty())
        m_renderer.blendInto(text, mark.position, mark.colour, m_picture.pixels.data(), m_picture.width,
                             m_picture.height);
}

bool PictureCanvas::compose(QSize client, QImage& frame)
{
    if (m_picture.pixels.empty())
        return false;
    const std::optional<PictureFitRect> fit = fitPicture(m_picture.width, m_picture.height, client.width(), client.height());
    if (!fit)
        return false;
    QImage out(client, QImage::Format_RGB32);
    out.fill(Qt::black);
    if (fit->width > 0 && fit->height > 0) {
        // The rows are bottom-up: scaled first and turned upright after, so only the drawn size is copied.
        const QImage bottomUp(m_picture.pixels.data(), m_picture.width, m_picture.height, m_picture.stride,
                              QImage::Format_BGR888);
        const QImage drawn = bottomUp.size() == QSize(fit->width, fit->height)
                                 ? bottomUp.mirrored(false, true)
                                 : bottomUp.scaled(fit->width, fit->height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                       .mirrored(false, true);
        QPainter painter(&out);
        painter.drawImage(fit->x, fit->y, drawn);
    }
    frame = std::move(out);
    return true;
}

} // namespace mirado
