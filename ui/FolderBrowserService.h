#pragma once
// The folder browser. It lists files as well, and a file may be chosen too (the
// encoder then enciphers just that file). Replaceable in tests. The title is shown in the window
// language.
#include "WinTypes.h"

#include <QString>
#include <memory>

namespace mirado {

class FolderBrowserService {
public:
    virtual ~FolderBrowserService() = default;
    // The chosen folder or file; empty when cancelled.
    virtual QString browse(HWND owner, const QString& title) = 0;

    static FolderBrowserService& current();
    static std::shared_ptr<FolderBrowserService> install(std::shared_ptr<FolderBrowserService> service);
};

} // namespace mirado
