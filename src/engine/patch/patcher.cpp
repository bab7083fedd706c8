#include "patch/patcher.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "common/deferred_append_stream.h"
#include "common/file_io.h"
#include "common/text_format.h"
#include "common/text_lines.h"
#include "patch/property_search.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

constexpr double kSmallestChange = 0.00005;
constexpr double kMinimumMass = 500.0;
constexpr double kFastShipSpeed = 19.5;
constexpr float kFastShipDragIncrement = 0.01f;

int OpenForPatching(const std::string& path, bool& writable) {
    // Opening for reading and writing at once saves a second open per file; a file that refuses
    // writing is still read and patched in memory, and its entry says it could not be saved.
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    writable = fd >= 0;
    if (!writable) {
        fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    }
    return fd;
}

ssize_t ReadOnce(int fd, unsigned char* into, std::size_t limit) {
    for (;;) {
        const ssize_t got = ::read(fd, into, limit);
        if (got >= 0 || errno != EINTR) {
            return got;
        }
    }
}

}  // namespace

Patcher::Patcher(ViewState& state, InteractionPort& port, const ParameterTable& table,
                 FileBuffer& buffer)
    : state_(state), port_(port), table_(table), buffer_(buffer) {}

Patcher::~Patcher() {
    EndRun();
}

void Patcher::EndRun() {
    if (reportFd_ >= 0) {
        ::close(reportFd_);
        reportFd_ = -1;
    }
    reportFdPath_.clear();
}

bool Patcher::OpenReport() {
    if (reportFd_ >= 0 && reportFdPath_ == state_.reportPath) {
        return true;
    }
    EndRun();
    reportFd_ = ::open(state_.reportPath.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (reportFd_ < 0) {
        return false;
    }
    reportFdPath_ = state_.reportPath;
    return true;
}

bool Patcher::PatchFile(const std::string& path, std::uint32_t& filesExamined,
                        DeferredAppendStream& runStream) {
    bool writable = false;
    const int fd = OpenForPatching(path, writable);
    if (fd < 0) {
        state_.messageText = "Error in opening file ";
        state_.messageText += path;
        state_.messageText += " from 'DIR4.TXT'.";
        port_.ShowMessage(state_.messageText);
        return false;
    }
    if (path.find('/') == std::string::npos) {
        port_.ShowMessage("Cannot extract file name from full path name.");
        ::close(fd);
        return false;
    }

    state_.bufferLength = 0;
    const std::int32_t limit = state_.restrictResults ? kRestrictedReadLimit : kReadLimit;
    unsigned char* data = buffer_.data();
    const ssize_t got = ReadOnce(fd, data, static_cast<std::size_t>(limit));
    state_.bufferLength = got > 0 ? static_cast<std::int32_t>(got) : 0;
    data[state_.bufferLength] = 0xFF;

    bool logged = true;
    if (got < 0) {
        runStream.Write("ERROR IN READING A LINE OF DATA.\n");
    } else {
        logged = PatchBuffer(path, writable ? fd : -1);
    }
    ::close(fd);
    if (!logged) {
        return false;
    }
    ++filesExamined;
    return true;
}

bool Patcher::PatchBuffer(const std::string& path, int writableFd) {
    if (!OpenReport()) {
        // A patch nobody can see is worse than none: the file is left as it is.
        state_.messageText = "Cannot open the patch report '";
        state_.messageText += state_.reportPath;
        state_.messageText += "' for appending.\nFile ";
        state_.messageText += path;
        state_.messageText += " was not patched.";
        port_.ShowMessage(state_.messageText);
        return false;
    }

    entry_.clear();
    entry_ += "\nFile ";
    entry_ += path;
    entry_ += " found.\n";

    unsigned char* const data = buffer_.data();
    const unsigned char* const dataEnd = data + state_.bufferLength;
    found_.fill(0.0f);
    const unsigned char* searchStart = data;
    std::size_t changedFirst = static_cast<std::size_t>(state_.bufferLength);
    std::size_t changedEnd = 0;

    for (std::size_t slot = 0; slot < kParameterCount; ++slot) {
        const Parameter& parameter = table_.entries[slot];
        const PropertyMatch match =
            FindProperty(searchStart, parameter.name, dataEnd - searchStart);
        entry_ += "Parameter ";
        entry_ += parameter.name;
        if (!match.found) {
            entry_ += " not found!\n";
            searchStart = data;
            continue;
        }
        entry_ += " found.\n";
        unsigned char* const value = data + (match.value - data);
        searchStart = value;
        found_[slot] = LoadFloat(value);

        if (std::fabs(static_cast<double>(parameter.newValue)) < kSmallestChange) {
            continue;
        }
        if (static_cast<double>(found_[kMass]) < kMinimumMass) {
            continue;  // light craft keep their handling; for slot 0 the mass is not yet known
        }
        float stored = parameter.newValue;
        if (slot == kEnginePower) {
            stored = static_cast<float>(static_cast<double>(found_[kEnginePower]) *
                                        static_cast<double>(parameter.newValue) / 100.0);
        } else if (slot == kRudderDrag && static_cast<double>(found_[kMaxSpeed]) > kFastShipSpeed) {
            stored = static_cast<float>(static_cast<double>(parameter.newValue) +
                                        static_cast<double>(kFastShipDragIncrement));
        }
        unsigned char before[kValueSize];
        std::memcpy(before, value, kValueSize);
        StoreFloat(value, stored);
        if (std::memcmp(before, value, kValueSize) != 0) {
            const auto offset = static_cast<std::size_t>(value - data);
            changedFirst = std::min(changedFirst, offset);
            changedEnd = std::max(changedEnd, offset + kValueSize);
        }
        AppendFormat(entry_, "And fixed. (Was %6.3f, now %6.3f)\n",
                     static_cast<double>(found_[slot]), static_cast<double>(LoadFloat(value)));
    }

    if (writableFd < 0) {
        entry_ += "Cannot open the output file '";
        entry_ += path;
        entry_ += "' to save revised file.\n";
    } else if (changedEnd > changedFirst) {
        WriteBack(path, writableFd, changedFirst, changedEnd);
    }

    diskText_.clear();
    AppendCrLf(diskText_, entry_);
    WriteAll(reportFd_, diskText_.data(), diskText_.size());
    return true;
}

void Patcher::WriteBack(const std::string& path, int writableFd, std::size_t first,
                        std::size_t end) {
    // One write covering every changed value; the bytes between them are the file's own.
    const unsigned char* from = buffer_.data() + first;
    std::size_t left = end - first;
    auto offset = static_cast<off_t>(first);
    while (left > 0) {
        const ssize_t put = ::pwrite(writableFd, from, left, offset);
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put <= 0) {
            break;
        }
        from += put;
        left -= static_cast<std::size_t>(put);
        offset += put;
    }
    if (left > 0) {
        entry_ += "Error in saving revised file '";
        entry_ += path;
        entry_ += "': not every changed value could be written.\n";
    }
}

}  // namespace fennory
