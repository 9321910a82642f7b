#pragma once
// A progress bar with a thumb: pressing on it jumps to that place, dragging moves the
// value ("movevaluechanged" while the button is held) and releasing sends
// "valuechanged". The mouse wheel moves by the step and sends "valuechanged".
#include "CProgressUI.h"
#include "StateImages.h"

class CSliderUI final : public CProgressUI {
public:
    const char16_t* GetClass() const override { return u"SliderUI"; }
    SIZE GetThumbSize() const { return m_szThumb; }
    // Where the thumb is drawn now.
    RECT GetThumbRect() const;
    int GetChangeStep() const { return m_nStep; }
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintStatusImage(QPainter& p) override;

private:
    int ValueAt(POINT pt) const;
    SIZE m_szThumb{10, 10};
    int m_nStep = 1;
    mirado::StateImages m_thumb;
    DWORD m_dwThumbColor = 0;
};
