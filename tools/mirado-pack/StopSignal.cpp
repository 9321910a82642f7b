#include "StopSignal.h"

#include <unistd.h>

namespace mirado::pack {
namespace {

volatile std::sig_atomic_t g_arrived = 0;

void remember(int signal) { g_arrived = signal; }

void catchUnlessIgnored(int signal, struct sigaction& previous) {
    struct sigaction action {};
    action.sa_handler = remember;
    sigemptyset(&action.sa_mask);
    ::sigaction(signal, nullptr, &previous);
    if (previous.sa_handler != SIG_IGN) ::sigaction(signal, &action, nullptr);
}

}  // namespace

StopSignal::StopSignal() {
    g_arrived = 0;
    for (std::size_t i = 0; i < kSignals.size(); ++i) catchUnlessIgnored(kSignals[i], previous_[i]);
}

StopSignal::~StopSignal() {
    for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &previous_[i], nullptr);
}

bool StopSignal::requested() { return g_arrived != 0; }

void StopSignal::endByTheSignal() {
    const int signal = g_arrived != 0 ? g_arrived : SIGINT;
    ::signal(signal, SIG_DFL);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);  // only if the signal does not end the process
}

}  // namespace mirado::pack
