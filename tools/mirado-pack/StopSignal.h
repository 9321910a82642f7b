#pragma once
#include <array>
#include <csignal>

namespace mirado::pack {

// While one lives, Ctrl-C (SIGINT), SIGTERM, SIGHUP (the terminal closed), SIGQUIT and SIGPIPE (the
// reader of our output went away) only ask the running job to stop, so it can drop the container it is
// writing. A signal the caller had ignored stays ignored.
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

    static constexpr std::array<int, 5> kSignals{SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE};

private:
    std::array<struct sigaction, kSignals.size()> previous_{};
};

}  // namespace mirado::pack
