#pragma once
// The open-file dialog: one filter entry (its name and patterns such as
// "*.mp4;*.png;"), one or several files. QFileDialog by default; replaceable in tests. Title and
// filter name come as the windows write them; the dialog shows them in the window language.
#include "WinTypes.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace mirado {

struct OpenFileRequest {
    HWND owner = nullptr;
    QString title;
    QString filterName;
    QString patterns;          // ";"-separated
    QString initialPath;       // a folder or a file to start from
    bool multiSelect = false;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // Full paths in the order chosen; empty when cancelled.
    virtual QStringList openFiles(const OpenFileRequest& request) = 0;

    static FileDialogService& current();
    static std::shared_ptr<FileDialogService> install(std::shared_ptr<FileDialogService> service);
};

} // namespace mirado
