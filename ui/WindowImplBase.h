#pragma once
// The base of every skinned window: creation loads the skin and then calls
// PrepareControls; messages are dispatched to the On... slots, then to the control
// tree, then to the system's own handling. "click" notifications reach OnClick.
#include "CDuiString.h"
#include "CPaintManagerUI.h"
#include "CWindowWnd.h"
#include "TNotifyUI.h"

class WindowImplBase : public CWindowWnd, public INotifyUI, public IMessageFilterUI, public IDialogBuilderCallback {
public:
    WindowImplBase() = default;
    ~WindowImplBase() override;

    CPaintManagerUI& GetPaintManager() { return m_PaintManager; }

    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void Notify(TNotifyUI& msg) override;
    CControlUI* CreateControl(const CDuiString& className) override;
    LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

    // Called once the skin is loaded and attached.
    virtual void PrepareControls() {}
    virtual void OnClick(TNotifyUI& msg);
    virtual CDuiString SkinFolderName() const { return CDuiString(); }
    virtual CDuiString SkinFileName() const = 0;
    // Enter and Escape, before HandleMessage: nonzero consumes the key. By default
    // Escape closes the window with IDCANCEL and Enter goes on.
    virtual LRESULT ResponseDefaultKeyEvent(WPARAM wParam);
    virtual UILIB_RESOURCETYPE SkinResourceKind() const { return UILIB_FILE; }
    virtual CDuiString GetZIPFileName() const { return CDuiString(); }
    virtual int SkinResourceId() const { return 0; }

    virtual LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnDestroy(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcActivate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcCalcSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnNcPaint(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    // Sizing borders (none while maximised), then the caption band except over
    // buttons, options, texts and other controls that take input, then client.
    virtual LRESULT OnNcHitTest(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    // Maximised position and size from the primary screen, smallest size from the skin.
    virtual LRESULT OnGetMinMaxInfo(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseWheel(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseHover(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSize(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnChar(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnCreate(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKeyDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnKillFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnSetFocus(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonDown(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnLButtonUp(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT OnMouseMove(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);
    virtual LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled);

    // Why the last creation failed (skin missing or malformed); empty after success.
    QString GetCreateError() const { return m_createError; }

protected:
    void OnFinalMessage(HWND hWnd) override;
    bool PreTranslate(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes) override;

    CPaintManagerUI m_PaintManager;

private:
    QString m_createError;
};
