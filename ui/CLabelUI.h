#pragma once
// A control that shows text: font, colours, alignment, text padding, ellipsis.
#include "CControlUI.h"

class CLabelUI : public CControlUI {
public:
    CLabelUI();
    const char16_t* GetClass() const override { return u"LabelUI"; }
    void SetTextColor(DWORD argb);
    DWORD GetTextColor() const;
    void SetFont(int index);
    int GetFont() const { return m_iFont; }
    RECT GetTextPadding() const { return m_rcTextPadding; }
    void SetTextPadding(RECT rc);
    UINT GetTextStyle() const { return m_uTextStyle; }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintText(QPainter& p) override;
    // The text colour for the current state (disabled included).
    virtual DWORD CurrentTextColor() const;
    RECT TextRect() const;

    DWORD m_dwTextColor = 0;
    DWORD m_dwDisabledTextColor = 0;
    int m_iFont = -1;
    RECT m_rcTextPadding{};
    UINT m_uTextStyle; // DT_* flags
};

// A label whose text is laid out on several lines when it does not fit on one.
class CTextUI final : public CLabelUI {
public:
    CTextUI();
    const char16_t* GetClass() const override { return u"TextUI"; }
};
