#pragma once
// The player's one top-level window: it owns the engine, the video surface, the playlist and the
// playback state, keeps the surface on the play region and drives the two window timers.
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "container/ContainerKey.h"
#include "engine/avplayer.h"
#include "player/RememberedKeys.h"
#include "surface/PlayerHost.h"
#include "ui/WindowImplBase.h"

class CListCallbackUI;
class CListUI;
class CSliderUI;
class CTextUI;
class CVideoRealWnd;

namespace mirado {
class ContainerReader;
class FileDropFilter;
}

class CMainFrame : public WindowImplBase, public PlayerHost {
public:
    static constexpr UINT TIMER_TICK = 1;      // every 100 ms: status, times, progress, play bar
    static constexpr UINT TIMER_RELAYOUT = 2;  // one-shot 100 ms after the last resize
    static constexpr UINT kTickMs = 100;
    static constexpr UINT kRelayoutMs = 100;

    explicit CMainFrame(avplayer::Pace pace = avplayer::Pace::RealTime);
    ~CMainFrame() override;

    // PlayerHost: what the video surface and the play bar use.
    HWND mainWindow() const override { return GetHWND(); }
    CVideoRealWnd* videoSurface() const override { return m_surface.get(); }
    avplayer& engine() override { return m_engine; }
    CSliderUI* volumeSlider() const override { return m_volumeSlider; }
    CSliderUI* progressSlider() const override { return m_progressSlider; }
    bool isShowingImage() const override { return m_isShowingImage; }
    void setSeeking(bool seeking) override { m_isSeeking = seeking; }

    // Window and dialogs.
    void OpenSettingsWindow();
    UINT AskPassword();
    // The owner of this window's dialogs and message boxes: the video surface while it covers the
    // screen (they come up above it and it takes no input meanwhile), else the window itself.
    HWND dialogOwner() const;
    void CreateVideoSurface();
    void RelayoutVideoSurface();
    void ToggleListRegion();
    // Brings the window to the front, restored if minimised (a second start of the program asks for this).
    void comeForward();
    // Files named on the command line or handed over by a second start: listed, and the first plays.
    void openFiles(const QStringList& paths);
    // Files dropped on the window: listed; the first plays when nothing is playing.
    void dropFiles(const QStringList& paths);

    // Keys and the mouse wheel: the same operations as the buttons and sliders.
    bool handlePlayerKey(WPARAM key, bool repeated) override;
    void turnVolumeByWheel(int delta) override;
    // Moves the volume slider by points of the engine's 0..100 and applies it as the slider does.
    void stepVolume(int points);
    void seekBySeconds(double seconds);
    void toggleMute();
    void toggleFullScreen();

    // Playlist.
    void AddFiles();
    // Appends the paths that are not listed yet (compared exactly once absolute and clean), in order.
    void addPaths(const QStringList& paths);
    void AddListItem(const QString& fullPath, const QString& fileName);
    void RebuildPathSnapshot();
    bool IsPathListed(const QString& path) const;
    void RemoveSelected();
    void ClearList();
    void PlayPrevious() override;
    void PlayNext() override;

    // Playback control.
    void OnPlayButton() override;
    void PlaySelected();
    // `opened`: the container already opened by the caller's key search, so that a sealed container's
    // password is not hardened a second time; without it the key search runs again.
    void PlayVideo(const QString& path, std::unique_ptr<mirado::ContainerReader> opened = nullptr);
    void ShowImage(const QString& path, std::unique_ptr<mirado::ContainerReader> opened = nullptr);
    void TogglePauseOrPlay(const QString& path);
    void TogglePause() override;
    void Stop() override;
    void MuteOn() override;
    void MuteOff() override;
    void ShowMuteState(bool muted);
    void UpdatePlaybackView();
    void MirrorToPlayBar();
    bool TryRememberedKeys(mirado::ContainerReader& reader, const QString& path);
    bool TryEnteredKey(mirado::ContainerReader& reader, const QString& path);
    void RememberKey();
    // A file that cannot be played or shown: the view goes back to empty and a message tells why.
    void reportPlaybackFailure(const QString& text);

    // State for the windows around it and for tests.
    const QString& currentPath() const { return m_currentPath; }
    bool isSeeking() const { return m_isSeeking; }
    bool isListShown() const { return m_isListShown; }
    const mirado::RememberedKeys& rememberedKeys() const { return m_rememberedKeys; }
    CListUI* playlist() const { return m_playlist; }

    // Framework slots.
    const char16_t* ClassNameOfWindow() const override { return u"PlayerMainWnd"; }
    CDuiString SkinFileName() const override { return CDuiString(u"MainFrame.xml"); }
    UILIB_RESOURCETYPE SkinResourceKind() const override { return UILIB_ZIPRESOURCE; }
    int SkinResourceId() const override { return 135; }
    // Neither Enter nor Escape closes the main window; both reach HandleMessage.
    LRESULT ResponseDefaultKeyEvent(WPARAM) override { return 0; }
    void PrepareControls() override;
    LRESULT HandleMessage(UINT uMsg, WPARAM wParam, LPARAM lParam) override;
    void Notify(TNotifyUI& msg) override;
    void OnClick(TNotifyUI& msg) override;
    LRESULT OnSysCommand(UINT uMsg, WPARAM wParam, LPARAM lParam, bool& bHandled) override;

private:
    // Damaged and Unsupported come from the file itself, so no other password would open it.
    enum class KeySearch { Opened, NotAsked, WrongKey, Damaged, Unsupported };
    // Only while a video is open; the buttons then show what the engine reports.
    void SetMuted(bool muted);
    // Remembered keys first, then the prompt.
    KeySearch searchKey(mirado::ContainerReader& reader, const QString& path);
    // The key search of PlayVideo and ShowImage; when it opens nothing the view shows that nothing loads.
    bool openedForPlayback(mirado::ContainerReader& reader, const QString& path);
    // The caller's open reader, or a fresh one opened by openedForPlayback; null when nothing opened.
    std::unique_ptr<mirado::ContainerReader> openedContainer(const QString& path,
                                                             std::unique_ptr<mirado::ContainerReader> opened);
    // Status "停止", no path, times and progress at zero in both bars.
    void clearPlaybackView();
    // The status text before a file opens, painted at once so it shows during the open.
    void showLoading();
    void showPlayingPath(const QString& path);
    // The sliders of this window: volume as value x 100 / maximum, seek to value / maximum.
    void applyVolumeSlider();
    void seekToProgressSlider();
    void setControlText(const char16_t* name, const QString& text);
    void syncMaxRestoreButtons();
    // The task bar and the window manager show the skin's program icon.
    void showWindowIcon();
    // Stops and closes the engine's file and frees the reader it was reading through.
    void closeEngineFile();
    // The key map; repeated while the key is held; onPlaylist when the playlist holds the keyboard
    // focus (Enter then plays its row).
    bool runPlayerKey(WPARAM key, bool repeated, bool onPlaylist);
    // The name of the row a path is listed under.
    static QString rowNameFor(const QString& path);
    // Selects the listed row of path and plays it, unless it is already the current file.
    void playListed(const QString& path);
    // The window manager's title names the current file; the play button shows pause while playing.
    void showPlayingState();

    bool m_isReady = false;
    std::unique_ptr<CVideoRealWnd> m_surface;
    CListUI* m_playlist = nullptr;
    std::unique_ptr<CListCallbackUI> m_listText;
    CSliderUI* m_volumeSlider = nullptr;
    CSliderUI* m_progressSlider = nullptr;
    CTextUI* m_currentTimeText = nullptr;
    CTextUI* m_totalTimeText = nullptr;
    bool m_isListShown = true;
    // The reader the engine reads the open container through; declared before the engine so that
    // it outlives the engine's last read even while the window is being destroyed.
    std::unique_ptr<mirado::ContainerReader> m_engineReader;
    bool m_engineHasFile = false;
    avplayer m_engine;
    QString m_currentPath;
    bool m_isShowingImage = false;
    bool m_isSeeking = false;
    std::vector<QString> m_pathSnapshot;
    std::unique_ptr<std::uint8_t[]> m_imageBuffer;  // the last container picture, deciphered
    mirado::RememberedKeys m_rememberedKeys;
    std::unique_ptr<mirado::FileDropFilter> m_dropFilter;
    int m_wheelRemainder = 0;  // a part of a wheel notch not yet turned into volume
    bool m_showsPauseImage = false;
};
