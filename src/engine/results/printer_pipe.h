#pragma once

#include <sys/types.h>

#include <csignal>
#include <cstdio>
#include <string_view>

namespace fennory {

// The printer: a pipe to the system's print spooler, `lp` from CUPS, which prints to the
// user's default destination (or the one LPDEST or PRINTER names). This is the one place that
// names the spooler.
inline constexpr const char* kSpoolerCommand[] = {"lp", "-s", nullptr};

// A text output stream to the spooler: '\n' goes out as CR LF. Close tells whether the
// spooler took the job: it must have read everything and exited with status 0.
class PrinterPipe {
  public:
    PrinterPipe() = default;
    ~PrinterPipe();
    PrinterPipe(const PrinterPipe&) = delete;
    PrinterPipe& operator=(const PrinterPipe&) = delete;

    bool Open();
    void Write(std::string_view text);
    bool Close();

  private:
    std::FILE* stream_ = nullptr;
    pid_t child_ = -1;
    bool failed_ = false;
    struct sigaction savedPipeAction_ {};
};

}  // namespace fennory
