#pragma once
// What a skinned window shows in words: the text and tooltip of every control, combo items, list
// headers and rows included.
#include <QStringList>

#include "ui/CPaintManagerUI.h"

namespace mirado::testing {

QStringList shownTexts(const CPaintManagerUI& manager);

}  // namespace mirado::testing
