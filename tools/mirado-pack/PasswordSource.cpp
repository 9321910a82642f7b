#include "PasswordSource.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cstdlib>

namespace mirado::pack {
namespace {

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

}  // namespace

std::optional<std::string> obtainPassword(const std::optional<std::string>& fromOption) {
    if (fromOption) return fromOption;
    if (const char* fromEnvironment = std::getenv("MIRADO_PASSWORD")) return std::string(fromEnvironment);
    return askOnTerminal();
}

}  // namespace mirado::pack

#include "Commands.h"
#include "container/AdditiveKeyCipher.h"
#include "container/PasswordRule.h"
#include "container/SecretMemory.h"
#include "container/Utf.h"

namespace mirado::pack {

std::optional<ContainerKey> obtainKey(const std::optional<std::string>& fromOption) {
    auto password = obtainPassword(fromOption);
    if (!password) {
        complain("no password: give --password, set MIRADO_PASSWORD, or run on a terminal");
        return std::nullopt;
    }
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
