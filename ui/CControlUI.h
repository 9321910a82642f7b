#pragma once
// The base of every control: position and size rules, colours, images, visibility,
// state, the attributes a skin can set, and painting of background and border.
#include "CDuiString.h"
#include "TEventUI.h"
#include "WinTypes.h"

#include <QFont>
#include <QString>
#include <cstdint>
#include <functional>

class QPainter;
class CPaintManagerUI;

class CControlUI {
public:
    CControlUI();
    virtual ~CControlUI();
    CControlUI(const CControlUI&) = delete;
    CControlUI& operator=(const CControlUI&) = delete;

    virtual const char16_t* GetClass() const;

    CDuiString GetName() const { return m_sName; }
    void SetName(const CDuiString& name) { m_sName = name; }
    virtual CDuiString GetText() const;
    virtual void SetText(const CDuiString& text);

    CPaintManagerUI* GetManager() const { return m_pManager; }
    CControlUI* GetParent() const { return m_pParent; }
    // Attaches this control (and, for containers, its children) to a window's manager.
    virtual void SetManager(CPaintManagerUI* manager, CControlUI* parent);

    // Position in window coordinates.
    const RECT& GetPos() const { return m_rcItem; }
    virtual void SetPos(RECT rc);
    int GetWidth() const { return m_rcItem.width(); }
    int GetHeight() const { return m_rcItem.height(); }
    int GetX() const { return m_rcItem.left; }
    int GetY() const { return m_rcItem.top; }
    // Space kept around the control by the layout that holds it.
    RECT GetPadding() const { return m_rcPadding; }
    void SetPadding(RECT rc);
    int GetFixedWidth() const { return m_cxyFixed.cx; }
    void SetFixedWidth(int cx);
    int GetFixedHeight() const { return m_cxyFixed.cy; }
    void SetFixedHeight(int cy);
    int GetMinWidth() const { return m_cxyMin.cx; }
    int GetMaxWidth() const { return m_cxyMax.cx; }
    int GetMinHeight() const { return m_cxyMin.cy; }
    int GetMaxHeight() const { return m_cxyMax.cy; }
    bool IsFloat() const { return m_bFloat; }
    RECT GetFloatPos() const { return m_rcFloat; }
    // Size wanted from the layout; 0 in a direction means "share the free space".
    virtual SIZE EstimateSize(SIZE available);

    CDuiString GetToolTip() const { return m_sToolTip; }
    void SetToolTip(const CDuiString& text) { m_sToolTip = text; }
    CDuiString GetUserData() const { return m_sUserData; }
    void SetUserData(const CDuiString& text) { m_sUserData = text; }
    std::uintptr_t GetTag() const { return m_tag; }
    void SetTag(std::uintptr_t tag) { m_tag = tag; }

    // Visible only when both its own flag and every holder are visible.
    bool IsVisible() const { return m_bVisible && m_bInternVisible; }
    virtual void SetVisible(bool visible = true);
    virtual void SetInternVisible(bool visible);
    bool IsEnabled() const { return m_bEnabled; }
    virtual void SetEnabled(bool enabled = true);
    bool IsMouseEnabled() const { return m_bMouseEnabled; }
    void SetMouseEnabled(bool enabled) { m_bMouseEnabled = enabled; }
    bool IsFocused() const;
    virtual void SetFocus();
    // Whether a click gives this control the keyboard focus.
    virtual bool WantsFocus() const { return false; }

    DWORD GetBkColor() const { return m_dwBackColor; }
    void SetBkColor(DWORD argb);
    void SetBorderColor(DWORD argb);
    void SetBorderSize(int size);
    void SetBkImage(const QString& attribute);

    void Invalidate();
    // The layout around this control must be redone (size or visibility changed).
    void NeedParentUpdate();
    void NeedUpdate();

    virtual void SetAttribute(const QString& name, const QString& value);
    // Applies a list of name="value" pairs, as a Default style holds them.
    void ApplyAttributeList(const QString& list);

    // Takes a child control from the skin; false (and not taken) for controls that hold none.
    virtual bool AddChild(CControlUI*) { return false; }
    // The deepest visible control at pt that takes the mouse, or null.
    virtual CControlUI* FindControlAt(POINT pt);
    // Visits this control and everything it holds until f returns false; false then.
    virtual bool Visit(const std::function<bool(CControlUI*)>& f);

    virtual void DoEvent(TEventUI& event);
    virtual void DoPaint(QPainter& p, const RECT& dirty);
    // Called once the whole tree is attached to its window.
    virtual void DoInit() {}

protected:
    virtual void PaintBkColor(QPainter& p);
    virtual void PaintBkImage(QPainter& p);
    virtual void PaintStatusImage(QPainter& p);
    virtual void PaintText(QPainter& p);
    virtual void PaintBorder(QPainter& p);
    // Draws an image attribute into the control's rectangle (or rc); a missing image is skipped.
    void DrawImage(QPainter& p, const QString& attribute, const RECT* rc = nullptr);
    QFont FontFor(int index) const;
    // The button state with UISTATE_DISABLED and UISTATE_FOCUSED added as they are now.
    UINT LookState() const;
    void Notify(const char16_t* type, WPARAM wParam = 0, LPARAM lParam = 0);

    CPaintManagerUI* m_pManager = nullptr;
    CControlUI* m_pParent = nullptr;
    CDuiString m_sName;
    CDuiString m_sText;
    CDuiString m_sToolTip;
    CDuiString m_sUserData;
    std::uintptr_t m_tag = 0;
    RECT m_rcItem{};
    RECT m_rcPadding{};
    RECT m_rcFloat{};
    SIZE m_cxyFixed{};
    SIZE m_cxyMin{};
    SIZE m_cxyMax{9999, 9999};
    bool m_bVisible = true;
    bool m_bInternVisible = true;
    bool m_bEnabled = true;
    bool m_bMouseEnabled = true;
    bool m_bFloat = false;
    DWORD m_dwBackColor = 0;
    DWORD m_dwBorderColor = 0;
    DWORD m_dwFocusBorderColor = 0;
    int m_nBorderSize = 0;
    SIZE m_cxyBorderRound{};
    QString m_sBkImage;
    UINT m_uButtonState = 0;
};
