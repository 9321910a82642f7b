#include "SkinStore.h"

namespace mirado {

QString SkinStore::normalisePath(const QString& path)
{
    QString p = path;
    p.replace(u'\\', u'/');
    while (p.startsWith(u"./"))
        p.remove(0, 2);
    while (p.startsWith(u'/'))
        p.remove(0, 1);
    return p;
}

} // namespace mirado
