#include "ModalBlock.h"

#include "CWindowWnd.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace mirado {

ModalBlock::ModalBlock(HWND owner, QWidget* modal) : m_modal(modal ? modal->window() : nullptr)
{
    QWidget* window = owner ? owner->window() : nullptr;
    // The keyboard goes back to the owner only from the modal window that took it from there.
    if (window && window->isEnabled())
        m_owner = window;
    while (window && window != m_modal) {
        // Disabled already (by a modal window further out): that one gives it back.
        if (window->isEnabled()) {
            window->setEnabled(false);
            window->installEventFilter(this);
            m_disabled.emplace_back(window);
        }
        const CWindowWnd* framework = CWindowWnd::FromHandle(window);
        QWidget* next = framework && framework->GetOwner() ? framework->GetOwner()->window() : nullptr;
        window = next != window ? next : nullptr;
    }
    // A window made with a disabled parent starts disabled itself.
    if (modal)
        modal->setEnabled(true);
}

void ModalBlock::release()
{
    for (auto it = m_disabled.rbegin(); it != m_disabled.rend(); ++it) {
        if (QWidget* window = *it) {
            window->removeEventFilter(this);
            window->setEnabled(true);
        }
    }
    m_disabled.clear();
    if (QWidget* owner = m_owner) {
        m_owner = nullptr;
        if (owner->isVisible())
            owner->activateWindow();
    }
}

bool ModalBlock::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::WindowActivate && m_modal) {
        // After the activation has run its course.
        QTimer::singleShot(0, m_modal, [modal = m_modal] {
            if (modal && modal->isVisible()) {
                modal->raise();
                modal->activateWindow();
            }
        });
    }
    return false;
}

} // namespace mirado
