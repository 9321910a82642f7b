#pragma once
// Paths that name files on this machine, as the command line, a drop or a second start gives them.
#include <QString>
#include <QStringList>

namespace mirado {

// The absolute, cleaned paths of those candidates that are existing regular files (relative ones are
// taken from `base`, the current folder when empty), in order.
QStringList existingFiles(const QStringList& candidates, const QString& base = {});

}  // namespace mirado
