#include "CListCallbackUI.h"

#include "ui/CControlUI.h"

namespace {

std::u16string marker(int digit) {
    return std::u16string(u"{#") + char16_t(u'0' + digit) + u'}';
}

// A cell text stores every "{#" as "{##", so a text can never hold a marker: a file name such as
// "movie{#0}part2.mp4" shows whole. Marker text "{#" followed by a digit never stands for a text.
std::u16string escaped(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == u'{' && i + 1 < text.size() && text[i + 1] == u'#') out += u'#';
    }
    return out;
}

std::u16string unescaped(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text.substr(i, 3) == u"{##") ++i;
    }
    return out;
}

}  // namespace

const char16_t* CListCallbackUI::ItemTextFor(CControlUI* pControl, int, int iSubItem) {
    // Any other column keeps what the previous call left.
    if (iSubItem < 0 || iSubItem >= kColumns) return m_buffer.c_str();
    m_buffer.clear();
    if (pControl == nullptr) return m_buffer.c_str();
    const std::u16string data = pControl->GetUserData().str();
    if (iSubItem == 0) {
        const std::size_t end = data.find(marker(0));
        if (end != std::u16string::npos) m_buffer = unescaped(std::u16string_view(data).substr(0, end));
        return m_buffer.c_str();
    }
    const std::u16string opening = marker(iSubItem - 1);
    const std::size_t start = data.find(opening);
    if (start == std::u16string::npos) return m_buffer.c_str();
    const std::size_t textStart = start + opening.size();
    const std::size_t end = data.find(marker(iSubItem), textStart);
    if (end != std::u16string::npos) m_buffer = unescaped(std::u16string_view(data).substr(textStart, end - textStart));
    return m_buffer.c_str();
}

std::u16string CListCallbackUI::userDataFor(std::u16string_view text) {
    return escaped(text) + marker(0);
}
