#include "StateImages.h"

#include "TEventUI.h"

namespace mirado {

bool StateImages::apply(QStringView name, const QString& value, QStringView prefix)
{
    constexpr QStringView suffix = u"image";
    if (name.size() < prefix.size() + suffix.size() || !name.startsWith(prefix) || !name.endsWith(suffix))
        return false;
    const QStringView look = name.mid(prefix.size(), name.size() - prefix.size() - suffix.size());
    QString* image = look == u"normal"     ? &normal
                     : look == u"hot"      ? &hot
                     : look == u"pushed"   ? &pushed
                     : look == u"focused"  ? &focused
                     : look == u"disabled" ? &disabled
                                           : nullptr;
    if (!image)
        return false;
    *image = value;
    return true;
}

const QString& StateImages::choose(UINT state) const
{
    if (state & UISTATE_DISABLED)
        return disabled.isEmpty() ? normal : disabled;
    if ((state & UISTATE_PUSHED) && !pushed.isEmpty())
        return pushed;
    if ((state & (UISTATE_HOT | UISTATE_PUSHED)) && !hot.isEmpty())
        return hot;
    if ((state & UISTATE_FOCUSED) && !focused.isEmpty())
        return focused;
    return normal;
}

} // namespace mirado
