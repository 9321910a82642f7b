#include "ZipSkinStore.h"

#include <QFile>
#include <zip.h>

namespace mirado {

std::shared_ptr<ZipSkinStore> ZipSkinStore::fromBytes(QByteArray bytes)
{
    if (bytes.isEmpty())
        return nullptr;
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &error);
    if (!source) {
        zip_error_fini(&error);
        return nullptr;
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    zip_error_fini(&error);
    if (!archive) {
        zip_source_free(source);
        return nullptr;
    }
    return std::shared_ptr<ZipSkinStore>(new ZipSkinStore(std::move(bytes), archive));
}

std::shared_ptr<ZipSkinStore> ZipSkinStore::fromFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return nullptr;
    return fromBytes(file.readAll());
}

ZipSkinStore::ZipSkinStore(QByteArray bytes, zip* archive) : m_bytes(std::move(bytes)), m_archive(archive) {}

ZipSkinStore::~ZipSkinStore()
{
    zip_discard(m_archive);
}

std::optional<QByteArray> ZipSkinStore::read(const QString& path) const
{
    const QByteArray name = normalisePath(path).toUtf8();
    if (name.isEmpty())
        return std::nullopt;
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(m_archive, name.constData(), ZIP_FL_NOCASE, &stat) != 0 || !(stat.valid & ZIP_STAT_SIZE))
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(m_archive, stat.index, 0);
    if (!file)
        return std::nullopt;
    QByteArray data(static_cast<qsizetype>(stat.size), Qt::Uninitialized);
    const zip_int64_t got = zip_fread(file, data.data(), stat.size);
    zip_fclose(file);
    if (got < 0 || static_cast<zip_uint64_t>(got) != stat.size)
        return std::nullopt;
    return data;
}

} // namespace mirado
