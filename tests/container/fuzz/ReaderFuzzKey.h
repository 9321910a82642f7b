#pragma once
#include "container/AdditiveKeyCipher.h"

namespace mirado::fuzz {

// The seeds are written under this key and the fuzz target opens under it.
inline const ContainerKey kKey = AdditiveKeyCipher::keyFromPassword(u"fuzz12");

}  // namespace mirado::fuzz
