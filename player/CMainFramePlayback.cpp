// Playback control: turns the selected row into a playing video or a picture on the surface, finds
// a container's key, and keeps the status line, times, sliders and mute buttons of both bars in step.
#include <algorithm>
#include <filesystem>
#include <new>
#include <optional>

#include "container/ContainerReader.h"
#include "container/FileKinds.h"
#include "container/SecretMemory.h"
#include "player/CMainFrame.h"
#include "player/PlaybackTimeText.h"
#include "surface/CPasswordFrame.h"
#include "surface/CPlayBarFrame.h"
#include "surface/CVideoRealWnd.h"
#include "ui/CButtonUI.h"
#include "ui/CLabelUI.h"
#include "ui/CListUI.h"
#include "ui/CSliderUI.h"
#include "ui/MessageBoxService.h"
#include "ui/WindowApi.h"

namespace {

// Engine states as play_status reports them.
constexpr int kPlaying = 1;
constexpr int kPaused = 2;
constexpr int kEnded = 3;
constexpr int kStopped = 4;
constexpr int kUnplayable = -1;  // the engine gave up on the file while loading it
constexpr int kDamaged = -2;     // a protected file's bytes failed their check while it played

// A container picture is deciphered whole into memory; larger ones are not shown.
constexpr std::uint64_t kLargestContainerPicture = 157286400;

const QString kCaption = QStringLiteral("提示");
const QString kLoading = QStringLiteral("加载中请等待...");
const QString kCannotPlay = QStringLiteral("无法播放该文件。");
const QString kDamagedMessage = QStringLiteral("文件已损坏或被修改。");
const QString kUnsupported = QStringLiteral("无法打开加密视频。它不是用密码加密的，或加密参数超出了播放器的限制。");
const QString kCannotShow = QStringLiteral("无法显示该图片。");
const QString kWrongKey = QStringLiteral("无法打开加密视频。可能是密码错误，请确认密码后重试；也可能是文件已损坏。");

std::filesystem::path fsPath(const QString& path) {
    return std::filesystem::path(path.toStdString());
}

bool isContainer(const QString& path) {
    return mirado::IsContainerPath(path.toStdString());
}

bool isPicture(const QString& path) {
    return mirado::IsImagePath(path.toStdString());
}

// The engine's read of a sealed container: media bytes deciphered and checked by the reader.
std::int64_t readSealedPayload(void* reader, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
    return static_cast<const mirado::ContainerReader*>(reader)->readPayloadAt(position, buffer, length);
}

// Hands the open container to the engine: a compatible one through its stream and read hook, a sealed
// one through the reader's checked positional read.
int openInEngine(avplayer& engine, const std::string& file, mirado::ContainerReader& reader) {
    const mirado::ContainerInfoRecord& record = reader.records().front();
    if (reader.version() == mirado::ContainerVersion::Sealed) {
        return engine.open(file.c_str(), 0, 2, &readSealedPayload, &reader, record.payloadSize,
                           record.watermarkText.c_str(), record.watermarkPosition, record.watermarkColour,
                           record.watermarkFontSize);
    }
    std::uint8_t key[16] = {};
    reader.copyKey(key);
    const int opened = engine.open(file.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, record.payloadSize,
                                   &PayloadReadHook, &reader, key, true, record.watermarkText.c_str(),
                                   record.watermarkPosition, record.watermarkColour, record.watermarkFontSize);
    mirado::wipe(key, sizeof key);
    return opened;
}

}  // namespace

CMainFrame::KeySearch CMainFrame::searchKey(mirado::ContainerReader& reader, const QString& path) {
    // What a refused open says about the file itself, whatever the key.
    const auto fileFault = [&reader]() -> std::optional<KeySearch> {
        switch (reader.lastOpenFailure()) {
            case mirado::OpenFailure::Damaged: return KeySearch::Damaged;
            case mirado::OpenFailure::Unsupported: return KeySearch::Unsupported;
            default: return std::nullopt;
        }
    };
    if (TryRememberedKeys(reader, path)) return KeySearch::Opened;
    // A file that is damaged is not worth a password prompt.
    if (const auto fault = fileFault()) return *fault;
    if (AskPassword() != CPasswordFrame::kAccepted) return KeySearch::NotAsked;
    if (TryEnteredKey(reader, path)) return KeySearch::Opened;
    return fileFault().value_or(KeySearch::WrongKey);
}

// Only a wrong key is worth trying the next one for: any other refusal comes from the file.
bool CMainFrame::TryRememberedKeys(mirado::ContainerReader& reader, const QString& path) {
    for (const mirado::ContainerKey& key : m_rememberedKeys) {
        reader.setKey(key);
        if (reader.open(fsPath(path))) return true;
        if (reader.lastOpenFailure() != mirado::OpenFailure::WrongPassword) return false;
    }
    return false;
}

bool CMainFrame::TryEnteredKey(mirado::ContainerReader& reader, const QString& path) {
    reader.setKey(enteredKey);
    const bool opened = reader.open(fsPath(path));
    if (opened) RememberKey();
    // The slot has served: the key lives on only in the reader and the remembered keys.
    mirado::wipe(enteredKey.data(), enteredKey.size());
    return opened;
}

void CMainFrame::RememberKey() {
    m_rememberedKeys.remember(enteredKey);
}

void CMainFrame::OnPlayButton() {
    if (m_playlist == nullptr) return;
    if (m_playlist->ItemCount() > 0) {
        PlaySelected();
        return;
    }
    mirado::messageBox(dialogOwner(), QStringLiteral("请先添加视频文件"), kCaption, MB_OK);
}

void CMainFrame::PlaySelected() {
    if (m_playlist == nullptr) return;
    int index = m_playlist->SelectedIndex();
    if (index < 0 || index >= m_playlist->ItemCount()) {
        m_playlist->SelectIndex(0, false);
        index = 0;
    }
    CControlUI* row = m_playlist->ItemAt(index);
    if (row == nullptr) return;
    const QString path = row->GetName().toQString();

    if (path == m_currentPath) {
        // The file already current: a video pauses or resumes, a picture stays as it is. The video the
        // engine holds needs no key search to tell it from a picture.
        if (!m_isShowingImage && m_engineHasFile) {
            TogglePauseOrPlay(path);
        } else if (isContainer(path)) {
            mirado::ContainerReader reader;
            if (TryRememberedKeys(reader, path) && !reader.isImage()) TogglePauseOrPlay(path);
        } else if (!isPicture(path)) {
            TogglePauseOrPlay(path);
        }
        return;
    }

    if (!isContainer(path)) {
        if (isPicture(path))
            ShowImage(path);
        else
            PlayVideo(path);
        return;
    }
    auto reader = std::make_unique<mirado::ContainerReader>();
    const KeySearch found = searchKey(*reader, path);
    if (found == KeySearch::WrongKey || found == KeySearch::Damaged || found == KeySearch::Unsupported) {
        mirado::messageBox(dialogOwner(), found == KeySearch::WrongKey ? kWrongKey
                                      : found == KeySearch::Damaged ? kDamagedMessage : kUnsupported,
                           kCaption, MB_OK);
        return;
    }
    if (found != KeySearch::Opened) return;
    if (reader->isImage())
        ShowImage(path, std::move(reader));
    else
        PlayVideo(path, std::move(reader));
}

void CMainFrame::showLoading() {
    setControlText(u"txt_playstatus", kLoading);
    UpdateWindow(GetHWND());
}

void CMainFrame::showPlayingPath(const QString& path) {
    setControlText(u"txt_playingpath", path);
    UpdateWindow(GetHWND());
}

bool CMainFrame::openedForPlayback(mirado::ContainerReader& reader, const QString& path) {
    switch (searchKey(reader, path)) {
    case KeySearch::Opened:
        return true;
    case KeySearch::NotAsked:
        clearPlaybackView();
        return false;
    case KeySearch::WrongKey:
        reportPlaybackFailure(kWrongKey);
        return false;
    case KeySearch::Damaged:
        reportPlaybackFailure(kDamagedMessage);
        return false;
    case KeySearch::Unsupported:
        reportPlaybackFailure(kUnsupported);
        return false;
    }
    return false;
}

std::unique_ptr<mirado::ContainerReader> CMainFrame::openedContainer(const QString& path,
                                                                    std::unique_ptr<mirado::ContainerReader> opened) {
    if (opened) return opened;
    auto reader = std::make_unique<mirado::ContainerReader>();
    if (!openedForPlayback(*reader, path)) return nullptr;
    return reader;
}

void CMainFrame::PlayVideo(const QString& path, std::unique_ptr<mirado::ContainerReader> opened) {
    if (path.isEmpty() || !m_surface) return;
    Stop();
    showLoading();
    m_engine.subclasswindow(m_surface->GetHWND(), 1);
    const std::string file = path.toStdString();

    if (isContainer(path)) {
        std::unique_ptr<mirado::ContainerReader> reader = openedContainer(path, std::move(opened));
        if (!reader) return;
        if (openInEngine(m_engine, file, *reader) == 0) {
            reportPlaybackFailure(kCannotPlay);
            return;
        }
        // The engine reads through this reader until it is closed.
        m_engineReader = std::move(reader);
    } else {
        if (m_engine.open(file.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0) == 0) {
            reportPlaybackFailure(kCannotPlay);
            return;
        }
        m_engineReader.reset();
    }
    m_engineHasFile = true;
    m_currentPath = path;
    m_isShowingImage = false;
    m_engine.play(0.0, 0);
    showPlayingPath(path);
}

void CMainFrame::ShowImage(const QString& path, std::unique_ptr<mirado::ContainerReader> opened) {
    if (path.isEmpty() || !m_surface) return;
    Stop();
    showLoading();
    bool shown = false;
    bool damaged = false;
    if (isContainer(path)) {
        const std::unique_ptr<mirado::ContainerReader> opener = openedContainer(path, std::move(opened));
        if (!opener) return;
        mirado::ContainerReader& reader = *opener;
        const mirado::ContainerInfoRecord& record = reader.records().front();
        // Only one deciphered picture is held at a time.
        m_imageBuffer.reset();
        if (record.payloadSize <= kLargestContainerPicture)
            m_imageBuffer.reset(new (std::nothrow) std::uint8_t[record.payloadSize]);
        std::int64_t bytesRead = 0;
        const bool whole = m_imageBuffer &&
                           reader.readWholePayload(m_imageBuffer.get(), std::int64_t(record.payloadSize), bytesRead) &&
                           std::uint64_t(bytesRead) == record.payloadSize;
        // A sealed picture that fails its check is damaged, and not shown even in part.
        damaged = m_imageBuffer && !whole && reader.version() == mirado::ContainerVersion::Sealed;
        reader.close();
        shown = whole && m_surface->showPictureBuffer(m_imageBuffer.get(), record.payloadSize, record.sourceName,
                                                      record.watermarkText, record.watermarkPosition,
                                                      record.watermarkColour, record.watermarkFontSize);
        if (!shown) m_imageBuffer.reset();
    } else {
        shown = m_surface->showPictureFile(fsPath(path));
    }
    if (!shown) {
        reportPlaybackFailure(damaged ? kDamagedMessage : kCannotShow);
        return;
    }
    m_currentPath = path;
    m_isShowingImage = true;
    showPlayingPath(path);
}

void CMainFrame::TogglePauseOrPlay(const QString& path) {
    const int state = m_engine.play_status();
    if (state == kPaused)
        m_engine.resume();
    else if (state == kPlaying)
        m_engine.pause();
    else
        PlayVideo(path);
}

void CMainFrame::TogglePause() {
    if (m_isShowingImage) return;
    const int state = m_engine.play_status();
    if (state == kPlaying)
        m_engine.pause();
    else if (state == kPaused)
        m_engine.resume();
}

void CMainFrame::closeEngineFile() {
    m_engine.stop();
    m_engine.close();
    m_engineReader.reset();
    m_engineHasFile = false;
}

void CMainFrame::Stop() {
    if (m_isShowingImage) {
        if (m_surface) m_surface->stopPicture();
    } else if (m_engineHasFile) {
        // Also a file still loading or found unplayable: the engine lets go of it before its reader goes.
        closeEngineFile();
    }
    m_currentPath.clear();
    clearPlaybackView();
}

void CMainFrame::clearPlaybackView() {
    // A closed engine reports nothing open, which the periodic update leaves alone: without this the
    // window would go on showing the last file's state, path and times.
    setControlText(u"txt_playstatus", QStringLiteral("停止"));
    setControlText(u"txt_playingpath", QString());
    const CDuiString zero(mirado::playbackTimeText(0));
    if (m_currentTimeText != nullptr) m_currentTimeText->SetText(zero);
    if (m_totalTimeText != nullptr) m_totalTimeText->SetText(zero);
    if (m_progressSlider != nullptr) m_progressSlider->SetValue(0);
    CPlayBarFrame* bar = m_surface ? m_surface->playBar() : nullptr;
    if (bar == nullptr) return;
    if (bar->currentTimeText() != nullptr) bar->currentTimeText()->SetText(zero);
    if (bar->totalTimeText() != nullptr) bar->totalTimeText()->SetText(zero);
    if (bar->progressSlider() != nullptr) bar->progressSlider()->SetValue(0);
}

void CMainFrame::reportPlaybackFailure(const QString& text) {
    // The screen is back to empty before the message shows, so nothing claims to load behind it.
    Stop();
    mirado::messageBox(dialogOwner(), text, kCaption, MB_OK);
}

void CMainFrame::MuteOn() { SetMuted(true); }

void CMainFrame::MuteOff() { SetMuted(false); }

void CMainFrame::SetMuted(bool muted) {
    if (m_isShowingImage) return;
    const int state = m_engine.play_status();
    if (state != kPlaying && state != kPaused) return;
    m_engine.mute_set(muted);
    ShowMuteState(m_engine.get_mute());
}

void CMainFrame::ShowMuteState(bool muted) {
    if (CControlUI* mute = m_PaintManager.FindControl(CDuiString(u"btn_mute"))) mute->SetVisible(!muted);
    if (CControlUI* unmute = m_PaintManager.FindControl(CDuiString(u"btn_muteoff"))) unmute->SetVisible(muted);
    CPlayBarFrame* bar = m_surface ? m_surface->playBar() : nullptr;
    if (bar == nullptr) return;
    if (CButtonUI* mute = bar->muteButton()) mute->SetVisible(!muted);
    if (CButtonUI* unmute = bar->unmuteButton()) unmute->SetVisible(muted);
}

void CMainFrame::applyVolumeSlider() {
    const int maximum = m_volumeSlider->GetMaxValue();
    if (maximum == 0) return;
    const float level = float(m_volumeSlider->GetValue()) * 100.0f / float(maximum);
    m_engine.volume(level, level);
}

void CMainFrame::seekToProgressSlider() {
    const int maximum = m_progressSlider->GetMaxValue();
    if (maximum == 0) return;
    m_engine.seek_to(double(float(m_progressSlider->GetValue()) / float(maximum)));
}

void CMainFrame::UpdatePlaybackView() {
    const int state = m_engine.play_status();
    if ((state == kUnplayable || state == kDamaged) && m_engineHasFile) {
        reportPlaybackFailure(state == kDamaged ? kDamagedMessage : kCannotPlay);
        return;
    }
    if (state == kPlaying) {
        setControlText(u"txt_playstatus", QStringLiteral("正在播放"));
        const double current = m_engine.curr_play_time();
        const double duration = m_engine.duration();
        if (m_currentTimeText != nullptr) m_currentTimeText->SetText(CDuiString(mirado::playbackTimeText(current)));
        if (m_totalTimeText != nullptr) m_totalTimeText->SetText(CDuiString(mirado::playbackTimeText(duration)));
        // Without a duration the position means nothing: the slider stays where it is.
        if (!m_isSeeking && m_progressSlider != nullptr && duration > 0) {
            const double fraction = std::clamp(current / duration, 0.0, 1.0);
            m_progressSlider->SetValue(int(fraction * m_progressSlider->GetMaxValue()));
        }
    } else if (state == kPaused) {
        setControlText(u"txt_playstatus", QStringLiteral("暂停"));
    } else if (state == kStopped) {
        setControlText(u"txt_playstatus", QStringLiteral("停止"));
    }
    // While a modal window of this one is open (a prompt, the settings) the end waits for it to close.
    if (m_engine.play_status() == kEnded && IsWindowEnabled(GetHWND())) {
        closeEngineFile();
        PlayNext();
    }
}

void CMainFrame::MirrorToPlayBar() {
    CPlayBarFrame* bar = m_surface ? m_surface->playBar() : nullptr;
    if (bar == nullptr) return;
    if (m_volumeSlider != nullptr && bar->volumeSlider() != nullptr)
        bar->volumeSlider()->SetValue(m_volumeSlider->GetValue());
    if (m_progressSlider != nullptr && bar->progressSlider() != nullptr)
        bar->progressSlider()->SetValue(m_progressSlider->GetValue());
    if (m_engine.play_status() == kPlaying && bar->currentTimeText() != nullptr) {
        bar->currentTimeText()->SetText(CDuiString(mirado::playbackTimeText(m_engine.curr_play_time())));
        if (bar->totalTimeText() != nullptr)
            bar->totalTimeText()->SetText(CDuiString(mirado::playbackTimeText(m_engine.duration())));
    }
}
