#pragma once
// A skin held in memory, file by file (tests build windows from inline XML this way).
#include "SkinStore.h"

#include <QHash>

namespace mirado {

class MemorySkinStore final : public SkinStore {
public:
    void add(const QString& path, QByteArray bytes);
    std::optional<QByteArray> read(const QString& path) const override;

private:
    QHash<QString, QByteArray> m_files; // keyed by the lower-case normalised path
};

} // namespace mirado
