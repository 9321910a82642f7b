#include "NativeEditBridge.h"

#include "CEditUI.h"

#include <QEvent>
#include <QLineEdit>

namespace mirado {

NativeEditBridge::NativeEditBridge(CEditUI* owner, QLineEdit* edit) : QObject(edit), m_owner(owner)
{
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::returnPressed, this, [this] { m_owner->NativeReturn(); });
    connect(edit, &QLineEdit::textChanged, this, [this] { m_owner->NativeTextChanged(); });
}

bool NativeEditBridge::eventFilter(QObject*, QEvent* event)
{
    switch (event->type()) {
    case QEvent::Enter:
        m_owner->NativeHover(true);
        break;
    case QEvent::Leave:
        m_owner->NativeHover(false);
        break;
    case QEvent::FocusIn:
        m_owner->NativeFocus(true);
        break;
    case QEvent::FocusOut:
        m_owner->NativeFocus(false);
        break;
    default:
        break;
    }
    return false;
}

} // namespace mirado
