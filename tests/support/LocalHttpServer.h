#pragma once
// A web server on 127.0.0.1 (python3's http.server on a free port) serving one folder and noting every
// path asked for, so a test can tell whether anything was fetched. Stopped when the object goes.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include "tests/support/TempDir.h"

extern char** environ;

namespace mirado::testing {

class LocalHttpServer {
public:
    explicit LocalHttpServer(const std::filesystem::path& folder) {
        const std::string script =
            "import functools, http.server, sys\n"
            "log, port_file, folder = sys.argv[1], sys.argv[2], sys.argv[3]\n"
            "class Handler(http.server.SimpleHTTPRequestHandler):\n"
            "    def log_message(self, *args):\n"
            "        with open(log, 'a') as out: out.write(self.path + '\\n')\n"
            "server = http.server.ThreadingHTTPServer(('127.0.0.1', 0), functools.partial(Handler, directory=folder))\n"
            "with open(port_file + '.tmp', 'w') as out: out.write(str(server.server_address[1]))\n"
            "import os; os.rename(port_file + '.tmp', port_file)\n"
            "server.serve_forever()\n";
        const std::string log = requestLog().string(), portFile = (state_ / "port").string(),
                          served = folder.string();
        const char* argv[] = {"python3", "-c", script.c_str(), log.c_str(), portFile.c_str(), served.c_str(), nullptr};
        if (posix_spawnp(&pid_, "python3", nullptr, nullptr, const_cast<char**>(argv), environ) != 0) {
            pid_ = 0;
            return;
        }
        for (int i = 0; i < 500 && port_ == 0; ++i) {
            std::ifstream in(portFile);
            if (!(in >> port_)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;
    ~LocalHttpServer() {
        if (pid_ == 0) return;
        ::kill(pid_, SIGTERM);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

    // 0 when the server did not start.
    int port() const { return port_; }
    std::string url(const std::string& name) const {
        return "http://127.0.0.1:" + std::to_string(port_) + "/" + name;
    }
    // Asks for `name` itself (HEAD) and returns the answer's first line ("" when there was none): proves the
    // server answers and notes what it was asked.
    std::string get(const std::string& name) const {
        const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(std::uint16_t(port_));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        std::string answer;
        if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
            const std::string request = "HEAD /" + name + " HTTP/1.0\r\n\r\n";
            if (::write(fd, request.data(), request.size()) == ssize_t(request.size())) {
                char buffer[256];
                const ssize_t got = ::read(fd, buffer, sizeof buffer);
                if (got > 0) answer.assign(buffer, std::size_t(got));
            }
        }
        ::close(fd);
        return answer.substr(0, answer.find('\r'));
    }
    // Every path asked for so far, one per line.
    std::string requests() const {
        std::ifstream in(requestLog());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    std::filesystem::path requestLog() const { return state_ / "requests"; }

    TempDir state_;
    pid_t pid_ = 0;
    int port_ = 0;
};

}  // namespace mirado::testing
