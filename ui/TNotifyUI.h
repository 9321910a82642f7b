#pragma once
// A notification from a control to its window: "click", "selectchanged", "itemclick",
// "itemdbclick", "valuechanged", "itemselect", "return", "textchanged", "tabselect".
#include "CDuiString.h"
#include "WinTypes.h"

class CControlUI;

struct TNotifyUI {
    CDuiString sType;
    CControlUI* pSender = nullptr;
    DWORD dwTimestamp = 0;
    POINT ptMouse;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

class INotifyUI {
public:
    virtual ~INotifyUI() = default;
    virtual void Notify(TNotifyUI& msg) = 0;
};

class IMessageFilterUI {
public:
    virtual ~IMessageFilterUI() = default;
    // Sees input messages before the window's HandleMessage; handled stops them there.
    virtual LRESULT MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) = 0;
};

class IDialogBuilderCallback {
public:
    virtual ~IDialogBuilderCallback() = default;
    // A control for a skin element the framework does not know, or null.
    virtual CControlUI* CreateControl(const CDuiString& className) = 0;
};

class IListCallbackUI {
public:
    virtual ~IListCallbackUI() = default;
    // Text of one cell; the returned text must stay valid until the next call.
    virtual const char16_t* ItemTextFor(CControlUI* pControl, int iIndex, int iSubItem) = 0;
};
