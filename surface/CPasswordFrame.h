#pragma once
// The small modal prompt for a container's playback password. It checks the password rule and
// turns an accepted password into the key in `enteredKey`; it never learns whether the key is right.
#include "container/ContainerKey.h"
#include "ui/WindowImplBase.h"

// The one key slot the prompt fills and playback control reads.
extern mirado::ContainerKey enteredKey;

class CPasswordFrame : public WindowImplBase {
public:
    // Modal results: 1 a password was accepted, 2 closed or cancelled.
    static constexpr UINT kAccepted = 1;
    static constexpr UINT kCancelled = 2;

    const char16_t* ClassNameOfWindow() const override { return u"PasswordFrame"; }
    CDuiString SkinFileName() const override { return CDuiString(u"PasswordFrame.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
    void PrepareControls() override;
    void Notify(TNotifyUI& msg) override;

private:
    bool accept();
};
