#include "SkinValue.h"

#include <QRegularExpression>

#include <QStringList>

namespace mirado {

std::optional<DWORD> parseColor(const QString& text)
{
    QString t = text.trimmed();
    if (t.startsWith(u'#'))
        t.remove(0, 1);
    else if (t.startsWith(u"0x", Qt::CaseInsensitive))
        t.remove(0, 2);
    if (t.size() != 6 && t.size() != 8)
        return std::nullopt;
    bool ok = false;
    const uint value = t.toUInt(&ok, 16);
    if (!ok)
        return std::nullopt;
    return t.size() == 6 ? (0xFF000000u | value) : value;
}

static int numberAt(const QStringList& parts, int i)
{
    return i < parts.size() ? parts[i].trimmed().toInt() : 0;
}

RECT parseRect(const QString& text)
{
    const QStringList parts = text.split(u',');
    return RECT{numberAt(parts, 0), numberAt(parts, 1), numberAt(parts, 2), numberAt(parts, 3)};
}

SIZE parseSize(const QString& text)
{
    const QStringList parts = text.split(u',');
    return SIZE{numberAt(parts, 0), numberAt(parts, 1)};
}

bool parseBool(const QString& text)
{
    const QString t = text.trimmed();
    return t.compare(u"true", Qt::CaseInsensitive) == 0 || t == u"1";
}

int parseInt(const QString& text, int fallback)
{
    bool ok = false;
    const int v = text.trimmed().toInt(&ok);
    return ok ? v : fallback;
}

bool hasWord(const QString& text, QStringView word)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,|]+"));
    for (const QString& part : text.split(separators, Qt::SkipEmptyParts)) {
        if (part.compare(word, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace mirado
