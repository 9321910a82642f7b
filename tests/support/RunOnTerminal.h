#pragma once
// Runs a program on a pseudo-terminal, for programs such as age that read a password only from a
// terminal.
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <utility>
#include <vector>

namespace mirado::testing {

// Runs a program on a new pseudo-terminal and types the password at each of its prompts. Gives the
// exit code (-1 when it did not exit by itself within a minute) and what it printed.
inline std::pair<int, std::string> runOnTerminal(const std::vector<std::string>& arguments, const std::string& password) {
    std::vector<char*> argv;
    std::vector<std::string> words = arguments;
    for (auto& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int terminal = -1;
    const pid_t child = ::forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0) return {-1, "forkpty failed"};
    if (child == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    std::string shown;
    std::size_t answered = 0;
    bool ended = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (!ended && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{terminal, POLLIN, 0};
        if (::poll(&wait, 1, 200) <= 0) continue;
        char block[512];
        const ssize_t got = ::read(terminal, block, sizeof block);
        ended = got <= 0;  // the program ended and the terminal closed
        if (ended) break;
        shown.append(block, std::size_t(got));
        // "Enter passphrase", and "Confirm passphrase" when encrypting.
        std::size_t prompts = 0;
        for (std::size_t at = 0; (at = shown.find("passphrase", at)) != std::string::npos; at += 10) ++prompts;
        for (; answered < prompts; ++answered) {
            const std::string line = password + "\r";
            if (::write(terminal, line.data(), line.size()) != ssize_t(line.size())) break;
        }
    }
    if (!ended) ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(terminal);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, shown};
}

}  // namespace mirado::testing
