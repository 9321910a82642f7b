#pragma once
// A text field. The typing itself happens in a real QLineEdit laid over the control,
// so input methods, the clipboard, selection and masking behave as everywhere else;
// the control draws the skin's frame images under it and sends "return" on Enter
// and "textchanged" as the text changes.
#include "CLabelUI.h"

#include <QLineEdit>
#include <QPointer>

#include "NativeEditBridge.h"
#include "StateImages.h"

class CEditUI final : public CLabelUI {
public:
    CEditUI();
    ~CEditUI() override;
    const char16_t* GetClass() const override { return u"EditUI"; }

    CDuiString GetText() const override;
    void SetText(const CDuiString& text) override;
    void SetMaxChar(int count);
    int GetMaxChar() const { return m_iMaxChar; }
    void SetPasswordMode(bool password);
    bool IsPasswordMode() const { return m_bPassword; }
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const { return m_bReadOnly; }
    // The hosted line edit (null until the control is attached to a window).
    QLineEdit* GetNativeEdit() const { return m_edit; }

    bool WantsFocus() const override { return true; }
    void SetPos(RECT rc) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible) override;
    void SetEnabled(bool enabled = true) override;
    void SetAttribute(const QString& name, const QString& value) override;
    void DoEvent(TEventUI& event) override;
    void DoInit() override;

    // Called by the bridge when the line edit reports something.
    void NativeHover(bool hot);
    void NativeFocus(bool focused);
    void NativeReturn();
    void NativeTextChanged();

protected:
    void PaintStatusImage(QPainter& p) override;
    void PaintText(QPainter&) override {}

private:
    void SyncWidget();
    void UpdateHot();

    QPointer<QLineEdit> m_edit;
    QPointer<mirado::NativeEditBridge> m_bridge;
    int m_iMaxChar = 255;
    bool m_bPassword = false;
    bool m_bReadOnly = false;
    mirado::StateImages m_images;
    DWORD m_dwNativeBkColor = 0;
    bool m_bPointerOnControl = false;
    bool m_bPointerOnNative = false;
};
