#pragma once
// Gives the playlist the text of each cell from the row's user data, where the texts of the columns
// stand between the markers "{#0}" .. "{#6}" (a "{#" inside a text is written "{##").
#include <string>

#include "ui/TNotifyUI.h"

class CListCallbackUI final : public IListCallbackUI {
public:
    static constexpr int kColumns = 7;

    // The returned text stays valid until the next call. The row index is not used.
    const char16_t* ItemTextFor(CControlUI* pControl, int iIndex, int iSubItem) override;

    // The user data of a row that shows `text`, whatever it holds, in column 0.
    static std::u16string userDataFor(std::u16string_view text);

private:
    std::u16string m_buffer;
};
