#pragma once
// Decoded skin images of one window, loaded once from its skin store. On screens with
// a device pixel ratio of 1.5 or more an "x@2x.png" beside "x.png" is preferred.
#include "SkinStore.h"

#include <QHash>
#include <QImage>
#include <memory>

namespace mirado {

class ImageCache {
public:
    void setStore(std::shared_ptr<SkinStore> store);
    void setDevicePixelRatio(qreal ratio);
    // Null when the file is missing or not a picture. The image's devicePixelRatio
    // says how many of its pixels make one skin pixel.
    const QImage* image(const QString& file);
    void clear();

private:
    std::optional<QImage> load(const QString& file) const;
    std::shared_ptr<SkinStore> m_store;
    qreal m_ratio = 1.0;
    QHash<QString, std::optional<QImage>> m_images;
};

} // namespace mirado
