#pragma once
// How the rows of a list or of a combo's drop-down look; set by the "item..."
// attributes of the list or combo.
#include "SkinPainter.h"
#include "WinTypes.h"

#include <QString>

struct TListInfoUI {
    int nFont = -1;
    UINT uTextStyle = mirado::DT_VCENTER | mirado::DT_SINGLELINE | mirado::DT_END_ELLIPSIS;
    RECT rcTextPadding{};
    int nItemHeight = 22;
    DWORD dwTextColor = 0xFF000000;
    DWORD dwBkColor = 0;
    DWORD dwAltBkColor = 0;
    bool bAlternateBk = false;
    DWORD dwSelectedTextColor = 0xFF000000;
    DWORD dwSelectedBkColor = 0xFFC1E3FF;
    DWORD dwHotTextColor = 0xFF000000;
    DWORD dwHotBkColor = 0xFFE9F5FF;
    DWORD dwDisabledTextColor = 0xFFCCCCCC;
    DWORD dwLineColor = 0;
    QString sBkImage;
    QString sSelectedImage;
    QString sHotImage;

    // Applies one "item..." attribute; false when the name is not one of them.
    bool apply(const QString& name, const QString& value);
};
