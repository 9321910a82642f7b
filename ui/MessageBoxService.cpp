#include "MessageBoxService.h"

#include "ServiceSlot.h"
#include "Translation.h"

#include <QMessageBox>
#include <QWidget>

namespace mirado {
namespace {

class QtMessageBox final : public MessageBoxService {
public:
    UINT show(HWND owner, const QString& text, const QString& caption, UINT type) override
    {
        QWidget* parent = owner ? owner->window() : nullptr;
        if ((type & MB_TYPEMASK) == MB_YESNO) {
            QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
            return box.exec() == QMessageBox::Yes ? IDYES : IDNO;
        }
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, parent);
        box.exec();
        return IDOK;
    }
};

using Slot = ServiceSlot<MessageBoxService, QtMessageBox>;

} // namespace

MessageBoxService& MessageBoxService::current()
{
    return Slot::current();
}

std::shared_ptr<MessageBoxService> MessageBoxService::install(std::shared_ptr<MessageBoxService> service)
{
    return Slot::install(std::move(service));
}

UINT messageBox(HWND owner, const QString& text, const QString& caption, UINT type)
{
    // The windows pass their texts as written; the box shows them in the window language.
    return MessageBoxService::current().show(owner, uiText(text), uiText(caption), type);
}

} // namespace mirado
