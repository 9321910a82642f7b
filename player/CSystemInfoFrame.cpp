#include "CSystemInfoFrame.h"

#include <QFile>

#include "CSystemInfoFrameState.h"
#include "container/AdditiveKeyCipher.h"
#include "container/ContainerFormat.h"
#include "container/PasswordRule.h"
#include "ui/CComboUI.h"
#include "ui/CEditUI.h"
#include "ui/CListUI.h"
#include "ui/COptionUI.h"
#include "ui/CTabLayoutUI.h"
#include "ui/FileDialogService.h"
#include "ui/FolderBrowserService.h"
#include "ui/MessageBoxService.h"
#include "ui/Translation.h"

using namespace settings_controls;

namespace {

constexpr char16_t kCaption[] = u"提示";
constexpr char16_t kFolderBrowserTitle[] = u"请选择目录";
constexpr char16_t kMediaFilterName[] = u"视频或图片文件";
constexpr char16_t kMediaPatterns[] =
    u"*.avi;*.rmvb;*.rm;*.wmv;*.mkv;*.mp4;*.3gp;*.RAM;*.ASF;*.flv;*.bmp;*.jpeg;*.jpg;*.png;";
constexpr char16_t kNoSourceMessage[] = u"请选择要加密的文件或目录.";
constexpr char16_t kNoDestinationMessage[] = u"请选择要保存的目录.";
constexpr char16_t kNoWatermarkTextMessage[] = u"启动水印功能，您必须填入水印内容。";
// What each item of the container format combo means, by index.
constexpr const char16_t* kContainerFormatTips[] = {
    u"旧版播放器也能播放，但保护较弱",
    u"标准 age 加密，旧版播放器打不开",
};

// The open-file dialog starts at the file picked last, for as long as the program runs.
QString& lastPickedFile() {
    static QString path;
    return path;
}

std::filesystem::path toPath(const std::u16string& text) {
    return QFile::encodeName(QString::fromStdU16String(text)).toStdString();
}

// A combo's choice as the one-byte index the container stores; a missing combo counts as 0.
std::uint8_t indexOf(const CComboUI* combo) {
    return combo ? std::uint8_t(std::max(combo->SelectedIndex(), 0)) : 0;
}

// The combo's second item seals the containers; anything else, a missing combo too, keeps the
// format every player reads.
mirado::ContainerVersion containerVersionOf(const CComboUI* combo) {
    return indexOf(combo) == 1 ? mirado::ContainerVersion::Sealed : mirado::ContainerVersion::Compatible;
}

}  // namespace

CSystemInfoFrame::CSystemInfoFrame() : CSystemInfoFrame(mirado::runEncryptJob) {}

CSystemInfoFrame::CSystemInfoFrame(JobFunction job) : m_state(std::make_unique<State>(std::move(job))) {}

CSystemInfoFrame::~CSystemInfoFrame() = default;

void CSystemInfoFrame::PrepareControls() {
    m_state->pages = Find<CTabLayoutUI>(kPages);
    m_state->pageList = Find<CListUI>(kPageList);
    if (auto* fileMode = Find<CCheckBoxUI>(kFileMode)) fileMode->SetCheck(true);
    if (auto* watermark = Find<CCheckBoxUI>(kWatermark)) watermark->SetCheck(false, false);
    EnableWatermarkControls(false);
    ShowContainerFormatTip();
}

void CSystemInfoFrame::Notify(TNotifyUI& msg) {
    if (!msg.pSender) return;
    const CDuiString name = msg.pSender->GetName();
    const auto is = [&](const char16_t* expected) { return name.CompareNoCase(CDuiString(expected)) == 0; };
    if (msg.sType == u"click") {
        if (is(kClose)) Close(1);
        else if (is(kChooseSource)) ChooseSource();
        else if (is(kChooseDestination)) ChooseDestination();
        else if (is(kStart)) StartEncryption();
        else if (is(kCancel)) CancelJob();
    } else if (msg.sType == u"selectchanged") {
        if (is(kFileMode) || is(kFolderMode)) {
            SwitchMode(name);
        } else if (is(kWatermark)) {
            const auto* box = dynamic_cast<CCheckBoxUI*>(msg.pSender);
            EnableWatermarkControls(box && box->GetCheck());
        }
    } else if (msg.sType == u"itemselect") {
        if (is(kPageList) && m_state->pages && m_state->pageList) m_state->pages->SelectItem(m_state->pageList->SelectedIndex());
        else if (is(kContainerFormat)) ShowContainerFormatTip();
    }
}

// The two boxes act as a pair: checking one unchecks the other. Either change forgets the source,
// which was chosen for the other mode. Only the file box decides the mode, so with both unchecked
// the window is in folder mode.
void CSystemInfoFrame::SwitchMode(const CDuiString& sender) {
    const bool fromFileBox = sender.CompareNoCase(CDuiString(kFileMode)) == 0;
    auto* self = Find<CCheckBoxUI>(fromFileBox ? kFileMode : kFolderMode);
    auto* other = Find<CCheckBoxUI>(fromFileBox ? kFolderMode : kFileMode);
    if (self && self->GetCheck() && other) other->SetCheck(false, false);
    m_state->sourcePath.clear();
    if (auto* edit = Find<CEditUI>(kSourceEdit)) edit->SetText(CDuiString());
}

void CSystemInfoFrame::EnableWatermarkControls(bool enable) {
    for (const char16_t* name : {kWatermarkText, kWatermarkColour, kWatermarkFontSize, kWatermarkPosition}) {
        if (CControlUI* control = m_PaintManager.FindControl(CDuiString(name))) control->SetEnabled(enable);
    }
}

void CSystemInfoFrame::ShowContainerFormatTip() {
    auto* tip = Find<CControlUI>(kContainerFormatTip);
    if (!tip) return;
    const bool sealed = containerVersionOf(Find<CComboUI>(kContainerFormat)) == mirado::ContainerVersion::Sealed;
    tip->SetText(CDuiString(mirado::uiText(QString::fromUtf16(kContainerFormatTips[sealed ? 1 : 0]))));
}

// A cancelled chooser keeps the earlier choice and what its edit shows.
void CSystemInfoFrame::ChooseSource() {
    const auto* fileMode = Find<CCheckBoxUI>(kFileMode);
    QString chosen;
    if (fileMode && fileMode->GetCheck()) {
        mirado::OpenFileRequest request;
        request.owner = GetHWND();
        request.filterName = QString::fromUtf16(kMediaFilterName);
        request.patterns = QString::fromUtf16(kMediaPatterns);
        request.initialPath = lastPickedFile();
        const QStringList files = mirado::FileDialogService::current().openFiles(request);
        if (!files.isEmpty()) chosen = lastPickedFile() = files.first();
    } else {
        chosen = mirado::FolderBrowserService::current().browse(GetHWND(), QString::fromUtf16(kFolderBrowserTitle));
    }
    if (chosen.isEmpty()) return;
    m_state->sourcePath = chosen.toStdU16String();
    if (auto* edit = Find<CEditUI>(kSourceEdit)) edit->SetText(CDuiString(chosen));
}

void CSystemInfoFrame::ChooseDestination() {
    const QString chosen = mirado::FolderBrowserService::current().browse(GetHWND(), QString::fromUtf16(kFolderBrowserTitle));
    if (chosen.isEmpty()) return;
    m_state->destinationPath = chosen.toStdU16String();
    if (auto* edit = Find<CEditUI>(kDestinationEdit)) edit->SetText(CDuiString(chosen));
}

// Each failed check tells why and leaves every field as it is.
void CSystemInfoFrame::StartEncryption() {
    if (IsEncrypting()) return;
    const auto say = [this](std::u16string_view text) {
        mirado::messageBox(GetHWND(), QString::fromUtf16(text.data(), qsizetype(text.size())), QString::fromUtf16(kCaption));
    };
    if (m_state->sourcePath.empty()) return say(kNoSourceMessage);
    if (m_state->destinationPath.empty()) return say(kNoDestinationMessage);
    const auto* passwordEdit = Find<CEditUI>(kPassword);
    if (!passwordEdit) return;
    const std::u16string password = passwordEdit->GetText().str();
    if (password.empty()) return say(mirado::kPasswordEmptyMessage);
    if (!mirado::isValidPassword(password)) return say(mirado::kPasswordRuleMessage);

    mirado::EncryptRequest request;
    request.source = toPath(m_state->sourcePath);
    request.destinationFolder = toPath(m_state->destinationPath);
    request.key = mirado::AdditiveKeyCipher::keyFromPassword(password);
    request.version = containerVersionOf(Find<CComboUI>(kContainerFormat));
    // With the watermark off, what the disabled controls show does not count.
    const auto* watermark = Find<CCheckBoxUI>(kWatermark);
    if (watermark && watermark->GetCheck()) {
        const auto* textEdit = Find<CEditUI>(kWatermarkText);
        if (!textEdit) return;
        request.watermark.enabled = true;
        request.watermark.text = textEdit->GetText().str();
        if (request.watermark.text.empty()) return say(kNoWatermarkTextMessage);
        request.watermark.colour = indexOf(Find<CComboUI>(kWatermarkColour));
        request.watermark.position = indexOf(Find<CComboUI>(kWatermarkPosition));
        request.watermark.fontSize = indexOf(Find<CComboUI>(kWatermarkFontSize));
    }
    EncryptSource(request);
}
