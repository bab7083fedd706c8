#include "support/pseudo_terminal.h"

#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/process.h"

namespace fennory::testing {

TerminalSession::TerminalSession(const std::vector<std::string>& args, const std::string& cwd) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    pid_ = ::forkpty(&master_, nullptr, nullptr, nullptr);
    if (pid_ < 0) {
        throw std::runtime_error("forkpty failed");
    }
    if (pid_ == 0) {
        if (::chdir(cwd.c_str()) != 0) {
            ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
}

TerminalSession::~TerminalSession() {
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        WaitForExit(pid_);
    }
    if (master_ >= 0) {
        ::close(master_);
    }
}

void TerminalSession::ReadAvailable(int timeoutMs) {
    pollfd ready{master_, POLLIN, 0};
    if (::poll(&ready, 1, timeoutMs) <= 0) {
        return;
    }
    char chunk[4096];
    const ssize_t got = ::read(master_, chunk, sizeof chunk);
    if (got > 0) {
        screen_.append(chunk, static_cast<std::size_t>(got));
    }
}

bool TerminalSession::WaitFor(const std::string& text, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (screen_.find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        ReadAvailable(50);
    }
    return true;
}

void TerminalSession::Type(const std::string& keys) {
    if (::write(master_, keys.data(), keys.size()) != static_cast<ssize_t>(keys.size())) {
        throw std::runtime_error("cannot type on the terminal");
    }
}

void TerminalSession::Signal(int number) {
    ::kill(pid_, number);
}

int TerminalSession::Wait() {
    // Keep draining the terminal so the program never blocks on a full one.
    for (;;) {
        ReadAvailable(20);
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            pid_ = -1;
            ReadAvailable(0);
            if (WIFEXITED(status)) {
                return WEXITSTATUS(status);
            }
            return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
        }
    }
}

}  // namespace fennory::testing
