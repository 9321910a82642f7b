#pragma once
// Carries what a hosted QLineEdit does (hover, focus, Enter, typing) back to its edit control.
#include <QObject>

class CEditUI;
class QLineEdit;

namespace mirado {

class NativeEditBridge final : public QObject {
public:
    NativeEditBridge(CEditUI* owner, QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CEditUI* m_owner;
};

} // namespace mirado
