#include "CTabLayoutUI.h"

#include "SkinValue.h"

bool CTabLayoutUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CTabLayoutUI::AddAt(CControlUI* control, int index)
{
    // While a skin is read, "selectedid" may name a page that is still to come; once
    // the shown page exists, a page put before it (or in its place) leaves it shown.
    const bool shownExists = m_iCurSel < GetCount();
    if (!CContainerUI::AddAt(control, index))
        return false;
    if (shownExists && index <= m_iCurSel)
        ++m_iCurSel;
    ShowOnly(m_iCurSel);
    return true;
}

bool CTabLayoutUI::Remove(CControlUI* control)
{
    const int index = GetItemIndex(control);
    if (!CContainerUI::Remove(control))
        return false;
    if (index < m_iCurSel || m_iCurSel >= GetCount())
        m_iCurSel = std::max(m_iCurSel - 1, 0);
    ShowOnly(m_iCurSel);
    return true;
}

bool CTabLayoutUI::SelectItem(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    if (index == m_iCurSel)
        return true;
    const int old = m_iCurSel;
    m_iCurSel = index;
    ShowOnly(index);
    NeedUpdate();
    Notify(u"tabselect", static_cast<WPARAM>(index), old);
    return true;
}

void CTabLayoutUI::ShowOnly(int index)
{
    for (int i = 0; i < GetCount(); ++i)
        GetItemAt(i)->SetVisible(i == index);
}

void CTabLayoutUI::SetAttribute(const QString& name, const QString& value)
{
    if (name.compare(u"selectedid", Qt::CaseInsensitive) == 0) {
        m_iCurSel = std::max(mirado::parseInt(value), 0);
        ShowOnly(m_iCurSel);
    } else {
        CContainerUI::SetAttribute(name, value);
    }
}
