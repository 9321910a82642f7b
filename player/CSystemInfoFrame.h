#pragma once
// The encryption settings window: source, destination, password and watermark, checked in a fixed
// order and handed to the folder encryption job.
#include <memory>

#include "ui/WindowImplBase.h"

class CSystemInfoFrame : public WindowImplBase {
public:
    CSystemInfoFrame();
    ~CSystemInfoFrame() override;

    const char16_t* ClassNameOfWindow() const override { return u"SystemInfoWnd"; }
    CDuiString SkinFileName() const override { return CDuiString(u"SystemInfoFrame.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
    void PrepareControls() override;
    void Notify(TNotifyUI& msg) override;

private:
    struct State;
    std::unique_ptr<State> m_state;
};
