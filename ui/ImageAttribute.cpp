#include "ImageAttribute.h"

#include "SkinValue.h"

#include <algorithm>

namespace mirado {

ImageAttribute ImageAttribute::parse(const QString& text)
{
    ImageAttribute parsed;
    const QString t = text.trimmed();
    if (!t.contains(u'=')) {
        parsed.file = t;
        return parsed;
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
            parsed.file = value;
        else if (key == u"source")
            parsed.source = parseRect(value);
        else if (key == u"corner")
            parsed.corner = parseRect(value);
        else if (key == u"dest")
            parsed.dest = parseRect(value);
        else if (key == u"fade")
            parsed.fade = std::clamp(parseInt(value, 255), 0, 255);
        else if (key == u"hole")
            parsed.hole = parseBool(value);
    }
    return parsed;
}

} // namespace mirado
