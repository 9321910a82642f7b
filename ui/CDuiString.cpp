#include "CDuiString.h"

#include <algorithm>

CDuiString::CDuiString(const char16_t* text) : m_text(text ? text : u"") {}

CDuiString::CDuiString(const char16_t* text, int length)
{
    if (text && length > 0)
        m_text.assign(text, static_cast<size_t>(length));
}

CDuiString::CDuiString(const QString& text) : m_text(text.toStdU16String()) {}

CDuiString::CDuiString(std::u16string text) : m_text(std::move(text)) {}

CDuiString& CDuiString::operator=(const char16_t* text)
{
    m_text = text ? text : u"";
    return *this;
}

CDuiString& CDuiString::operator+=(const CDuiString& other)
{
    m_text += other.m_text;
    return *this;
}

CDuiString& CDuiString::operator+=(const char16_t* text)
{
    if (text)
        m_text += text;
    return *this;
}

CDuiString& CDuiString::operator+=(char16_t ch)
{
    m_text += ch;
    return *this;
}

bool CDuiString::operator==(const char16_t* text) const
{
    return m_text == (text ? text : u"");
}

int CDuiString::Find(const CDuiString& text, int start) const
{
    if (start < 0 || start > GetLength())
        return -1;
    const auto at = m_text.find(text.m_text, static_cast<size_t>(start));
    return at == std::u16string::npos ? -1 : static_cast<int>(at);
}

int CDuiString::Find(char16_t ch, int start) const
{
    return Find(CDuiString(std::u16string(1, ch)), start);
}

CDuiString CDuiString::Left(int count) const
{
    count = std::clamp(count, 0, GetLength());
    return CDuiString(m_text.substr(0, static_cast<size_t>(count)));
}

CDuiString CDuiString::Mid(int start, int count) const
{
    start = std::clamp(start, 0, GetLength());
    const int rest = GetLength() - start;
    if (count < 0 || count > rest)
        count = rest;
    return CDuiString(m_text.substr(static_cast<size_t>(start), static_cast<size_t>(count)));
}

int CDuiString::Replace(const CDuiString& from, const CDuiString& to)
{
    if (from.IsEmpty())
        return 0;
    int replaced = 0;
    size_t at = 0;
    while ((at = m_text.find(from.m_text, at)) != std::u16string::npos) {
        m_text.replace(at, from.m_text.size(), to.m_text);
        at += to.m_text.size();
        ++replaced;
    }
    return replaced;
}

int CDuiString::CompareNoCase(const CDuiString& other) const
{
    return toQString().compare(other.toQString(), Qt::CaseInsensitive);
}

QString CDuiString::toQString() const
{
    return QString::fromStdU16String(m_text);
}
