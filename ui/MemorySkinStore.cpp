#include "MemorySkinStore.h"

namespace mirado {

void MemorySkinStore::add(const QString& path, QByteArray bytes)
{
    m_files.insert(normalisePath(path).toLower(), std::move(bytes));
}

std::optional<QByteArray> MemorySkinStore::read(const QString& path) const
{
    const auto it = m_files.constFind(normalisePath(path).toLower());
    if (it == m_files.cend())
        return std::nullopt;
    return *it;
}

} // namespace mirado
