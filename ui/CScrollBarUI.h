#pragma once
// A scroll bar for a list: a rail and a thumb that can be dragged; a press on the
// rail moves by a page. Tells its owner the new position through a callback.
#include "CControlUI.h"

#include <functional>

class CScrollBarUI final : public CControlUI {
public:
    explicit CScrollBarUI(bool horizontal);
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
    RECT GetThumbRect() const;

    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintStatusImage(QPainter& p) override;

private:
    void MoveTo(int pos);
    bool m_bHorizontal;
    int m_nRange = 0;
    int m_nPage = 1;
    int m_nPos = 0;
    int m_nLineSize = 22;
    int m_nDragOffset = 0;
    std::function<void(int)> m_onScroll;
    DWORD m_dwThumbColor = 0xFFC2C2C2;
    DWORD m_dwThumbHotColor = 0xFFA8A8A8;
    QString m_sThumbImage;
    QString m_sThumbHotImage;
    QString m_sThumbPushedImage;
};
