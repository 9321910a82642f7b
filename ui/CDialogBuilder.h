#pragma once
// Builds a window's control tree from a skin XML file: the root <Window> element's
// settings, its <Font> and <Default> elements, and one control element holding the rest.
#include "CDuiString.h"
#include "TNotifyUI.h"

#include <QByteArray>
#include <QString>

class CControlUI;
class CPaintManagerUI;
class QXmlStreamReader;

class CDialogBuilder {
public:
    // Reads folder/file (or file at the archive root) from the manager's skin store.
    // Null, with GetLastError saying why, when the file is missing or malformed.
    CControlUI* Create(const CDuiString& folder, const CDuiString& file, IDialogBuilderCallback* callback, CPaintManagerUI* manager);
    CControlUI* CreateFromXml(const QByteArray& xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager);
    QString GetLastError() const { return m_error; }

    // A control of a skin tag ("Button", "VerticalLayout", ...), or null for an unknown tag.
    static CControlUI* CreateStandardControl(const QString& tag);

private:
    void ReadWindowAttributes(QXmlStreamReader& xml, CPaintManagerUI* manager);
    void ReadFont(QXmlStreamReader& xml, CPaintManagerUI* manager, int& nextIndex);
    CControlUI* ReadControl(QXmlStreamReader& xml, IDialogBuilderCallback* callback, CPaintManagerUI* manager);

    QString m_error;
};
