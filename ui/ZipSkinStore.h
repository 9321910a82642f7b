#pragma once
// A skin archive in a zip, read with libzip from bytes kept in memory.
#include "SkinStore.h"

#include <memory>

struct zip;

namespace mirado {

class ZipSkinStore final : public SkinStore {
public:
    // Null when the bytes are not a readable zip.
    static std::shared_ptr<ZipSkinStore> fromBytes(QByteArray bytes);
    static std::shared_ptr<ZipSkinStore> fromFile(const QString& path);
    ~ZipSkinStore() override;
    ZipSkinStore(const ZipSkinStore&) = delete;
    ZipSkinStore& operator=(const ZipSkinStore&) = delete;

    // Names are matched without regard to letter case, as skins written for
    // case-blind file systems expect.
    std::optional<QByteArray> read(const QString& path) const override;

private:
    ZipSkinStore(QByteArray bytes, zip* archive);
    QByteArray m_bytes;
    zip* m_archive;
};

} // namespace mirado
