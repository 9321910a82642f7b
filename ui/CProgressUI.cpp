#include "CProgressUI.h"

#include "SkinPainter.h"
#include "SkinValue.h"

#include <QPainter>

using namespace mirado;

void CProgressUI::SetMinValue(int value)
{
    m_nMin = value;
    if (m_nMax < m_nMin)
        m_nMax = m_nMin;
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetMaxValue(int value)
{
    m_nMax = std::max(value, m_nMin);
    SetValue(m_nValue);
    Invalidate();
}

void CProgressUI::SetValue(int value)
{
    value = std::clamp(value, m_nMin, m_nMax);
    if (value == m_nValue)
        return;
    m_nValue = value;
    Invalidate();
}

void CProgressUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"min")
        SetMinValue(parseInt(value));
    else if (n == u"max")
        SetMaxValue(parseInt(value));
    else if (n == u"value")
        SetValue(parseInt(value));
    else if (n == u"hor")
        m_bHorizontal = parseBool(value);
    else if (n == u"foreimage")
        m_sForeImage = value;
    else if (n == u"forecolor") {
        if (auto c = parseColor(value))
            m_dwForeColor = *c;
    } else
        CLabelUI::SetAttribute(name, value);
}

double CProgressUI::Fraction() const
{
    return m_nMax > m_nMin ? double(m_nValue - m_nMin) / double(m_nMax - m_nMin) : 0.0;
}

RECT CProgressUI::FilledRect() const
{
    RECT rc = m_rcItem;
    if (m_bHorizontal)
        rc.right = rc.left + int(rc.width() * Fraction() + 0.5);
    else
        rc.top = rc.bottom - int(rc.height() * Fraction() + 0.5);
    return rc;
}

void CProgressUI::PaintStatusImage(QPainter& p)
{
    const RECT filled = FilledRect();
    if (filled.isEmpty())
        return;
    SkinPainter::fill(p, filled, m_dwForeColor);
    if (m_sForeImage.isEmpty())
        return;
    // The image is laid over the whole control and cut at the value, so its corners
    // stay where the skin put them.
    p.save();
    p.setClipRect(QRect(filled.left, filled.top, filled.width(), filled.height()), Qt::IntersectClip);
    DrawImage(p, m_sForeImage);
    p.restore();
}
