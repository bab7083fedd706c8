#include "results/printer_pipe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "common/text_lines.h"

namespace fennory {

PrinterPipe::~PrinterPipe() {
    Close();
}

bool PrinterPipe::Open() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, ends[0], STDIN_FILENO);
    const int spawned = ::posix_spawnp(&child_, kSpoolerCommand[0], &actions, nullptr,
                                       const_cast<char* const*>(kSpoolerCommand), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        child_ = -1;  // no spooler to be found: nothing can be printed
        ::close(ends[0]);
        ::close(ends[1]);
        return false;
    }
    ::close(ends[0]);
    stream_ = ::fdopen(ends[1], "w");
    if (stream_ == nullptr) {
        ::close(ends[1]);
        failed_ = true;
        return true;  // the child still has to be collected; Close reports the failure
    }
    // A spooler that has already given up must not take the program down mid-report.
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    ::sigaction(SIGPIPE, &ignore, &savedPipeAction_);
    return true;
}

void PrinterPipe::Write(std::string_view text) {
    if (stream_ != nullptr && !failed_ && !WriteCrLf(stream_, text)) {
        failed_ = true;
    }
}

bool PrinterPipe::Close() {
    if (child_ < 0) {
        return false;
    }
    if (stream_ != nullptr) {
        failed_ = std::fclose(stream_) != 0 || failed_;
        stream_ = nullptr;
        ::sigaction(SIGPIPE, &savedPipeAction_, nullptr);
    }
    int status = 0;
    while (::waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    child_ = -1;
    return !failed_ && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace fennory
