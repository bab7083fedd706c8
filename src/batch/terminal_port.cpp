#include "terminal_port.h"

#include <fcntl.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>

#include "catalogue/catalogue_file.h"
#include "catalogue/folder_selection.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "patch/search_options.h"

namespace fennory::batch {
namespace {

volatile std::sig_atomic_t interrupts = 0;

void OnInterrupt(int) {
    if (interrupts > 0) {
        ::_exit(130);
    }
    interrupts = 1;
}

void Write(std::FILE* stream, std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stream);
}

constexpr std::string_view kFileProgress = "Searching file #";

}  // namespace

TerminalPort::TerminalPort(const BatchRequest& request)
    : request_(request),
      startDirectory_(CurrentDirectory()),
      statusOnTerminal_(::isatty(STDERR_FILENO) == 1) {}

void TerminalPort::CatchInterrupts() {
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
}

void TerminalPort::ShowMessage(std::string_view text) {
    ClearStatusLine();
    Write(stdout, text);
    if (text.empty() || text.back() != '\n') {
        std::fputc('\n', stdout);
    }
    std::fflush(stdout);
}

bool TerminalPort::Ask(std::string_view question) {
    ClearStatusLine();
    Write(stdout, question);
    if (request_.answer || ::isatty(STDIN_FILENO) != 1) {
        std::fputc('\n', stdout);
        std::fflush(stdout);
        return request_.answer.value_or(false);
    }
    for (;;) {
        Write(stdout, " [y/n] ");
        std::fflush(stdout);
        char line[64];
        if (std::fgets(line, sizeof line, stdin) == nullptr) {
            std::fputc('\n', stdout);
            return false;
        }
        if (line[0] == 'y' || line[0] == 'Y') {
            return true;
        }
        if (line[0] == 'n' || line[0] == 'N') {
            return false;
        }
    }
}

void TerminalPort::SetStatusText(std::string_view text) {
    if (text == "Searching...") {
        runStart_ = std::chrono::steady_clock::now();
        runTotal_ = CatalogueCount();
    }
    if (!statusOnTerminal_) {
        return;
    }
    std::string line(text);
    if (text.substr(0, kFileProgress.size()) == kFileProgress) {
        const long done = LeadingDecimal(text.substr(kFileProgress.size()));
        const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::steady_clock::now() - runStart_)
                                 .count();
        if (runTotal_) {
            AppendFormat(line, "  (%ld of %u files", done, *runTotal_);
        } else {
            AppendFormat(line, "  (%ld files", done);
        }
        AppendFormat(line, ", %lld:%02lld)", static_cast<long long>(seconds / 60),
                     static_cast<long long>(seconds % 60));
    }
    Write(stderr, "\r\033[K");
    Write(stderr, line);
    std::fflush(stderr);
    statusShown_ = true;
}

void TerminalPort::ClearStatusLine() {
    if (statusShown_) {
        Write(stderr, "\r\033[K");
        std::fflush(stderr);
        statusShown_ = false;
    }
}

bool TerminalPort::DrainMessages() {
    if (interrupts > interruptsSeen_) {
        interruptsSeen_ = interrupts;
        return true;
    }
    return false;
}

void TerminalPort::Beep() {
    if (::isatty(STDERR_FILENO) == 1) {
        Write(stderr, "\a");
        std::fflush(stderr);
    } else if (::isatty(STDOUT_FILENO) == 1) {
        Write(stdout, "\a");
        std::fflush(stdout);
    }
}

FolderChoice TerminalPort::ChooseFolder(std::string_view, std::string_view marker) {
    if (!request_.root) {
        return {};
    }
    FolderChoice choice;
    choice.confirmed = true;
    choice.path = RootFolderPath(*request_.root, startDirectory_);
    choice.path += marker;
    return choice;
}

bool TerminalPort::ShowSearchOptions(SearchOptionsFields& fields) {
    const std::pair<const std::optional<std::string>&, std::string&> boxes[] = {
        {request_.enginePower, fields.engineText},
        {request_.rudderDrag, fields.rudderText},
        {request_.gcHeight, fields.gravityText},
        {request_.surfaceDrag, fields.surfaceText},
    };
    for (const auto& [typed, box] : boxes) {
        if (typed && typed->size() > kSearchTextLimit) {
            ShowMessage(FormatText("Please enter no more than %zu characters.", kSearchTextLimit));
            return false;
        }
    }
    for (const auto& [typed, box] : boxes) {
        if (typed) {
            box = *typed;
        }
    }
    fields.remakeCheck = request_.remake ? 1 : 0;
    return true;
}

void TerminalPort::ShowTextView(std::string_view body, std::string_view title) {
    ClearStatusLine();
    Write(stdout, title);
    std::fputc('\n', stdout);
    Write(stdout, body);
    std::fflush(stdout);
}

std::optional<std::uint32_t> TerminalPort::CatalogueCount() const {
    // The count line stands last; its tail is enough.
    const std::string path = JoinPath(startDirectory_, kCatalogueName);
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    char tail[256];
    const off_t size = ::lseek(fd, 0, SEEK_END);
    const off_t from =
        size > static_cast<off_t>(sizeof tail) ? size - static_cast<off_t>(sizeof tail) : 0;
    const ssize_t got = ::pread(fd, tail, sizeof tail, from);
    ::close(fd);
    if (got <= 0) {
        return std::nullopt;
    }
    std::string_view text(tail, static_cast<std::size_t>(got));
    const std::size_t lineStart = text.rfind('\n');
    const std::string_view last =
        lineStart == std::string_view::npos ? text : text.substr(lineStart + 1);
    if (last.find(kCountLineMark) == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(LeadingDecimal(last));
}

}  // namespace fennory::batch
