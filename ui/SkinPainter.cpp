#include "SkinPainter.h"

#include "ImageCache.h"
#include "ImageAttribute.h"

#include <QFontMetrics>
#include <QPainter>

namespace mirado {
namespace {

QRectF toRectF(const RECT& rc)
{
    return QRectF(rc.left, rc.top, rc.width(), rc.height());
}

void piece(QPainter& p, const QImage& img, qreal ratio, const QRectF& dst, const QRectF& src)
{
    if (dst.width() <= 0 || dst.height() <= 0 || src.width() <= 0 || src.height() <= 0)
        return;
    const QRectF scaled(src.x() * ratio, src.y() * ratio, src.width() * ratio, src.height() * ratio);
    p.drawImage(dst, img, scaled);
}

} // namespace

void SkinPainter::fill(QPainter& p, const RECT& rc, DWORD argb)
{
    if (rc.isEmpty() || (argb >> 24) == 0)
        return;
    p.fillRect(toRectF(rc), QColor::fromRgba(argb));
}

void SkinPainter::border(QPainter& p, const RECT& rc, int width, DWORD argb, SIZE round)
{
    if (width <= 0 || rc.isEmpty() || (argb >> 24) == 0)
        return;
    p.save();
    QPen pen(QColor::fromRgba(argb));
    pen.setWidth(width);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const qreal half = width / 2.0;
    const QRectF r = toRectF(rc).adjusted(half, half, -half, -half);
    if (round.cx > 0 || round.cy > 0) {
        p.setRenderHint(QPainter::Antialiasing);
        p.drawRoundedRect(r, round.cx / 2.0, round.cy / 2.0);
    } else {
        p.drawRect(r);
    }
    p.restore();
}

bool SkinPainter::image(QPainter& p, ImageCache& images, const RECT& rc, const QString& attribute)
{
    const ImageAttribute parsed = ImageAttribute::parse(attribute);
    if (parsed.file.isEmpty())
        return true;
    const QImage* img = images.image(parsed.file);
    if (!img)
        return false;
    const qreal ratio = img->devicePixelRatio();
    const int imgW = qRound(img->width() / ratio);
    const int imgH = qRound(img->height() / ratio);
    RECT src = parsed.source.value_or(RECT{0, 0, imgW, imgH});
    src.right = std::min(src.right, imgW);
    src.bottom = std::min(src.bottom, imgH);
    RECT dst = rc;
    if (parsed.dest) {
        dst = RECT{rc.left + parsed.dest->left, rc.top + parsed.dest->top, rc.left + parsed.dest->right, rc.top + parsed.dest->bottom};
        dst.right = std::min(dst.right, rc.right);
        dst.bottom = std::min(dst.bottom, rc.bottom);
    }
    if (dst.isEmpty() || src.isEmpty())
        return true;

    p.save();
    p.setOpacity(p.opacity() * parsed.fade / 255.0);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const RECT& c = parsed.corner;
    if (c.left == 0 && c.top == 0 && c.right == 0 && c.bottom == 0) {
        piece(p, *img, ratio, toRectF(dst), toRectF(src));
    } else {
        // Nine slices: corners keep their size, edges stretch one way, the middle both.
        const qreal dx[4] = {qreal(dst.left), qreal(dst.left + c.left), qreal(dst.right - c.right), qreal(dst.right)};
        const qreal dy[4] = {qreal(dst.top), qreal(dst.top + c.top), qreal(dst.bottom - c.bottom), qreal(dst.bottom)};
        const qreal sx[4] = {qreal(src.left), qreal(src.left + c.left), qreal(src.right - c.right), qreal(src.right)};
        const qreal sy[4] = {qreal(src.top), qreal(src.top + c.top), qreal(src.bottom - c.bottom), qreal(src.bottom)};
        for (int row = 0; row < 3; ++row) {
            for (int col = 0; col < 3; ++col) {
                if (row == 1 && col == 1 && parsed.hole)
                    continue;
                piece(p, *img, ratio, QRectF(QPointF(dx[col], dy[row]), QPointF(dx[col + 1], dy[row + 1])),
                      QRectF(QPointF(sx[col], sy[row]), QPointF(sx[col + 1], sy[row + 1])));
            }
        }
    }
    p.restore();
    return true;
}

void SkinPainter::text(QPainter& p, const RECT& rc, const QString& text, DWORD argb, const QFont& font, UINT style)
{
    if (text.isEmpty() || rc.isEmpty())
        return;
    int flags = 0;
    flags |= (style & DT_CENTER) ? Qt::AlignHCenter : (style & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (style & DT_VCENTER) ? Qt::AlignVCenter : (style & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    QString shown = text;
    if (style & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
    } else {
        flags |= Qt::TextSingleLine;
        if (style & DT_END_ELLIPSIS)
            shown = QFontMetrics(font).elidedText(text, Qt::ElideRight, rc.width());
    }
    p.save();
    p.setFont(font);
    p.setPen(QColor::fromRgba(argb));
    p.drawText(toRectF(rc), flags, shown);
    p.restore();
}

} // namespace mirado
