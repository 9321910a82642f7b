#pragma once
// The images of a control's looks: normal, hot (under the pointer), pushed, focused and
// disabled, as a skin gives them in "<prefix>normalimage", "<prefix>hotimage", ...
#include "WinTypes.h"

#include <QString>
#include <QStringView>

namespace mirado {

struct StateImages {
    QString normal;
    QString hot;
    QString pushed;
    QString focused;
    QString disabled;

    // Takes the attribute when name (lower case) is one of the five for prefix.
    bool apply(QStringView name, const QString& value, QStringView prefix = {});
    // The image for a mix of UISTATE_* flags: the most specific look the skin gives
    // wins (disabled, then pushed, hot, focused); normal is the fallback. Pushed
    // without a pushed image looks hot.
    const QString& choose(UINT state) const;
};

} // namespace mirado
