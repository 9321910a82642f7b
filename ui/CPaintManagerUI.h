#pragma once
// One window's control tree: builds nothing itself (CDialogBuilder does), but lays the
// tree out, paints it, hit-tests it, routes mouse and keyboard input to controls,
// keeps focus, hover and capture, and sends notifications to the window. Also holds
// the skin's window settings (size, minimum size, caption band, sizing borders),
// its fonts, per-class default styles and the image cache.
#include "CDuiString.h"
#include "ImageCache.h"
#include "TEventUI.h"
#include "TNotifyUI.h"
#include "WinTypes.h"

#include <QFont>
#include <QHash>
#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class QPainter;
class CControlUI;

namespace mirado {
class SkinStore;
}

// What a WM_PAINT message carries in its lParam.
struct PaintContext {
    QPainter* painter = nullptr;
    RECT dirty{};
    bool validated = false; // set by BeginPaint: the window drew this paint itself
};

class CPaintManagerUI {
public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    static void SetInstance(void* instance);
    static void* GetInstance();
    // Runs the program's event loop until PostQuitMessage; returns its exit code.
    static int MessageLoop();

    void Init(HWND hWnd);
    HWND GetPaintWindow() const { return m_hWnd; }
    void SetSkinStore(std::shared_ptr<mirado::SkinStore> store);
    std::shared_ptr<mirado::SkinStore> GetSkinStore() const { return m_store; }
    mirado::ImageCache& Images() { return m_images; }

    // Takes ownership of the tree and attaches it to this window.
    bool AttachDialog(CControlUI* root);
    CControlUI* GetRoot() const { return m_pRoot; }
    // Null when no control has that name (compared exactly).
    CControlUI* FindControl(const CDuiString& name) const;
    CControlUI* FindControl(POINT pt) const;
    // Visits every control of the tree until f returns false.
    void VisitControls(const std::function<bool(CControlUI*)>& f) const;

    SIZE GetInitSize() const { return m_szInitSize; }
    void SetInitSize(int cx, int cy) { m_szInitSize = {cx, cy}; }
    RECT GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rc) { m_rcSizeBox = rc; }
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rc) { m_rcCaption = rc; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = {cx, cy}; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = {cx, cy}; }
    DWORD GetDefaultFontColor() const { return m_dwDefaultFontColor; }
    void SetDefaultFontColor(DWORD argb) { m_dwDefaultFontColor = argb; }
    DWORD GetDefaultDisabledColor() const { return m_dwDefaultDisabledColor; }
    void SetDefaultDisabledColor(DWORD argb) { m_dwDefaultDisabledColor = argb; }
    DWORD GetBackgroundColor() const { return m_dwBackground; }
    void SetBackgroundColor(DWORD argb) { m_dwBackground = argb; }

    // Fonts by index; an unknown index gives the default font.
    void AddFont(int index, const QFont& font, bool isDefault);
    QFont GetFont(int index) const;
    int GetFontCount() const { return static_cast<int>(m_fonts.size()); }

    void AddDefaultAttributeList(const QString& controlTag, const QString& list);
    QString GetDefaultAttributeList(const QString& controlTag) const;

    void AddNotifier(INotifyUI* notifier);
    void RemoveNotifier(INotifyUI* notifier);
    void SendNotify(CControlUI* sender, const char16_t* type, WPARAM wParam = 0, LPARAM lParam = 0);
    void AddPreMessageFilter(IMessageFilterUI* filter);
    void RemovePreMessageFilter(IMessageFilterUI* filter);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    // Handles the window messages that concern the control tree; true when the
    // message needs no further handling.
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* control);
    // A hosted native widget took the keyboard focus for control.
    void FocusTakenBy(CControlUI* control);
    // The control under the mouse button being held, if any.
    CControlUI* GetCapture() const { return m_pCapture; }
    CControlUI* GetHot() const { return m_pHover; }

    void Invalidate(const RECT& rc);
    void NeedUpdate();
    // Lays the tree out now if something asked for it.
    void UpdateLayout();
    // A control is going away: forget every pointer to it.
    void ReapControl(CControlUI* control);
    // Time of the current input event (milliseconds, as GetTickCount).
    DWORD CurrentTime() const;

private:
    void Paint(PaintContext& context);
    void SetHover(CControlUI* control, POINT pt);
    void Dispatch(CControlUI* control, int type, POINT pt, WPARAM wParam = 0);
    void ShowToolTip(POINT pt);

    HWND m_hWnd = nullptr;
    std::shared_ptr<mirado::SkinStore> m_store;
    mirado::ImageCache m_images;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pHover = nullptr;
    CControlUI* m_pCapture = nullptr;
    bool m_bLayoutNeeded = true;
    bool m_bPainting = false;
    SIZE m_szInitSize{};
    RECT m_rcSizeBox{};
    RECT m_rcCaption{};
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    DWORD m_dwDefaultFontColor = 0xFF000000;
    DWORD m_dwDefaultDisabledColor = 0xFFA7A6AA;
    DWORD m_dwBackground = 0xFFFFFFFF;
    std::map<int, QFont> m_fonts;
    QFont m_defaultFont;
    QHash<QString, QString> m_defaultAttributes; // keyed by lower-case control tag
    std::vector<INotifyUI*> m_notifiers;
    std::vector<IMessageFilterUI*> m_preFilters;
};
