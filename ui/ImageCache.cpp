#include "ImageCache.h"

namespace mirado {

void ImageCache::setStore(std::shared_ptr<SkinStore> store)
{
    m_store = std::move(store);
    m_images.clear();
}

void ImageCache::setDevicePixelRatio(qreal ratio)
{
    if ((ratio >= 1.5) != (m_ratio >= 1.5))
        m_images.clear();
    m_ratio = ratio;
}

void ImageCache::clear()
{
    m_images.clear();
}

const QImage* ImageCache::image(const QString& file)
{
    const QString key = SkinStore::normalisePath(file).toLower();
    auto it = m_images.find(key);
    if (it == m_images.end())
        it = m_images.insert(key, load(file));
    return it->has_value() ? &**it : nullptr;
}

std::optional<QImage> ImageCache::load(const QString& file) const
{
    if (!m_store || file.isEmpty())
        return std::nullopt;
    if (m_ratio >= 1.5) {
        const qsizetype dot = file.lastIndexOf(u'.');
        const QString hiRes = dot < 0 ? file + QStringLiteral("@2x") : file.left(dot) + QStringLiteral("@2x") + file.mid(dot);
        if (auto bytes = m_store->read(hiRes)) {
            QImage image = QImage::fromData(*bytes);
            if (!image.isNull()) {
                image.setDevicePixelRatio(2.0);
                return image;
            }
        }
    }
    const auto bytes = m_store->read(file);
    if (!bytes)
        return std::nullopt;
    QImage image = QImage::fromData(*bytes);
    if (image.isNull())
        return std::nullopt;
    return image;
}

} // namespace mirado
