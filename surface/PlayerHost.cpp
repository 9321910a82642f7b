#include "PlayerHost.h"

PlayerHost* g_pMainFrame = nullptr;
