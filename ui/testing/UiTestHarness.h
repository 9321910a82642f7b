#pragma once
// Helpers for tests of skinned windows: inline skins, real mouse and keyboard input
// through Qt at a control's centre, waiting with timers running, and stand-ins for
// the message box and dialog services that record what was asked and answer it.
#include "CWindowWnd.h"
#include "FileDialogService.h"
#include "FolderBrowserService.h"
#include "MemorySkinStore.h"
#include "MessageBoxService.h"
#include "WindowImplBase.h"

#include <QImage>
#include <QPoint>
#include <QString>
#include <deque>
#include <memory>
#include <vector>

namespace mirado::testing {

// Makes a skin held in memory the current one ("plain file" skins read it).
std::shared_ptr<MemorySkinStore> useInlineSkin(const std::vector<std::pair<QString, QByteArray>>& files);
// A PNG of one colour, for inline skins.
QByteArray solidPng(int width, int height, QRgb argb);

// A window built from a skin file of the current skin that records its notifications.
class SkinWindow : public WindowImplBase {
public:
    explicit SkinWindow(QString skinFile) : m_skinFile(std::move(skinFile)) {}
    const char16_t* ClassNameOfWindow() const override { return u"MiradoTestWindow"; }
    CDuiString SkinFileName() const override { return CDuiString(m_skinFile); }
    void Notify(TNotifyUI& msg) override;
    // "type:sender" for every notification so far.
    std::vector<QString> notifications;
    template <class T> T* find(const QString& name) { return dynamic_cast<T*>(m_PaintManager.FindControl(CDuiString(name))); }

private:
    QString m_skinFile;
};

// Creates and shows a top-level window and waits until it is on screen. False on failure.
bool createShown(CWindowWnd& window, const QString& title, int x = 0, int y = 0);

// The centre of a named control in its window's coordinates (invalid when missing).
QPoint centreOf(WindowImplBase& window, const QString& name);
// Mouse input through the window system path, at a point of window.
void clickAt(CWindowWnd& window, QPoint pos);
void doubleClickAt(CWindowWnd& window, QPoint pos);
void pressAt(CWindowWnd& window, QPoint pos);
void moveTo(CWindowWnd& window, QPoint pos);
void releaseAt(CWindowWnd& window, QPoint pos);
void wheelAt(CWindowWnd& window, QPoint pos, int delta);
// Presses at from (window coordinates), moves the pointer by delta on the screen in
// steps, as a hand would while the window follows, and releases.
void dragBy(CWindowWnd& window, QPoint from, QPoint delta, int steps = 4);
// By control name; false when the control does not exist or is hidden.
bool click(WindowImplBase& window, const QString& name);
bool doubleClick(WindowImplBase& window, const QString& name);
// Moves the named slider's thumb to fraction (0..1) of its travel with the mouse.
bool dragSlider(WindowImplBase& window, const QString& name, double fraction);
// Opens the named combo and clicks item index in its drop-down.
bool chooseComboItem(WindowImplBase& window, const QString& name, int index);
// Clicks into the named edit and types text with real key events.
bool typeInto(WindowImplBase& window, const QString& name, const QString& text);
// A key press and release sent to the window that has the keyboard focus in window.
void pressKey(CWindowWnd& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Runs the event loop (timers included) for ms milliseconds.
void runFor(int ms);
// What the window shows now, in device pixels.
QImage grab(CWindowWnd& window);
bool grabToPng(CWindowWnd& window, const QString& path);

struct ShownMessage {
    HWND owner;
    QString text;
    QString caption;
    UINT type = MB_OK;
};

// Records message boxes instead of showing them. Questions (MB_YESNO) take their answers from
// the queue, IDNO when it is empty; every other box answers IDOK.
class RecordingMessageBox final : public MessageBoxService {
public:
    UINT show(HWND owner, const QString& text, const QString& caption, UINT type) override;
    std::vector<ShownMessage> shown;
    std::deque<UINT> answers;
};

// Answers open-file dialogs from a queue (an empty answer is a cancel) and keeps the requests.
class ScriptedFileDialog final : public FileDialogService {
public:
    QStringList openFiles(const OpenFileRequest& request) override;
    std::deque<QStringList> answers;
    std::vector<OpenFileRequest> requests;
};

class ScriptedFolderBrowser final : public FolderBrowserService {
public:
    QString browse(HWND owner, const QString& title) override;
    std::deque<QString> answers;
    std::vector<QString> titles;
};

// Installs the three stand-ins for the lifetime of the object and restores the previous services.
class ServiceScope {
public:
    ServiceScope();
    ~ServiceScope();
    ServiceScope(const ServiceScope&) = delete;
    ServiceScope& operator=(const ServiceScope&) = delete;
    std::shared_ptr<RecordingMessageBox> messages = std::make_shared<RecordingMessageBox>();
    std::shared_ptr<ScriptedFileDialog> files = std::make_shared<ScriptedFileDialog>();
    std::shared_ptr<ScriptedFolderBrowser> folders = std::make_shared<ScriptedFolderBrowser>();

private:
    std::shared_ptr<MessageBoxService> m_oldMessages;
    std::shared_ptr<FileDialogService> m_oldFiles;
    std::shared_ptr<FolderBrowserService> m_oldFolders;
};

} // namespace mirado::testing
