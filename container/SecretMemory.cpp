#include "SecretMemory.h"

#include <string.h>
#include <sys/prctl.h>
#include <sys/resource.h>

namespace mirado {

void wipe(void* data, std::size_t size) {
    if (data != nullptr && size > 0) ::explicit_bzero(data, size);
}

void disableCoreDumps() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
    ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
}

}  // namespace mirado
