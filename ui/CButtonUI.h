#pragma once
// A push button: images and colours for the normal, hot, pushed, focused and
// disabled looks; a press and release over it sends "click".
#include "CLabelUI.h"
#include "StateImages.h"

class CButtonUI : public CLabelUI {
public:
    const char16_t* GetClass() const override { return u"ButtonUI"; }
    void SetNormalImage(const QString& attribute);
    QString GetNormalImage() const { return m_images.normal; }
    void SetHotImage(const QString& attribute);
    void SetPushedImage(const QString& attribute);
    void SetDisabledImage(const QString& attribute);
    // What a click does: sends "click". False when disabled or hidden.
    virtual bool Activate();
    void DoEvent(TEventUI& event) override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintBkColor(QPainter& p) override;
    void PaintStatusImage(QPainter& p) override;
    DWORD CurrentTextColor() const override;

    mirado::StateImages m_images;
    QString m_sForeImage;
    QString m_sHotForeImage;
    DWORD m_dwHotBkColor = 0;
    DWORD m_dwHotTextColor = 0;
    DWORD m_dwPushedTextColor = 0;
    DWORD m_dwFocusedTextColor = 0;
};
