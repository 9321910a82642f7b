#include "TListInfoUI.h"

#include "SkinValue.h"

using namespace mirado;

bool TListInfoUI::apply(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (!n.startsWith(u"item"))
        return false;
    auto colour = [&](DWORD& target) {
        if (auto c = parseColor(value))
            target = *c;
    };
    if (n == u"itemfont")
        nFont = parseInt(value, -1);
    else if (n == u"itemalign") {
        uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (hasWord(value, u"center"))
            uTextStyle |= DT_CENTER;
        else if (hasWord(value, u"right"))
            uTextStyle |= DT_RIGHT;
    } else if (n == u"itemendellipsis") {
        uTextStyle = parseBool(value) ? (uTextStyle | DT_END_ELLIPSIS) : (uTextStyle & ~DT_END_ELLIPSIS);
    } else if (n == u"itemtextpadding")
        rcTextPadding = parseRect(value);
    else if (n == u"itemheight")
        nItemHeight = std::max(parseInt(value), 1);
    else if (n == u"itemtextcolor")
        colour(dwTextColor);
    else if (n == u"itembkcolor")
        colour(dwBkColor);
    else if (n == u"itemaltbkcolor") {
        colour(dwAltBkColor);
        bAlternateBk = true;
    } else if (n == u"itemaltbk")
        bAlternateBk = parseBool(value);
    else if (n == u"itemselectedtextcolor")
        colour(dwSelectedTextColor);
    else if (n == u"itemselectedbkcolor")
        colour(dwSelectedBkColor);
    else if (n == u"itemhottextcolor")
        colour(dwHotTextColor);
    else if (n == u"itemhotbkcolor")
        colour(dwHotBkColor);
    else if (n == u"itemdisabledtextcolor")
        colour(dwDisabledTextColor);
    else if (n == u"itemlinecolor")
        colour(dwLineColor);
    else if (n == u"itembkimage")
        sBkImage = value;
    else if (n == u"itemselectedimage")
        sSelectedImage = value;
    else if (n == u"itemhotimage")
        sHotImage = value;
    else
        return false;
    return true;
}
