#include "FileDialogService.h"

#include "ServiceSlot.h"
#include "Translation.h"

#include <QFileDialog>
#include <QWidget>

namespace mirado {
namespace {

class QtFileDialog final : public FileDialogService {
public:
    QStringList openFiles(const OpenFileRequest& request) override
    {
        QStringList patterns = request.patterns.split(u';', Qt::SkipEmptyParts);
        // Windows patterns match without regard to case; list both spellings.
        QStringList both;
        for (const QString& p : patterns)
            both << p.toLower() << p.toUpper();
        both.removeDuplicates();
        const QString filter = uiText(request.filterName) + QStringLiteral(" (") + both.join(u' ') + u')';
        QWidget* parent = request.owner ? request.owner->window() : nullptr;
        if (request.multiSelect)
            return QFileDialog::getOpenFileNames(parent, uiText(request.title), request.initialPath, filter);
        const QString one = QFileDialog::getOpenFileName(parent, uiText(request.title), request.initialPath, filter);
        return one.isEmpty() ? QStringList() : QStringList{one};
    }
};

using Slot = ServiceSlot<FileDialogService, QtFileDialog>;

} // namespace

FileDialogService& FileDialogService::current()
{
    return Slot::current();
}

std::shared_ptr<FileDialogService> FileDialogService::install(std::shared_ptr<FileDialogService> service)
{
    return Slot::install(std::move(service));
}

} // namespace mirado
