#pragma once
// The QWidget that is a framework window: hands every event to its CWindowWnd.
#include <QWidget>

class CWindowWnd;

namespace mirado {

class WindowHost final : public QWidget {
public:
    WindowHost(CWindowWnd* window, QWidget* parent, Qt::WindowFlags flags);
    ~WindowHost() override;
    CWindowWnd* window() const { return m_window; }
    // The window object lets go of this widget (it is being destroyed).
    void detach() { m_window = nullptr; }

protected:
    bool event(QEvent* event) override;

private:
    CWindowWnd* m_window;
};

} // namespace mirado
