#include "ImageSpec.h"

#include "SkinValue.h"

#include <algorithm>

namespace mirado {

ImageSpec ImageSpec::parse(const QString& text)
{
    ImageSpec spec;
    const QString t = text.trimmed();
    if (!t.contains(u'=')) {
        spec.file = t;
        return spec;
    }
    qsizetype i = 0;
    while (i < t.size()) {
        while (i < t.size() && t[i].isSpace())
            ++i;
        const qsizetype eq = t.indexOf(u'=', i);
        if (eq < 0)
            break;
        const QString key = t.mid(i, eq - i).trimmed().toLower();
        qsizetype start = eq + 1;
        while (start < t.size() && t[start].isSpace())
            ++start;
        QString value;
        if (start < t.size() && (t[start] == u'\'' || t[start] == u'"')) {
            const QChar quote = t[start];
            qsizetype end = t.indexOf(quote, start + 1);
            if (end < 0)
                end = t.size();
            value = t.mid(start + 1, end - start - 1);
            i = end + 1;
        } else {
            qsizetype end = start;
            while (end < t.size() && !t[end].isSpace())
                ++end;
            value = t.mid(start, end - start);
            i = end;
        }
        if (key == u"file" || key == u"res")
            spec.file = value;
        else if (key == u"source")
            spec.source = parseRect(value);
        else if (key == u"corner")
            spec.corner = parseRect(value);
        else if (key == u"dest")
            spec.dest = parseRect(value);
        else if (key == u"fade")
            spec.fade = std::clamp(parseInt(value, 255), 0, 255);
        else if (key == u"hole")
            spec.hole = parseBool(value);
    }
    return spec;
}

} // namespace mirado
