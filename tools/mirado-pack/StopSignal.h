#pragma once
#include <csignal>

namespace mirado::pack {

// While one lives, Ctrl-C (SIGINT) and SIGTERM only ask the running job to stop, so it can remove the
// container it is writing. A signal the caller had ignored stays ignored.
class StopSignal {
public:
    StopSignal();
    StopSignal(const StopSignal&) = delete;
    StopSignal& operator=(const StopSignal&) = delete;
    ~StopSignal();

    static bool requested();
    // Ends the process by the signal that arrived, as it would have without us, so a calling shell
    // sees the interruption.
    [[noreturn]] void endByTheSignal();

private:
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
};

}  // namespace mirado::pack
