#include "CContainerUI.h"

#include "CPaintManagerUI.h"
#include "SkinValue.h"

#include <QPainter>
#include <algorithm>

CContainerUI::~CContainerUI()
{
    for (CControlUI* item : m_items)
        delete item;
}

const char16_t* CContainerUI::GetClass() const
{
    return u"ContainerUI";
}

bool CContainerUI::Add(CControlUI* control)
{
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index)
{
    if (!control || index < 0 || index > GetCount())
        return false;
    m_items.insert(m_items.begin() + index, control);
    control->SetManager(m_pManager, this);
    control->SetInternVisible(IsVisible());
    if (m_pManager)
        control->DoInit();
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control)
{
    const auto it = std::find(m_items.begin(), m_items.end(), control);
    if (it == m_items.end())
        return false;
    m_items.erase(it);
    delete control;
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll()
{
    std::vector<CControlUI*> items;
    items.swap(m_items);
    for (CControlUI* item : items)
        delete item;
    NeedUpdate();
}

CControlUI* CContainerUI::GetItemAt(int index) const
{
    return index >= 0 && index < GetCount() ? m_items[static_cast<size_t>(index)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const
{
    const auto it = std::find(m_items.begin(), m_items.end(), control);
    return it == m_items.end() ? -1 : static_cast<int>(it - m_items.begin());
}

void CContainerUI::SetInset(RECT rc)
{
    m_rcInset = rc;
    NeedUpdate();
}

void CContainerUI::SetChildPadding(int padding)
{
    m_iChildPadding = padding;
    NeedUpdate();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    CControlUI::SetManager(manager, parent);
    for (CControlUI* item : m_items)
        item->SetManager(manager, this);
}

void CContainerUI::SetVisible(bool visible)
{
    CControlUI::SetVisible(visible);
    for (CControlUI* item : m_items)
        item->SetInternVisible(IsVisible());
}

void CContainerUI::SetInternVisible(bool visible)
{
    CControlUI::SetInternVisible(visible);
    for (CControlUI* item : m_items)
        item->SetInternVisible(IsVisible());
}

RECT CContainerUI::InnerRect(RECT rc) const
{
    rc.left += m_rcInset.left;
    rc.top += m_rcInset.top;
    rc.right -= m_rcInset.right;
    rc.bottom -= m_rcInset.bottom;
    if (rc.right < rc.left)
        rc.right = rc.left;
    if (rc.bottom < rc.top)
        rc.bottom = rc.top;
    return rc;
}

std::vector<CControlUI*> CContainerUI::PlaceFloatChildren()
{
    std::vector<CControlUI*> flowing;
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        if (!item->IsFloat()) {
            flowing.push_back(item);
            continue;
        }
        const RECT f = item->GetFloatPos();
        item->SetPos(RECT{m_rcItem.left + f.left, m_rcItem.top + f.top, m_rcItem.left + f.right, m_rcItem.top + f.bottom});
    }
    return flowing;
}

void CContainerUI::SetPos(RECT rc)
{
    CControlUI::SetPos(rc);
    const RECT inner = InnerRect(m_rcItem);
    for (CControlUI* item : PlaceFloatChildren()) {
        const RECT pad = item->GetPadding();
        item->SetPos(RECT{inner.left + pad.left, inner.top + pad.top, inner.right - pad.right, inner.bottom - pad.bottom});
    }
}

void CContainerUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"inset")
        m_rcInset = mirado::parseRect(value);
    else if (n == u"childpadding")
        m_iChildPadding = mirado::parseInt(value);
    else
        CControlUI::SetAttribute(name, value);
}

CControlUI* CContainerUI::FindControlAt(POINT pt)
{
    if (!IsVisible() || !m_rcItem.contains(pt))
        return nullptr;
    // Later children are painted over earlier ones, so they are asked first.
    for (auto it = m_items.rbegin(); it != m_items.rend(); ++it) {
        if (CControlUI* hit = (*it)->FindControlAt(pt))
            return hit;
    }
    return m_bMouseEnabled ? this : nullptr;
}

bool CContainerUI::Visit(const std::function<bool(CControlUI*)>& f)
{
    if (!f(this))
        return false;
    for (CControlUI* item : m_items) {
        if (!item->Visit(f))
            return false;
    }
    return true;
}

void CContainerUI::DoPaint(QPainter& p, const RECT& dirty)
{
    PaintBkColor(p);
    PaintBkImage(p);
    PaintStatusImage(p);
    PaintText(p);
    p.save();
    p.setClipRect(QRect(m_rcItem.left, m_rcItem.top, m_rcItem.width(), m_rcItem.height()), Qt::IntersectClip);
    for (CControlUI* item : m_items) {
        if (!item->IsVisible())
            continue;
        const RECT& r = item->GetPos();
        if (r.right <= dirty.left || r.left >= dirty.right || r.bottom <= dirty.top || r.top >= dirty.bottom)
            continue;
        item->DoPaint(p, dirty);
    }
    p.restore();
    // The border goes over the children so that they cannot hide it.
    PaintBorder(p);
}

void CContainerUI::DoInit()
{
    for (CControlUI* item : m_items)
        item->DoInit();
}
