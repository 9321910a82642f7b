// The playlist: rows named by their full path, added through the open-file dialog (or a drop, the
// command line, a second start) without duplicates, removed, and stepped through in a circle.
#include <algorithm>

#include <QDir>
#include <QFileInfo>

#include "player/CListCallbackUI.h"
#include "player/CMainFrame.h"
#include "player/PlayerLog.h"
#include "ui/CListElementUI.h"
#include "ui/CListUI.h"
#include "ui/FileDialogService.h"

namespace {

const QString kFilterName = QStringLiteral("视频或图片文件");
const QString kPatterns =
    QStringLiteral("*.pmpk;*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv;*.bmp;*.jpeg;*.jpg;*.png;");

}  // namespace

void CMainFrame::AddFiles() {
    mirado::OpenFileRequest request;
    request.owner = GetHWND();
    request.filterName = kFilterName;
    request.patterns = kPatterns;
    request.multiSelect = true;
    const QStringList chosen = mirado::FileDialogService::current().openFiles(request);
    if (chosen.isEmpty()) return;
    addPaths(chosen);
}

void CMainFrame::addPaths(const QStringList& paths) {
    if (m_playlist == nullptr) return;
    RebuildPathSnapshot();
    for (const QString& given : paths) {
        if (given.isEmpty()) continue;
        const QString path = rowNameFor(given);
        if (IsPathListed(path)) continue;
        AddListItem(path, QFileInfo(path).fileName());
        // A drop or a command line may name one file twice; a dialog never does.
        m_pathSnapshot.push_back(path);
    }
}

QString CMainFrame::rowNameFor(const QString& path) {
    // One file, one row, however it was named: the row's name is absolute and clean.
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

void CMainFrame::AddListItem(const QString& fullPath, const QString& fileName) {
    if (m_playlist == nullptr || fullPath.isEmpty()) return;
    auto* row = new CListTextElementUI;
    row->SetUserData(CDuiString(CListCallbackUI::userDataFor(fileName.toStdU16String())));
    row->SetTag(1);
    row->SetName(CDuiString(fullPath));
    row->SetToolTip(CDuiString(fullPath));
    row->SetPadding(RECT{3, 1, 3, 1});
    if (!m_playlist->AppendItem(row)) {
        delete row;
        return;
    }
    qCDebug(lcPlayerPlaylist, "added %s", qUtf8Printable(fullPath));
}

void CMainFrame::RebuildPathSnapshot() {
    m_pathSnapshot.clear();
    if (m_playlist == nullptr) return;
    for (int i = 0; i < m_playlist->ItemCount(); ++i) {
        if (CControlUI* row = m_playlist->ItemAt(i)) m_pathSnapshot.push_back(row->GetName().toQString());
    }
}

bool CMainFrame::IsPathListed(const QString& path) const {
    // Letter case counts: on this system B.mp4 and b.mp4 are two files.
    return !path.isEmpty() && std::find(m_pathSnapshot.begin(), m_pathSnapshot.end(), path) != m_pathSnapshot.end();
}

void CMainFrame::RemoveSelected() {
    if (m_playlist == nullptr) return;
    const int selected = m_playlist->SelectedIndex();
    if (selected >= 0) m_playlist->RemoveItemAt(selected);
}

void CMainFrame::ClearList() {
    if (m_playlist != nullptr) m_playlist->RemoveAllItems();
}

void CMainFrame::PlayPrevious() {
    Stop();
    if (m_playlist == nullptr) return;
    const int count = m_playlist->ItemCount();
    if (count == 0) return;
    const int selected = m_playlist->SelectedIndex();
    int target = selected - 1;
    if (selected < 0 || selected >= count) {
        m_playlist->SelectIndex(0, false);
        target = count - 1;
    } else if (selected == 0) {
        target = count - 1;
    }
    m_playlist->SelectIndex(target, false);
    PlaySelected();
}

void CMainFrame::PlayNext() {
    Stop();
    if (m_playlist == nullptr) return;
    const int count = m_playlist->ItemCount();
    if (count == 0) return;
    int selected = m_playlist->SelectedIndex();
    if (selected < 0 || selected >= count) {
        m_playlist->SelectIndex(0, false);
        selected = 0;
    }
    m_playlist->SelectIndex(selected < count - 1 ? selected + 1 : 0, false);
    PlaySelected();
}
