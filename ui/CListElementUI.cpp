#include "CListElementUI.h"

#include "IListOwnerUI.h"
#include "SkinPainter.h"
#include "SkinValue.h"

#include <QPainter>

using mirado::SkinPainter;

bool CListElementUI::IsSelected() const
{
    return m_pOwner && m_iIndex >= 0 && m_pOwner->SelectedIndex() == m_iIndex;
}

void CListElementUI::SetText(const CDuiString& text)
{
    CControlUI::SetText(text);
    // A longer text may widen the list's rows.
    m_measuredWidth = -1;
    NeedUpdate();
}

CDuiString CListElementUI::GetCellText(int col)
{
    return col == 0 ? GetText() : CDuiString();
}

void CListElementUI::SetAttribute(const QString& name, const QString& value)
{
    if (name.compare(u"selected", Qt::CaseInsensitive) == 0)
        m_bInitiallySelected = mirado::parseBool(value);
    else
        CControlUI::SetAttribute(name, value);
}

void CListElementUI::DoEvent(TEventUI& event)
{
    if (m_pOwner)
        m_pOwner->RowEvent(this, event);
    else
        CControlUI::DoEvent(event);
}

void CListElementUI::DoPaint(QPainter& p, const RECT&)
{
    if (!m_pOwner)
        return;
    const TListInfoUI& info = m_pOwner->GetListInfo();
    const bool selected = IsSelected();
    const bool hot = m_pOwner->GetHotIndex() == m_iIndex;

    DWORD bk = m_dwBackColor ? m_dwBackColor : info.dwBkColor;
    if (info.bAlternateBk && (m_iIndex % 2) == 1)
        bk = info.dwAltBkColor ? info.dwAltBkColor : QColor::fromRgba(bk ? bk : 0xFFFFFFFF).darker(108).rgba();
    DWORD text = info.dwTextColor;
    const QString* image = &info.sBkImage;
    if (!IsEnabled()) {
        text = info.dwDisabledTextColor;
    } else if (selected) {
        bk = info.dwSelectedBkColor;
        text = info.dwSelectedTextColor;
        if (!info.sSelectedImage.isEmpty())
            image = &info.sSelectedImage;
    } else if (hot) {
        bk = info.dwHotBkColor;
        text = info.dwHotTextColor;
        if (!info.sHotImage.isEmpty())
            image = &info.sHotImage;
    }
    SkinPainter::fill(p, m_rcItem, bk);
    DrawImage(p, *image);
    DrawImage(p, m_sBkImage);

    const QFont font = FontFor(info.nFont);
    for (int col = 0; col < m_pOwner->GetColumnCount(); ++col) {
        RECT rc = m_pOwner->GetColumnRect(col, m_rcItem);
        rc.left += info.rcTextPadding.left;
        rc.top += info.rcTextPadding.top;
        rc.right -= info.rcTextPadding.right;
        rc.bottom -= info.rcTextPadding.bottom;
        SkinPainter::text(p, rc, GetCellText(col).toQString(), text, font, info.uTextStyle);
    }
    if (info.dwLineColor)
        SkinPainter::fill(p, RECT{m_rcItem.left, m_rcItem.bottom - 1, m_rcItem.right, m_rcItem.bottom}, info.dwLineColor);
    PaintBorder(p);
}

void CListTextElementUI::SetText(int col, const CDuiString& text)
{
    if (col < 0)
        return;
    if (static_cast<size_t>(col) >= m_texts.size())
        m_texts.resize(static_cast<size_t>(col) + 1);
    m_texts[static_cast<size_t>(col)] = text;
    Invalidate();
    if (col == 0)
        m_measuredWidth = -1;
    NeedUpdate();
}

CDuiString CListTextElementUI::GetCellText(int col)
{
    if (m_pOwner) {
        if (IListCallbackUI* source = m_pOwner->GetTextSource())
            return CDuiString(source->ItemTextFor(this, m_iIndex, col));
    }
    if (col >= 0 && static_cast<size_t>(col) < m_texts.size())
        return m_texts[static_cast<size_t>(col)];
    return CListLabelElementUI::GetCellText(col);
}
