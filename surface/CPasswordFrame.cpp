#include "CPasswordFrame.h"

#include "container/AdditiveKeyCipher.h"
#include "container/PasswordRule.h"
#include "ui/CEditUI.h"
#include "ui/MessageBoxService.h"

mirado::ContainerKey enteredKey{};

namespace {

const CDuiString kPasswordEdit(u"edit_encode_psw");

bool nameIs(const CDuiString& name, const char16_t* expected)
{
    return name.CompareNoCase(CDuiString(expected)) == 0;
}

QString textOf(std::u16string_view text)
{
    return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void CPasswordFrame::PrepareControls()
{
    // Whatever ends this prompt other than an accepted password leaves no key behind.
    enteredKey.fill(0);
    if (CControlUI* edit = m_PaintManager.FindControl(kPasswordEdit))
        edit->SetFocus();
}

void CPasswordFrame::Notify(TNotifyUI& msg)
{
    if (msg.sType == u"click" && msg.pSender) {
        const CDuiString name = msg.pSender->GetName();
        if (nameIs(name, u"btn_ok")) {
            if (accept())
                Close(kAccepted);
        } else if (nameIs(name, u"btn_close") || nameIs(name, u"btn_cancel")) {
            Close(kCancelled);
        }
    } else if (msg.sType == u"return") {
        if (accept())
            Close(kAccepted);
    }
}

bool CPasswordFrame::accept()
{
    auto* edit = dynamic_cast<CEditUI*>(m_PaintManager.FindControl(kPasswordEdit));
    if (!edit)
        return false;
    const CDuiString text = edit->GetText();
    if (text.IsEmpty()) {
        mirado::messageBox(GetHWND(), textOf(mirado::kPasswordEmptyMessage), QStringLiteral("提示"));
        return false;
    }
    if (!mirado::isValidPassword(text.str())) {
        mirado::messageBox(GetHWND(), textOf(mirado::kPasswordRuleMessage), QStringLiteral("提示"));
        return false;
    }
    enteredKey = mirado::AdditiveKeyCipher::keyFromPassword(text.str());
    return true;
}
