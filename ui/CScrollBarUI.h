#pragma once
// A scroll bar: optional arrow buttons at both ends, a track between them and a
// thumb that can be dragged. A press on an arrow moves by a line, on the track by a
// page; holding the button repeats. Tells its owner the new position through a callback.
#include "CControlUI.h"
#include "StateImages.h"

#include <functional>
#include <memory>

class QTimer;

class CScrollBarUI final : public CControlUI {
public:
    // The parts of the bar, as the pointer finds them.
    enum class Part { None, Button1, Button2, TrackBefore, TrackAfter, Thumb };

    explicit CScrollBarUI(bool horizontal);
    ~CScrollBarUI() override;
    const char16_t* GetClass() const override { return u"ScrollBarUI"; }
    bool IsHorizontal() const { return m_bHorizontal; }
    int GetScrollRange() const { return m_nRange; }
    int GetScrollPos() const { return m_nPos; }
    // range: largest position; page: how much is seen at once.
    void SetScrollRange(int range, int page);
    void SetScrollPos(int pos);
    void SetLineSize(int size) { m_nLineSize = std::max(size, 1); }
    void SetOnScroll(std::function<void(int)> onScroll) { m_onScroll = std::move(onScroll); }
    // Thickness across the scrolling direction.
    int GetThickness() const;
    // Button 1 is the up (left) arrow, button 2 the down (right) arrow; empty when not shown.
    RECT GetButton1Rect() const;
    RECT GetButton2Rect() const;
    // Where the thumb travels: the bar between the buttons.
    RECT GetTrackRect() const;
    RECT GetThumbRect() const;
    Part PartAt(POINT pt) const;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintBkImage(QPainter& p) override;
    void PaintStatusImage(QPainter& p) override;

private:
    // One arrow button: its images by state and whether it is shown.
    struct ButtonLook {
        mirado::StateImages images;
        int shown = -1; // -1: shown when the skin gives an image
        bool isShown() const { return shown < 0 ? !images.normal.isEmpty() : shown != 0; }
    };
    int ButtonLength() const;
    void PaintButton(QPainter& p, Part part, const RECT& rc, const ButtonLook& look, bool atEnd);
    // One step of a held part; false when there is nothing more to do.
    bool Step(Part part);
    void Repeat();
    void StopRepeat();
    void SetHotPart(Part part);
    // The look of one part: pushed while held, hot under the pointer.
    UINT PartState(Part part) const;
    void MoveTo(int pos);

    bool m_bHorizontal;
    int m_nRange = 0;
    int m_nPage = 1;
    int m_nPos = 0;
    int m_nLineSize = 22;
    int m_nDragOffset = 0;
    Part m_pressed = Part::None;
    Part m_hot = Part::None;
    POINT m_ptLast{};
    std::unique_ptr<QTimer> m_repeat;
    std::function<void(int)> m_onScroll;
    ButtonLook m_button1;
    ButtonLook m_button2;
    DWORD m_dwThumbColor = 0xFFC2C2C2;
    DWORD m_dwThumbHotColor = 0xFFA8A8A8;
    mirado::StateImages m_thumb;
    QString m_sRailImage;
};
