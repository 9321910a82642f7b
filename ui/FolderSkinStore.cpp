#include "FolderSkinStore.h"

#include <QDir>
#include <QFile>

namespace mirado {

std::optional<QByteArray> FolderSkinStore::read(const QString& path) const
{
    const QString relative = normalisePath(path);
    // Names that climb out of the root are not skin files.
    if (relative.isEmpty() || relative.split(u'/').contains(u".."))
        return std::nullopt;
    QFile file(QDir(m_root).filePath(relative));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

} // namespace mirado
