#pragma once
// A value between a minimum and a maximum, drawn as a foreground image over the
// background up to the value's place.
#include "CLabelUI.h"

class CProgressUI : public CLabelUI {
public:
    const char16_t* GetClass() const override { return u"ProgressUI"; }
    int GetMinValue() const { return m_nMin; }
    int GetMaxValue() const { return m_nMax; }
    int GetValue() const { return m_nValue; }
    void SetMinValue(int value);
    void SetMaxValue(int value);
    // Clamped into the range; no notification.
    void SetValue(int value);
    bool IsHorizontal() const { return m_bHorizontal; }
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintStatusImage(QPainter& p) override;
    // The part of the control that stands for min..value.
    RECT FilledRect() const;
    // Fraction of the range the value has reached, 0..1.
    double Fraction() const;

    bool m_bHorizontal = true;
    int m_nMin = 0;
    int m_nMax = 100;
    int m_nValue = 0;
    QString m_sForeImage;
    DWORD m_dwForeColor = 0;
};
