#include "MessageBoxService.h"

#include "ServiceSlot.h"

#include <QMessageBox>
#include <QWidget>

namespace mirado {
namespace {

class QtMessageBox final : public MessageBoxService {
public:
    UINT show(HWND owner, const QString& text, const QString& caption, UINT) override
    {
        QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Ok, owner ? owner->window() : nullptr);
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
    return MessageBoxService::current().show(owner, text, caption, type);
}

} // namespace mirado
