#pragma once
// Where skin files and images come from: an archive, a folder or memory.
#include <QByteArray>
#include <QString>
#include <optional>

namespace mirado {

class SkinStore {
public:
    virtual ~SkinStore() = default;
    // The bytes of the file at path (relative to the skin root, "/" or "\" between
    // folders), or nothing when it is not there.
    virtual std::optional<QByteArray> read(const QString& path) const = 0;

    // Folder separators as "/", no leading "./" or "/".
    static QString normalisePath(const QString& path);
};

} // namespace mirado
