#pragma once
// Modal message boxes (owner, text, caption, one OK button, or Yes and No for a question).
// A QMessageBox by default; tests install their own to read what would be shown.
#include "WinTypes.h"

#include <QString>
#include <memory>

namespace mirado {

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // Shows the message and returns the button pressed: IDOK, or for MB_YESNO IDYES or IDNO
    // (IDNO also when the box is closed without an answer).
    virtual UINT show(HWND owner, const QString& text, const QString& caption, UINT type) = 0;

    static MessageBoxService& current();
    // Installs a service (null restores the default); returns the one it replaces.
    static std::shared_ptr<MessageBoxService> install(std::shared_ptr<MessageBoxService> service);
};

// The message box as the windows call it: text and caption as written, shown (and handed to the
// service) in the window language.
UINT messageBox(HWND owner, const QString& text, const QString& caption, UINT type = MB_OK);

} // namespace mirado
