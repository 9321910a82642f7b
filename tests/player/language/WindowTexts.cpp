#include "WindowTexts.h"

#include "ui/CComboUI.h"
#include "ui/CContainerUI.h"
#include "ui/CListHeaderUI.h"
#include "ui/CListUI.h"

namespace mirado::testing {
namespace {

void collect(const CControlUI* control, QStringList& texts) {
    if (control == nullptr) return;
    for (const QString& text : {control->GetText().toQString(), control->GetToolTip().toQString()})
        if (!text.isEmpty()) texts << text;
    if (const auto* combo = dynamic_cast<const CComboUI*>(control)) {
        for (int i = 0; i < combo->ItemCount(); ++i) collect(combo->ItemAt(i), texts);
    } else if (const auto* list = dynamic_cast<const CListUI*>(control)) {
        collect(list->GetHeader(), texts);
        for (int i = 0; i < list->ItemCount(); ++i) collect(list->ItemAt(i), texts);
    } else if (const auto* container = dynamic_cast<const CContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i) collect(container->GetItemAt(i), texts);
    }
}

}  // namespace

QStringList shownTexts(const CPaintManagerUI& manager) {
    QStringList texts;
    collect(manager.GetRoot(), texts);
    return texts;
}

}  // namespace mirado::testing
