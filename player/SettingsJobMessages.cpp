#include "SettingsJobMessages.h"

#include "ui/Translation.h"

namespace mirado {

std::optional<QString> finalMessageFor(const EncryptOutcome& outcome) {
    if (outcome.source == SourceKind::Missing || outcome.searchFailed) return std::nullopt;
    if (outcome.source == SourceKind::File && !outcome.cancelled) {
        return QString::fromUtf16(outcome.containersWritten == 1 ? kFileEncryptedMessage : kFileFailedMessage);
    }
    // Translated before the count goes in: the translation holds "%d" as the text does.
    return uiText(QString::fromUtf16(kFolderEncryptedMessage)).replace(QStringLiteral("%d"), QString::number(outcome.containersWritten));
}

}  // namespace mirado
