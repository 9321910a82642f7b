#pragma once
// The encryption settings window: source, destination, password and watermark, checked in a fixed
// order and handed to the folder encryption job.
#include <functional>
#include <memory>

#include "ui/WindowImplBase.h"
#include "workbench/EncryptJob.h"

class CSystemInfoFrame : public WindowImplBase {
public:
    // How the window runs a job (runEncryptJob); a test may wrap it to hold the job at a chosen point.
    using JobFunction = std::function<mirado::EncryptOutcome(const mirado::EncryptRequest&, mirado::FileTreeSearch&,
                                                             const mirado::EncryptProgress&)>;

    CSystemInfoFrame();
    explicit CSystemInfoFrame(JobFunction job);
    ~CSystemInfoFrame() override;

    const char16_t* ClassNameOfWindow() const override { return u"SystemInfoWnd"; }
    CDuiString SkinFileName() const override { return CDuiString(u"SystemInfoFrame.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
    void PrepareControls() override;
    void Notify(TNotifyUI& msg) override;

    // The handlers behind the page's buttons and boxes.
    void ChooseSource();
    void ChooseDestination();
    void StartEncryption();
    void EnableWatermarkControls(bool enable);
    // Shows what the chosen container format means next to its combo.
    void ShowContainerFormatTip();
    // Starts the job off the UI thread with a progress bar and a Cancel button in place of the start
    // button; when it ends, a message box tells the outcome. Ignored while a job runs.
    void EncryptSource(const mirado::EncryptRequest& request);
    bool IsEncrypting() const;

protected:
    // Closing while a job runs asks first; a yes stops the job and closes once it has stopped.
    LRESULT OnClose(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;
    LRESULT HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    struct State;
    std::unique_ptr<State> m_state;

    template <class T> T* Find(const char16_t* name) const;
    void SwitchMode(const CDuiString& sender);
    void SetJobControls(bool running);
    void ShowJobProgress();
    void FinishJob();
    void CancelJob();
};
