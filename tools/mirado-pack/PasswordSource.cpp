#include "PasswordSource.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "Commands.h"
#include "container/AdditiveKeyCipher.h"
#include "container/PasswordRule.h"
#include "container/SecretMemory.h"
#include "container/Utf.h"

namespace mirado::pack {
namespace {

constexpr std::size_t kLongestLine = 4096;

// The first line of what `fd` gives, without its line end; nothing when it gives nothing at all.
// Read a byte at a time, so nothing after the line is taken from a descriptor shared with others.
std::optional<std::string> firstLine(int fd) {
    std::string line;
    char c = 0;
    bool any = false;
    for (;;) {
        const ssize_t got = ::read(fd, &c, 1);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0 || c == '\n' || line.size() >= kLongestLine) break;
        any = true;
        line.push_back(c);
    }
    if (!any && c != '\n') return std::nullopt;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

std::optional<std::string> askOnTerminal() {
    const int tty = ::open("/dev/tty", O_RDWR | O_CLOEXEC);
    if (tty < 0) return std::nullopt;
    termios saved{};
    const bool canHideEcho = ::tcgetattr(tty, &saved) == 0;
    if (canHideEcho) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        ::tcsetattr(tty, TCSAFLUSH, &quiet);
    }
    const char prompt[] = "Password: ";
    [[maybe_unused]] auto shown = ::write(tty, prompt, sizeof prompt - 1);
    std::string password;
    char c = 0;
    while (::read(tty, &c, 1) == 1 && c != '\n' && c != '\r') password.push_back(c);
    if (canHideEcho) ::tcsetattr(tty, TCSAFLUSH, &saved);
    [[maybe_unused]] auto newline = ::write(tty, "\n", 1);
    ::close(tty);
    return password;
}

std::optional<std::string> fromFile(const std::string& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        complain("cannot read the password file " + file + ": " + std::strerror(errno));
        return std::nullopt;
    }
    auto line = firstLine(fd);
    ::close(fd);
    if (!line) complain("the password file is empty: " + file);
    return line;
}

std::optional<std::string> fromDescriptor(const std::string& number) {
    char* end = nullptr;
    errno = 0;
    const long fd = std::strtol(number.c_str(), &end, 10);
    if (number.empty() || *end != '\0' || errno != 0 || fd < 0 || fd > INT_MAX || ::fcntl(int(fd), F_GETFD) < 0) {
        complain("--password-fd needs an open file descriptor: " + number);
        return std::nullopt;
    }
    auto line = firstLine(int(fd));
    if (!line) complain("file descriptor " + number + " gave no password");
    return line;
}

}  // namespace

std::optional<std::string> obtainPassword(const CommandLine& line) {
    int given = 0;
    for (const auto& name : kPasswordOptions) given += line.value(name) ? 1 : 0;
    if (given > 1) {
        complain("give only one of --password-file, --password-fd and --password");
        return std::nullopt;
    }
    if (const auto file = line.value("password-file")) return fromFile(*file);
    if (const auto fd = line.value("password-fd")) return fromDescriptor(*fd);
    if (const auto password = line.value("password")) return password;
    if (const char* fromEnvironment = std::getenv("MIRADO_PASSWORD")) return std::string(fromEnvironment);
    if (!::isatty(STDIN_FILENO)) {
        if (auto piped = firstLine(STDIN_FILENO)) return piped;
    }
    if (auto asked = askOnTerminal()) return asked;
    complain("no password: give --password-file or --password-fd, set MIRADO_PASSWORD, pipe it in, or run on a "
             "terminal");
    return std::nullopt;
}

std::optional<ContainerKey> obtainKey(const CommandLine& line) {
    auto password = obtainPassword(line);
    if (!password) return std::nullopt;
    std::u16string text = toUtf16(*password);
    wipe(password->data(), password->size());
    // The password's last copy goes once the key is made, whichever way this ends.
    struct Forget {
        std::u16string& text;
        ~Forget() { wipe(text.data(), text.size() * sizeof(char16_t)); }
    } forget{text};
    if (text.empty()) {
        complain(toUtf8(kPasswordEmptyMessage));
        return std::nullopt;
    }
    if (!isValidPassword(text) || text.size() > std::size_t(kPasswordMaxLength)) {
        complain(toUtf8(kPasswordRuleMessage));
        return std::nullopt;
    }
    return AdditiveKeyCipher::keyFromPassword(text);
}

}  // namespace mirado::pack
