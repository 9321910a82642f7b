#pragma once
// A button that stays selected. Options sharing a group name select one at a time;
// every change of state sends "selectchanged".
#include "CButtonUI.h"

class COptionUI : public CButtonUI {
public:
    const char16_t* GetClass() const override { return u"OptionUI"; }
    bool IsSelected() const { return m_bSelected; }
    // sendNotify false changes the state quietly (while a window sets itself up).
    virtual void Selected(bool selected, bool sendNotify = true);
    QString GetGroup() const { return m_sGroupName; }
    void SetGroup(const QString& group) { m_sGroupName = group; }
    bool Activate() override;
    void SetAttribute(const QString& name, const QString& value) override;

protected:
    void PaintBkColor(QPainter& p) override;
    void PaintStatusImage(QPainter& p) override;
    DWORD CurrentTextColor() const override;

    bool m_bSelected = false;
    QString m_sGroupName;
    QString m_sSelectedImage;
    QString m_sSelectedHotImage;
    DWORD m_dwSelectedTextColor = 0;
    DWORD m_dwSelectedBkColor = 0;
};

// An option without a group that toggles on every click.
class CCheckBoxUI final : public COptionUI {
public:
    const char16_t* GetClass() const override { return u"CheckBoxUI"; }
    bool GetCheck() const { return IsSelected(); }
    void SetCheck(bool check, bool sendNotify = true) { Selected(check, sendNotify); }
};
