#pragma once
// The demo skin compiled into the test programs (tests/ui/demo_skin, resource id 135).
#include "UiTestHarness.h"

class DemoWindow : public mirado::testing::SkinWindow {
public:
    DemoWindow() : SkinWindow(QStringLiteral("Demo.xml")) {}
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
};
