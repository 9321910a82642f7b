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
    catchUnlessIgnored(SIGINT, previousInt_);
    catchUnlessIgnored(SIGTERM, previousTerm_);
}

StopSignal::~StopSignal() {
    ::sigaction(SIGINT, &previousInt_, nullptr);
    ::sigaction(SIGTERM, &previousTerm_, nullptr);
}

bool StopSignal::requested() { return g_arrived != 0; }

void StopSignal::endByTheSignal() {
    const int signal = g_arrived != 0 ? g_arrived : SIGINT;
    ::signal(signal, SIG_DFL);
    ::raise(signal);
    ::_exit(128 + signal);  // only if the signal is blocked
}

}  // namespace mirado::pack
