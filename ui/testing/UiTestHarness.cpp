#include "UiTestHarness.h"

#include "CComboUI.h"
#include "CControlUI.h"
#include "CEditUI.h"
#include "CSliderUI.h"
#include "SkinResources.h"

#include <QApplication>
#include <QBuffer>
#include <QLineEdit>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace mirado::testing {
namespace {

// The top-level window a widget lies in and the point there.
QWindow* topWindow(CWindowWnd& window, QPoint& pos)
{
    QWidget* w = window.GetHWND();
    QWidget* top = w->window();
    pos = w->mapTo(top, pos);
    return top->windowHandle();
}

CControlUI* visibleControl(WindowImplBase& window, const QString& name)
{
    CControlUI* c = window.GetPaintManager().FindControl(CDuiString(name));
    return c && c->IsVisible() ? c : nullptr;
}

} // namespace

std::shared_ptr<MemorySkinStore> useInlineSkin(const std::vector<std::pair<QString, QByteArray>>& files)
{
    auto store = std::make_shared<MemorySkinStore>();
    for (const auto& [name, bytes] : files)
        store->add(name, bytes);
    SkinResources::setCurrent(store);
    return store;
}

QByteArray solidPng(int width, int height, QRgb argb)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(argb);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

void SkinWindow::Notify(TNotifyUI& msg)
{
    const QString sender = msg.pSender ? msg.pSender->GetName().toQString() : QString();
    notifications.push_back(msg.sType.toQString() + u':' + sender);
    WindowImplBase::Notify(msg);
}

bool createShown(CWindowWnd& window, const QString& title, int x, int y)
{
    const std::u16string name = title.toStdU16String();
    if (!window.Create(nullptr, name.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, x, y))
        return false;
    QWindow* native = window.GetHWND()->windowHandle();
    return native && QTest::qWaitForWindowExposed(native);
}

QPoint centreOf(WindowImplBase& window, const QString& name)
{
    CControlUI* c = visibleControl(window, name);
    if (!c)
        return {};
    const RECT& r = c->GetPos();
    return QPoint(r.left + r.width() / 2, r.top + r.height() / 2);
}

void clickAt(CWindowWnd& window, QPoint pos)
{
    QWindow* w = topWindow(window, pos);
    QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, pos);
}

void doubleClickAt(CWindowWnd& window, QPoint pos)
{
    QWindow* w = topWindow(window, pos);
    QTest::mouseDClick(w, Qt::LeftButton, Qt::NoModifier, pos);
}

void pressAt(CWindowWnd& window, QPoint pos)
{
    QWindow* w = topWindow(window, pos);
    QTest::mousePress(w, Qt::LeftButton, Qt::NoModifier, pos);
}

void moveTo(CWindowWnd& window, QPoint pos)
{
    QWindow* w = topWindow(window, pos);
    QTest::mouseMove(w, pos);
}

void releaseAt(CWindowWnd& window, QPoint pos)
{
    QWindow* w = topWindow(window, pos);
    QTest::mouseRelease(w, Qt::LeftButton, Qt::NoModifier, pos);
}

void wheelAt(CWindowWnd& window, QPoint pos, int delta)
{
    QWidget* w = window.GetHWND();
    QWheelEvent event(QPointF(pos), QPointF(w->mapToGlobal(pos)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &event);
}

void dragBy(CWindowWnd& window, QPoint from, QPoint delta, int steps)
{
    QWidget* w = window.GetHWND();
    const QPoint globalStart = w->mapToGlobal(from);
    pressAt(window, from);
    for (int i = 1; i <= steps; ++i)
        moveTo(window, w->mapFromGlobal(globalStart + delta * i / steps));
    releaseAt(window, w->mapFromGlobal(globalStart + delta));
}

bool click(WindowImplBase& window, const QString& name)
{
    if (!visibleControl(window, name))
        return false;
    clickAt(window, centreOf(window, name));
    return true;
}

bool doubleClick(WindowImplBase& window, const QString& name)
{
    if (!visibleControl(window, name))
        return false;
    doubleClickAt(window, centreOf(window, name));
    return true;
}

bool dragSlider(WindowImplBase& window, const QString& name, double fraction)
{
    auto* slider = dynamic_cast<CSliderUI*>(visibleControl(window, name));
    if (!slider)
        return false;
    const RECT thumb = slider->GetThumbRect();
    const QPoint start(thumb.left + thumb.width() / 2, thumb.top + thumb.height() / 2);
    const RECT& r = slider->GetPos();
    const int travel = r.width() - slider->GetThumbSize().cx;
    const QPoint end(r.left + slider->GetThumbSize().cx / 2 + int(travel * fraction + 0.5), start.y());
    pressAt(window, start);
    const int steps = 5;
    for (int i = 1; i <= steps; ++i)
        moveTo(window, start + (end - start) * i / steps);
    releaseAt(window, end);
    return true;
}

bool chooseComboItem(WindowImplBase& window, const QString& name, int index)
{
    auto* combo = dynamic_cast<CComboUI*>(visibleControl(window, name));
    if (!combo || !click(window, name))
        return false;
    QWidget* drop = combo->GetDropDown();
    if (!drop || !QTest::qWaitForWindowExposed(drop->windowHandle()))
        return false;
    const RECT item = combo->GetDropItemRect(index);
    const QPoint pos(item.left + item.width() / 2, item.top + item.height() / 2);
    QTest::mouseClick(drop->windowHandle(), Qt::LeftButton, Qt::NoModifier, pos);
    return true;
}

bool typeInto(WindowImplBase& window, const QString& name, const QString& text)
{
    auto* edit = dynamic_cast<CEditUI*>(visibleControl(window, name));
    if (!edit || !edit->GetNativeEdit())
        return false;
    QLineEdit* line = edit->GetNativeEdit();
    QPoint pos = line->rect().center();
    QWidget* top = line->window();
    QTest::mouseClick(top->windowHandle(), Qt::LeftButton, Qt::NoModifier, line->mapTo(top, pos));
    QTest::keyClicks(line, text);
    return true;
}

void pressKey(CWindowWnd& window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QPoint unused;
    QTest::keyClick(topWindow(window, unused), key, modifiers);
}

void runFor(int ms)
{
    QTest::qWait(ms);
}

QImage grab(CWindowWnd& window)
{
    return window.GetHWND()->grab().toImage();
}

bool grabToPng(CWindowWnd& window, const QString& path)
{
    return grab(window).save(path, "PNG");
}

UINT RecordingMessageBox::show(HWND owner, const QString& text, const QString& caption, UINT type)
{
    shown.push_back({owner, text, caption, type});
    if ((type & MB_TYPEMASK) != MB_YESNO)
        return IDOK;
    if (answers.empty())
        return IDNO;
    const UINT answer = answers.front();
    answers.pop_front();
    return answer;
}

QStringList ScriptedFileDialog::openFiles(const OpenFileRequest& request)
{
    requests.push_back(request);
    if (answers.empty())
        return {};
    QStringList answer = answers.front();
    answers.pop_front();
    return answer;
}

QString ScriptedFolderBrowser::browse(HWND, const QString& title)
{
    titles.push_back(title);
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

ServiceScope::ServiceScope()
    : m_oldMessages(MessageBoxService::install(messages)), m_oldFiles(FileDialogService::install(files)),
      m_oldFolders(FolderBrowserService::install(folders))
{
}

ServiceScope::~ServiceScope()
{
    MessageBoxService::install(m_oldMessages);
    FileDialogService::install(m_oldFiles);
    FolderBrowserService::install(m_oldFolders);
}

} // namespace mirado::testing
