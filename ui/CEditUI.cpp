#include "CEditUI.h"

#include "CPaintManagerUI.h"
#include "NativeEditBridge.h"
#include "SkinPainter.h"
#include "SkinValue.h"

#include <QLineEdit>

using namespace mirado;

CEditUI::CEditUI()
{
    m_uTextStyle = DT_VCENTER | DT_SINGLELINE;
}

CEditUI::~CEditUI()
{
    // The line edit belongs to the window widget; it goes with its control, and its
    // last focus events must not reach a control that is half gone.
    delete m_bridge.data();
    delete m_edit.data();
}

CDuiString CEditUI::GetText() const
{
    return m_edit ? CDuiString(m_edit->text()) : m_sText;
}

void CEditUI::SetText(const CDuiString& text)
{
    m_sText = text;
    if (m_edit && m_edit->text() != text.toQString())
        m_edit->setText(text.toQString());
    Invalidate();
}

void CEditUI::SetMaxChar(int count)
{
    m_iMaxChar = std::max(count, 0);
    SyncWidget();
}

void CEditUI::SetPasswordMode(bool password)
{
    m_bPassword = password;
    SyncWidget();
}

void CEditUI::SetReadOnly(bool readOnly)
{
    m_bReadOnly = readOnly;
    SyncWidget();
}

void CEditUI::SetPos(RECT rc)
{
    CLabelUI::SetPos(rc);
    SyncWidget();
}

void CEditUI::SetVisible(bool visible)
{
    CLabelUI::SetVisible(visible);
    SyncWidget();
}

void CEditUI::SetInternVisible(bool visible)
{
    CLabelUI::SetInternVisible(visible);
    SyncWidget();
}

void CEditUI::SetEnabled(bool enabled)
{
    CLabelUI::SetEnabled(enabled);
    SyncWidget();
}

void CEditUI::SetAttribute(const QString& name, const QString& value)
{
    const QString n = name.toLower();
    if (n == u"maxchar")
        m_iMaxChar = std::max(parseInt(value), 0);
    else if (n == u"password")
        m_bPassword = parseBool(value);
    else if (n == u"readonly")
        m_bReadOnly = parseBool(value);
    else if (n == u"nativebkcolor") {
        if (auto c = parseColor(value))
            m_dwNativeBkColor = *c;
    } else if (!m_images.apply(n, value)) {
        CLabelUI::SetAttribute(name, value);
        return;
    }
    SyncWidget();
}

void CEditUI::DoInit()
{
    if (m_edit || !m_pManager || !m_pManager->GetPaintWindow())
        return;
    m_edit = new QLineEdit(m_pManager->GetPaintWindow());
    m_edit->setFrame(false);
    m_edit->setTextMargins(0, 0, 0, 0);
    m_edit->setText(m_sText.toQString());
    m_bridge = new NativeEditBridge(this, m_edit);
    SyncWidget();
}

void CEditUI::SyncWidget()
{
    if (!m_edit)
        return;
    m_edit->setMaxLength(m_iMaxChar > 0 ? m_iMaxChar : 32767);
    m_edit->setEchoMode(m_bPassword ? QLineEdit::Password : QLineEdit::Normal);
    m_edit->setReadOnly(m_bReadOnly);
    m_edit->setEnabled(IsEnabled());
    m_edit->setFont(FontFor(m_iFont));
    m_edit->setToolTip(m_sToolTip.toQString());

    Qt::Alignment align = Qt::AlignVCenter;
    align |= (m_uTextStyle & DT_CENTER) ? Qt::AlignHCenter : (m_uTextStyle & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    m_edit->setAlignment(align);

    // The skin's frame shows through; only the text is the line edit's.
    QPalette pal = m_edit->palette();
    const QColor text = QColor::fromRgba(GetTextColor());
    const QColor disabled = QColor::fromRgba(CurrentTextColor());
    const QColor base = QColor::fromRgba(m_dwNativeBkColor);
    for (auto group : {QPalette::Active, QPalette::Inactive}) {
        pal.setColor(group, QPalette::Text, text);
        pal.setColor(group, QPalette::Base, base);
    }
    pal.setColor(QPalette::Disabled, QPalette::Text, IsEnabled() ? text : disabled);
    pal.setColor(QPalette::Disabled, QPalette::Base, base);
    m_edit->setPalette(pal);
    m_edit->setAutoFillBackground(false);

    const RECT rc = TextRect();
    const bool show = IsVisible() && !rc.isEmpty();
    if (show)
        m_edit->setGeometry(rc.left, rc.top, rc.width(), rc.height());
    m_edit->setVisible(show);
}

void CEditUI::DoEvent(TEventUI& event)
{
    switch (event.Type) {
    case UIEVENT_SETFOCUS:
        if (m_edit && !m_edit->hasFocus())
            m_edit->setFocus(Qt::OtherFocusReason);
        Invalidate();
        return;
    case UIEVENT_KILLFOCUS:
        Invalidate();
        return;
    case UIEVENT_MOUSEENTER:
    case UIEVENT_MOUSELEAVE:
        m_bPointerOnControl = event.Type == UIEVENT_MOUSEENTER;
        UpdateHot();
        return;
    default:
        CLabelUI::DoEvent(event);
    }
}

void CEditUI::NativeHover(bool hot)
{
    m_bPointerOnNative = hot;
    UpdateHot();
}

void CEditUI::UpdateHot()
{
    // The pointer may be over the frame (the window sees it) or over the line edit
    // (only the line edit sees it); leaving one for the other keeps the edit hot.
    const UINT before = m_uButtonState;
    m_uButtonState = (m_bPointerOnControl || m_bPointerOnNative) ? (m_uButtonState | UISTATE_HOT) : (m_uButtonState & ~UISTATE_HOT);
    if (before != m_uButtonState)
        Invalidate();
}

void CEditUI::NativeFocus(bool focused)
{
    if (!m_pManager)
        return;
    if (focused)
        m_pManager->FocusTakenBy(this);
    else if (m_pManager->GetFocus() == this)
        m_pManager->FocusTakenBy(nullptr);
    Invalidate();
}

void CEditUI::NativeReturn()
{
    Notify(u"return");
}

void CEditUI::NativeTextChanged()
{
    Notify(u"textchanged");
}

void CEditUI::PaintStatusImage(QPainter& p)
{
    UINT state = LookState();
    // A field being typed in keeps its focused look under the pointer.
    if ((state & UISTATE_FOCUSED) && !m_images.focused.isEmpty())
        state &= ~UISTATE_HOT;
    DrawImage(p, m_images.choose(state));
}
