#pragma once
// What a modal window does to the windows behind it, for ShowModal and the message boxes alike: its
// owner's window takes no mouse or key input while it is open, and neither do the windows that own
// that one in turn (a child window that left its parent for the full screen still belongs to it).
// Timers and painting go on. A blocked window that is activated all the same (on an X server
// without a window manager Qt activates a window that is clicked) hands the keyboard to the modal
// window and brings it to the front.
#include "WinTypes.h"

#include <QObject>
#include <QPointer>
#include <vector>

class QWidget;

namespace mirado {

class ModalBlock final : public QObject {
public:
    ModalBlock(HWND owner, QWidget* modal);
    ~ModalBlock() override { release(); }
    ModalBlock(const ModalBlock&) = delete;
    ModalBlock& operator=(const ModalBlock&) = delete;

    // The blocked windows take input again and the owner's window gets the keyboard (unless a modal
    // window further out still blocks it). Call it before
    // the modal window goes: on an X server without a window manager the focus of a window that
    // disappears falls to the root window, and a later request to focus the owner is older than that
    // change and ignored. Once only; later calls do nothing.
    void release();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<QPointer<QWidget>> m_disabled;
    QPointer<QWidget> m_modal;
    QPointer<QWidget> m_owner;
};

} // namespace mirado
