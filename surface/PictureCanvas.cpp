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
    m_text.assign(mark.text.substr(0, end));
    m_position = mark.position;
    m_colour = mark.colour;
    // Prepared for every picture, so the strip always matches the picture on show.
    m_renderer.prepare(m_picture.width, m_picture.height, mark.fontSize);
}

QImage PictureCanvas::markedImage()
{
    const int w = m_picture.width;
    const int h = m_picture.height;
    const std::uint8_t* rows = m_picture.pixels.data();
    if (!m_text.empty()) {
        // Blending into the kept pixels would thicken the text's edges with every drawing.
        m_marked.assign(m_picture.pixels.begin(), m_picture.pixels.end());
        m_renderer.blendInto(m_text, m_position, m_colour, m_marked.data(), w, h);
        rows = m_marked.data();
    }
    const QImage bottomUp(rows, w, h, m_picture.stride, QImage::Format_BGR888);
    return bottomUp.mirrored(false, true);
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
        const QImage picture = markedImage();
        QPainter painter(&out);
        if (picture.size() == QSize(fit->width, fit->height))
            painter.drawImage(fit->x, fit->y, picture);
        else
            painter.drawImage(fit->x, fit->y,
                              picture.scaled(fit->width, fit->height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
    frame = std::move(out);
    return true;
}

} // namespace mirado
