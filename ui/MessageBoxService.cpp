#include "MessageBoxService.h"

#include "ModalBlock.h"
#include "ServiceSlot.h"
#include "Translation.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QWidget>

namespace mirado {
namespace {

class QtMessageBox final : public MessageBoxService {
public:
    UINT show(HWND owner, const QString& text, const QString& caption, UINT type) override
    {
        QWidget* parent = owner ? owner->window() : nullptr;
        const bool question = (type & MB_TYPEMASK) == MB_YESNO;
        QMessageBox box(question ? QMessageBox::Question : QMessageBox::Information, caption, text,
                        question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent);
        if (question) {
            box.setDefaultButton(QMessageBox::No);
            box.setEscapeButton(QMessageBox::No);
        }
        // Blocks as ShowModal does: the owner and the windows owning it take no input, and they can tell.
        ModalBlock block(owner, &box);
        // An answer gives the owner back before the box goes (closed otherwise, it does so after).
        QObject::connect(&box, &QMessageBox::buttonClicked, &box, [&block] { block.release(); });
        const int answer = box.exec();
        if (!question)
            return IDOK;
        return answer == QMessageBox::Yes ? IDYES : IDNO;
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
