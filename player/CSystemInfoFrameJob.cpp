// The settings window while a job runs: progress, Cancel, closing, and the outcome's message.
#include "CSystemInfoFrame.h"
#include "CSystemInfoFrameState.h"
#include "SettingsJobMessages.h"
#include "SettingsProgressText.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/COptionUI.h"
#include "ui/CProgressUI.h"
#include "ui/MessageBoxService.h"
#include "ui/Translation.h"

using namespace settings_controls;

namespace {

constexpr UINT kJobTimer = 1;
constexpr UINT kJobTimerMs = 50;
constexpr char16_t kCaption[] = u"提示";
constexpr char16_t kCloseQuestion[] = u"正在加密文件。要取消加密并关闭窗口吗?";
constexpr char16_t kCancelText[] = u"取消";
constexpr char16_t kCancellingText[] = u"正在取消";

}  // namespace

bool CSystemInfoFrame::IsEncrypting() const { return m_state->runner.busy(); }

void CSystemInfoFrame::EncryptSource(const mirado::EncryptRequest& request) {
    if (!m_state->runner.start(request)) return;
    SetJobControls(true);
    ShowJobProgress();
    SetTimer(kJobTimer, kJobTimerMs);
}

LRESULT CSystemInfoFrame::HandleCustomMessage(UINT uMsg, WPARAM wParam, LPARAM, bool& bHandled) {
    bHandled = uMsg == WM_TIMER && wParam == kJobTimer;
    // While the close question is open, the job's end waits for the answer.
    if (bHandled && !m_state->askingToClose) {
        ShowJobProgress();
        FinishJob();
    }
    return 0;
}

// The start button gives way to Cancel and the progress bar; the inputs rest until the job ends,
// so nothing on the page seems to change a job already under way.
void CSystemInfoFrame::SetJobControls(bool running) {
    if (auto* start = Find<CControlUI>(kStart)) start->SetVisible(!running);
    if (auto* cancel = Find<CControlUI>(kCancel)) {
        cancel->SetText(CDuiString(mirado::uiText(QString::fromUtf16(kCancelText))));
        cancel->SetEnabled(true);
        cancel->SetVisible(running);
    }
    for (const char16_t* name : {kProgressBar, kProgressText}) {
        if (auto* control = Find<CControlUI>(name)) control->SetVisible(running);
    }
    for (const char16_t* name :
         {kFileMode, kFolderMode, kChooseSource, kChooseDestination, kPassword, kContainerFormat, kWatermark}) {
        if (auto* control = Find<CControlUI>(name)) control->SetEnabled(!running);
    }
    const auto* watermark = Find<CCheckBoxUI>(kWatermark);
    EnableWatermarkControls(!running && watermark && watermark->GetCheck());
}

void CSystemInfoFrame::ShowJobProgress() {
    const mirado::JobProgress progress = m_state->runner.progress();
    if (auto* bar = Find<CProgressUI>(kProgressBar)) bar->SetValue(mirado::progressPermille(progress));
    if (auto* text = Find<CLabelUI>(kProgressText)) {
        text->SetText(CDuiString(mirado::progressTextFor(progress, m_state->runner.stopRequested())));
    }
}

void CSystemInfoFrame::CancelJob() {
    if (!IsEncrypting()) return;
    m_state->runner.requestStop();
    if (auto* cancel = Find<CControlUI>(kCancel)) {
        cancel->SetText(CDuiString(mirado::uiText(QString::fromUtf16(kCancellingText))));
        cancel->SetEnabled(false);
    }
    ShowJobProgress();
}

void CSystemInfoFrame::FinishJob() {
    const auto outcome = m_state->runner.takeOutcome();
    if (!outcome) return;
    KillTimer(kJobTimer);
    SetJobControls(false);
    if (const auto text = mirado::finalMessageFor(*outcome)) mirado::messageBox(GetHWND(), *text, QString::fromUtf16(kCaption));
    if (m_state->closeWhenDone) Close(*m_state->closeWhenDone);
}

LRESULT CSystemInfoFrame::OnClose(UINT, WPARAM wParam, LPARAM, bool& bHandled) {
    bHandled = IsEncrypting();
    if (!bHandled || m_state->askingToClose || m_state->closeWhenDone) return 0;
    m_state->askingToClose = true;
    const UINT answer = mirado::messageBox(GetHWND(), QString::fromUtf16(kCloseQuestion), QString::fromUtf16(kCaption),
                                           MB_YESNO | MB_ICONQUESTION);
    m_state->askingToClose = false;
    if (answer != IDYES) return 0;
    m_state->closeWhenDone = UINT(wParam);
    CancelJob();
    return 0;
}
