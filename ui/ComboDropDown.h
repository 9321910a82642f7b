#pragma once
// The pop-up list of a combo: paints the combo's items and picks one on a click.
#include <QWidget>

class CComboUI;

namespace mirado {

class ComboDropDown final : public QWidget {
public:
    ComboDropDown(CComboUI* combo, QWidget* parent);
    // Item index at a point of this widget, -1 for none.
    int ItemAt(QPoint pos) const;
    void ScrollTo(int index);
    int ScrollOffset() const { return m_scroll; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int ContentHeight() const;
    CComboUI* m_combo;
    int m_scroll = 0;
};

} // namespace mirado
