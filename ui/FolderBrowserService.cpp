#include "FolderBrowserService.h"

#include "ServiceSlot.h"
#include "Translation.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

namespace mirado {
namespace {

// A folder dialog that also accepts a file when one is chosen.
class FolderOrFileDialog final : public QFileDialog {
public:
    using QFileDialog::QFileDialog;
    QString chosen;

protected:
    void accept() override
    {
        const QStringList files = selectedFiles();
        if (!files.isEmpty() && QFileInfo(files.first()).isFile()) {
            chosen = files.first();
            QDialog::accept();
            return;
        }
        QFileDialog::accept();
    }
};

class QtFolderBrowser final : public FolderBrowserService {
public:
    QString browse(HWND owner, const QString& title) override
    {
        FolderOrFileDialog dialog(owner ? owner->window() : nullptr, uiText(title));
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly, false);
        if (dialog.exec() != QDialog::Accepted)
            return {};
        if (!dialog.chosen.isEmpty())
            return dialog.chosen;
        const QStringList files = dialog.selectedFiles();
        return files.isEmpty() ? QString() : files.first();
    }
};

using Slot = ServiceSlot<FolderBrowserService, QtFolderBrowser>;

} // namespace

FolderBrowserService& FolderBrowserService::current()
{
    return Slot::current();
}

std::shared_ptr<FolderBrowserService> FolderBrowserService::install(std::shared_ptr<FolderBrowserService> service)
{
    return Slot::install(std::move(service));
}

} // namespace mirado
