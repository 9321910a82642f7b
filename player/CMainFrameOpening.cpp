// Files that come from outside the window: the command line, a second start handing its files over,
// a drop from a file manager. The first two play at once, as in every desktop player; a drop only
// starts something when nothing is on show.
#include "player/CMainFrame.h"
#include "ui/CListUI.h"

void CMainFrame::openFiles(const QStringList& paths) {
    addPaths(paths);
    if (!paths.isEmpty()) playListed(paths.front());
}

void CMainFrame::dropFiles(const QStringList& paths) {
    addPaths(paths);
    if (!paths.isEmpty() && m_currentPath.isEmpty()) playListed(paths.front());
}

void CMainFrame::playListed(const QString& path) {
    if (m_playlist == nullptr) return;
    const QString name = rowNameFor(path);
    for (int i = 0; i < m_playlist->ItemCount(); ++i) {
        CControlUI* row = m_playlist->ItemAt(i);
        if (row == nullptr || row->GetName().toQString() != name) continue;
        // The file already current goes on as it is: playing it again would pause it.
        if (name == m_currentPath) return;
        m_playlist->SelectIndex(i, false);
        PlaySelected();
        return;
    }
}
