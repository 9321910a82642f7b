#include "COptionUI.h"

#include "CPaintManagerUI.h"
#include "SkinPainter.h"
#include "SkinValue.h"

using namespace mirado;

void COptionUI::Selected(bool selected, bool sendNotify)
{
    if (m_bSelected == selected)
        return;
    m_bSelected = selected;
    Invalidate();
    if (selected && !m_sGroupName.isEmpty() && m_pManager) {
        m_pManager->VisitControls([&](CControlUI* c) {
            auto* other = dynamic_cast<COptionUI*>(c);
            if (other && other != this && other->m_sGroupName == m_sGroupName)
                other->Selected(false, sendNotify);
            return true;
        });
    }
    if (sendNotify)
        Notify(u"selectchanged");
}

bool COptionUI::Activate()
{
    if (!CButtonUI::Activate())
        return false;
    // A grouped option stays selected when clicked again; a lone one toggles.
    Selected(m_sGroupName.isEmpty() ? !m_bSelected : true);
    return true;
}

void COptionUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"group")
        m_sGroupName = value;
    else if (n == u"selected")
        m_bSelected = parseBool(value);
    else if (n == u"selectedimage")
        m_sSelectedImage = value;
    else if (n == u"selectedhotimage")
        m_sSelectedHotImage = value;
    else if (n == u"selectedtextcolor") {
        if (auto c = parseColor(value))
            m_dwSelectedTextColor = *c;
    } else if (n == u"selectedbkcolor") {
        if (auto c = parseColor(value))
            m_dwSelectedBkColor = *c;
    } else {
        CButtonUI::SetAttribute(name, value);
    }
}

void COptionUI::PaintBkColor(QPainter& p)
{
    if (m_bSelected && m_dwSelectedBkColor)
        SkinPainter::fill(p, m_rcItem, m_dwSelectedBkColor);
    else
        CButtonUI::PaintBkColor(p);
}

void COptionUI::PaintStatusImage(QPainter& p)
{
    if (m_bSelected && IsEnabled() && !m_sSelectedImage.isEmpty()) {
        const bool hot = m_uButtonState & UISTATE_HOT;
        DrawImage(p, hot && !m_sSelectedHotImage.isEmpty() ? m_sSelectedHotImage : m_sSelectedImage);
        DrawImage(p, m_sForeImage);
        return;
    }
    if (m_bSelected && !IsEnabled() && !m_sSelectedImage.isEmpty() && m_images.disabled.isEmpty()) {
        DrawImage(p, m_sSelectedImage);
        return;
    }
    CButtonUI::PaintStatusImage(p);
}

DWORD COptionUI::CurrentTextColor() const
{
    if (IsEnabled() && m_bSelected && m_dwSelectedTextColor)
        return m_dwSelectedTextColor;
    return CButtonUI::CurrentTextColor();
}
