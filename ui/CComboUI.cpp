#include "CComboUI.h"

#include "CListElementUI.h"
#include "CPaintManagerUI.h"
#include "ComboDropDown.h"
#include "PressTracking.h"
#include "SkinValue.h"

using namespace mirado;

CComboUI::CComboUI()
{
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS;
    m_info.nItemHeight = 23;
}

CComboUI::~CComboUI()
{
    delete m_dropDown.data();
    for (CListElementUI* item : m_items)
        delete item;
}

CControlUI* CComboUI::ItemAt(int index) const
{
    return index >= 0 && index < ItemCount() ? m_items[static_cast<size_t>(index)] : nullptr;
}

bool CComboUI::AppendItem(CControlUI* control)
{
    auto* item = dynamic_cast<CListElementUI*>(control);
    if (!item)
        return false;
    item->SetOwner(this);
    item->SetIndex(ItemCount());
    item->SetManager(m_pManager, this);
    m_items.push_back(item);
    // An item marked selected="true" in the skin is the starting choice.
    if (m_iCurSel < 0 && item->IsInitiallySelected())
        m_iCurSel = item->GetIndex();
    Invalidate();
    return true;
}

bool CComboUI::RemoveItemAt(int index)
{
    if (index < 0 || index >= ItemCount())
        return false;
    CloseDropDown();
    delete m_items[static_cast<size_t>(index)];
    m_items.erase(m_items.begin() + index);
    for (int i = index; i < ItemCount(); ++i)
        m_items[static_cast<size_t>(i)]->SetIndex(i);
    if (index == m_iCurSel)
        m_iCurSel = -1;
    else if (index < m_iCurSel)
        --m_iCurSel;
    Invalidate();
    return true;
}

void CComboUI::RemoveAllItems()
{
    CloseDropDown();
    for (CListElementUI* item : m_items)
        delete item;
    m_items.clear();
    m_iCurSel = -1;
    Invalidate();
}

bool CComboUI::SelectIndex(int index, bool takeFocus)
{
    if (index < -1 || index >= ItemCount())
        return false;
    if (takeFocus)
        SetFocus();
    if (index == m_iCurSel)
        return true;
    const int old = m_iCurSel;
    m_iCurSel = index;
    Invalidate();
    Notify(u"itemselect", static_cast<WPARAM>(index), old);
    return true;
}

CDuiString CComboUI::GetText() const
{
    const CControlUI* item = ItemAt(m_iCurSel);
    return item ? item->GetText() : CDuiString();
}

int CComboUI::GetDropItemHeight(int index) const
{
    const CListElementUI* item = m_items[static_cast<size_t>(index)];
    if (!item->IsVisible())
        return 0;
    return item->GetFixedHeight() > 0 ? item->GetFixedHeight() : m_info.nItemHeight;
}

RECT CComboUI::GetDropItemRect(int index) const
{
    int top = 0;
    for (int i = 0; i < index && i < ItemCount(); ++i)
        top += GetDropItemHeight(i);
    const int width = m_szDropBox.cx > 0 ? m_szDropBox.cx : GetWidth();
    const int height = index >= 0 && index < ItemCount() ? GetDropItemHeight(index) : 0;
    return RECT{0, top, width, top + height};
}

void CComboUI::SetHotIndex(int index)
{
    m_iHot = index;
}

QWidget* CComboUI::GetDropDown() const
{
    return m_dropDown.data();
}

void CComboUI::ShowDropDown()
{
    if (!m_pManager || !m_pManager->GetPaintWindow() || ItemCount() == 0 || m_dropDown)
        return;
    QWidget* host = m_pManager->GetPaintWindow();
    int content = 0;
    for (int i = 0; i < ItemCount(); ++i)
        content += GetDropItemHeight(i);
    const int height = m_szDropBox.cy > 0 ? std::min(content, m_szDropBox.cy) : content;
    const int width = m_szDropBox.cx > 0 ? m_szDropBox.cx : GetWidth();
    m_dropDown = new ComboDropDown(this, host);
    m_dropDown->setGeometry(QRect(host->mapToGlobal(QPoint(m_rcItem.left, m_rcItem.bottom)), QSize(width, std::max(height, 1))));
    m_iHot = m_iCurSel;
    if (m_iCurSel >= 0)
        m_dropDown->ScrollTo(m_iCurSel);
    m_dropDown->show();
    Invalidate();
}

void CComboUI::CloseDropDown()
{
    if (m_dropDown)
        m_dropDown->close();
    m_iHot = -1;
}

void CComboUI::RowEvent(CListElementUI*, TEventUI&) {}

void CComboUI::SetManager(CPaintManagerUI* manager, CControlUI* parent)
{
    CLabelUI::SetManager(manager, parent);
    for (CListElementUI* item : m_items)
        item->SetManager(manager, this);
}

void CComboUI::SetAttribute(const QString& name, const QString& value)
{
    if (m_info.apply(name, value))
        return;
    const QString n = name.toLower();
    if (m_images.apply(n, value))
        return;
    if (n == u"dropboxsize")
        m_szDropBox = parseSize(value);
    else if (n == u"dropbox") // a list of attributes for the pop-up's look
        ApplyAttributeList(value);
    else
        CLabelUI::SetAttribute(name, value);
}

bool CComboUI::Visit(const std::function<bool(CControlUI*)>& f)
{
    if (!f(this))
        return false;
    for (CListElementUI* item : m_items) {
        if (!f(item))
            return false;
    }
    return true;
}

void CComboUI::DoEvent(TEventUI& event)
{
    if (IsEnabled() && event.Type == UIEVENT_KEYDOWN) {
        if (event.wParam == VK_UP && m_iCurSel > 0)
            SelectIndex(m_iCurSel - 1);
        else if (event.wParam == VK_DOWN && m_iCurSel + 1 < ItemCount())
            SelectIndex(m_iCurSel + 1);
        return;
    }
    const PressTracking press = trackPress(*this, m_uButtonState, event);
    if (press.step == PressStep::NotMine)
        CLabelUI::DoEvent(event);
    else if (press.step == PressStep::Release && press.inside)
        ShowDropDown();
}

void CComboUI::PaintStatusImage(QPainter& p)
{
    DrawImage(p, m_images.choose(LookState()));
}

void CComboUI::PaintText(QPainter& p)
{
    const CListElementUI* item = m_iCurSel >= 0 ? m_items[static_cast<size_t>(m_iCurSel)] : nullptr;
    if (!item)
        return;
    SkinPainter::text(p, TextRect(), item->GetText().toQString(), CurrentTextColor(), FontFor(m_iFont), m_uTextStyle);
}
