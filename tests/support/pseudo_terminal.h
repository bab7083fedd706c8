#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace fennory::testing {

// A program run on a pseudo-terminal, as a user at a terminal would run it: standard input,
// output and error are all the terminal.
class TerminalSession {
  public:
    TerminalSession(const std::vector<std::string>& args, const std::string& cwd);
    ~TerminalSession();
    TerminalSession(const TerminalSession&) = delete;
    TerminalSession& operator=(const TerminalSession&) = delete;

    // Reads what the program shows until `text` has appeared (true) or the time is up.
    bool WaitFor(const std::string& text, std::chrono::seconds timeout);
    void Type(const std::string& keys);
    void Signal(int number);
    // Waits for the program to end; its exit status, or 128 + signal number.
    int Wait();
    // Everything shown so far, with the terminal's CR LF line ends as the program wrote them.
    const std::string& Screen() const { return screen_; }

  private:
    void ReadAvailable(int timeoutMs);

    pid_t pid_ = -1;
    int master_ = -1;
    std::string screen_;
};

}  // namespace fennory::testing
