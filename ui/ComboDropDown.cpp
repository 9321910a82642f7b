#include "ComboDropDown.h"

#include "CComboUI.h"
#include "CListElementUI.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

namespace mirado {

ComboDropDown::ComboDropDown(CComboUI* combo, QWidget* parent)
    : QWidget(parent, Qt::Popup | Qt::FramelessWindowHint), m_combo(combo)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
}

int ComboDropDown::ContentHeight() const
{
    int total = 0;
    for (int i = 0; i < m_combo->ItemCount(); ++i)
        total += m_combo->GetDropItemHeight(i);
    return total;
}

int ComboDropDown::ItemAt(QPoint pos) const
{
    if (!rect().contains(pos))
        return -1;
    for (int i = 0; i < m_combo->ItemCount(); ++i) {
        const RECT rc = m_combo->GetDropItemRect(i);
        if (pos.y() + m_scroll >= rc.top && pos.y() + m_scroll < rc.bottom)
            return i;
    }
    return -1;
}

void ComboDropDown::ScrollTo(int index)
{
    const RECT rc = m_combo->GetDropItemRect(index);
    if (rc.top < m_scroll)
        m_scroll = rc.top;
    else if (rc.bottom > m_scroll + height())
        m_scroll = rc.bottom - height();
    m_scroll = std::clamp(m_scroll, 0, std::max(ContentHeight() - height(), 0));
    update();
}

void ComboDropDown::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const TListInfoUI& info = m_combo->GetListInfo();
    p.fillRect(rect(), QColor::fromRgba(info.dwBkColor ? info.dwBkColor : 0xFFFFFFFF));
    p.translate(0, -m_scroll);
    const RECT dirty{0, m_scroll, width(), m_scroll + height()};
    for (int i = 0; i < m_combo->ItemCount(); ++i) {
        auto* item = static_cast<CListElementUI*>(m_combo->ItemAt(i));
        const RECT rc = m_combo->GetDropItemRect(i);
        if (rc.bottom <= dirty.top || rc.top >= dirty.bottom || !item->IsVisible())
            continue;
        item->PlaceQuietly(rc);
        item->DoPaint(p, dirty);
    }
    p.resetTransform();
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void ComboDropDown::mouseMoveEvent(QMouseEvent* event)
{
    m_combo->SetHotIndex(ItemAt(event->position().toPoint()));
    update();
}

void ComboDropDown::leaveEvent(QEvent*)
{
    m_combo->SetHotIndex(-1);
    update();
}

void ComboDropDown::mouseReleaseEvent(QMouseEvent* event)
{
    const int index = ItemAt(event->position().toPoint());
    CComboUI* combo = m_combo;
    close();
    if (index >= 0)
        combo->SelectIndex(index);
}

void ComboDropDown::wheelEvent(QWheelEvent* event)
{
    m_scroll = std::clamp(m_scroll - event->angleDelta().y() / 4, 0, std::max(ContentHeight() - height(), 0));
    update();
}

void ComboDropDown::keyPressEvent(QKeyEvent* event)
{
    const int hot = m_combo->GetHotIndex() >= 0 ? m_combo->GetHotIndex() : m_combo->SelectedIndex();
    switch (event->key()) {
    case Qt::Key_Up:
        m_combo->SetHotIndex(std::max(hot - 1, 0));
        ScrollTo(m_combo->GetHotIndex());
        break;
    case Qt::Key_Down:
        m_combo->SetHotIndex(std::min(hot + 1, m_combo->ItemCount() - 1));
        ScrollTo(m_combo->GetHotIndex());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        CComboUI* combo = m_combo;
        close();
        if (hot >= 0)
            combo->SelectIndex(hot);
        break;
    }
    default:
        QWidget::keyPressEvent(event);
    }
}

} // namespace mirado
