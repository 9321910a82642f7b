#include "CLabelUI.h"

#include "CPaintManagerUI.h"
#include "SkinPainter.h"
#include "SkinValue.h"

using namespace mirado;

CLabelUI::CLabelUI() : m_uTextStyle(DT_VCENTER | DT_SINGLELINE) {}

CTextUI::CTextUI()
{
    m_uTextStyle = DT_WORDBREAK;
}

void CLabelUI::SetTextColor(DWORD argb)
{
    m_dwTextColor = argb;
    Invalidate();
}

DWORD CLabelUI::GetTextColor() const
{
    if (m_dwTextColor)
        return m_dwTextColor;
    return m_pManager ? m_pManager->GetDefaultFontColor() : 0xFF000000;
}

void CLabelUI::SetFont(int index)
{
    m_iFont = index;
    Invalidate();
}

void CLabelUI::SetTextPadding(RECT rc)
{
    m_rcTextPadding = rc;
    Invalidate();
}

void CLabelUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    const QString v = value.toLower();
    if (n == u"textcolor") {
        if (auto c = parseColor(value))
            m_dwTextColor = *c;
    } else if (n == u"disabledtextcolor") {
        if (auto c = parseColor(value))
            m_dwDisabledTextColor = *c;
    } else if (n == u"font") {
        m_iFont = parseInt(value, -1);
    } else if (n == u"textpadding") {
        m_rcTextPadding = parseRect(value);
    } else if (n == u"align") {
        m_uTextStyle &= ~(DT_CENTER | DT_RIGHT);
        if (hasWord(value, u"center"))
            m_uTextStyle |= DT_CENTER;
        else if (hasWord(value, u"right"))
            m_uTextStyle |= DT_RIGHT;
        // "top", "vcenter" and "bottom" may come in the same attribute.
        if (hasWord(value, u"top") || hasWord(value, u"vcenter") || hasWord(value, u"bottom"))
            SetAttribute(QStringLiteral("valign"), value);
    } else if (n == u"valign") {
        m_uTextStyle &= ~(DT_VCENTER | DT_BOTTOM);
        if (hasWord(value, u"vcenter") || v.trimmed() == u"center")
            m_uTextStyle |= DT_VCENTER;
        else if (hasWord(value, u"bottom"))
            m_uTextStyle |= DT_BOTTOM;
    } else if (n == u"endellipsis") {
        if (parseBool(value))
            m_uTextStyle |= DT_END_ELLIPSIS;
        else
            m_uTextStyle &= ~DT_END_ELLIPSIS;
    } else if (n == u"multiline" || n == u"wordbreak") {
        if (parseBool(value))
            m_uTextStyle = (m_uTextStyle & ~DT_SINGLELINE) | DT_WORDBREAK;
        else
            m_uTextStyle = (m_uTextStyle & ~DT_WORDBREAK) | DT_SINGLELINE;
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

DWORD CLabelUI::CurrentTextColor() const
{
    if (!IsEnabled()) {
        if (m_dwDisabledTextColor)
            return m_dwDisabledTextColor;
        return m_pManager ? m_pManager->GetDefaultDisabledColor() : 0xFFA7A6AA;
    }
    return GetTextColor();
}

RECT CLabelUI::TextRect() const
{
    RECT rc = m_rcItem;
    rc.left += m_rcTextPadding.left;
    rc.top += m_rcTextPadding.top;
    rc.right -= m_rcTextPadding.right;
    rc.bottom -= m_rcTextPadding.bottom;
    return rc;
}

void CLabelUI::PaintText(QPainter& p)
{
    SkinPainter::text(p, TextRect(), GetText().toQString(), CurrentTextColor(), FontFor(m_iFont), m_uTextStyle);
}
