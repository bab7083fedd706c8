#include "common/deferred_append_stream.h"

#include <fcntl.h>
#include <unistd.h>

#include "common/file_io.h"
#include "common/text_lines.h"

namespace fennory {

DeferredAppendStream::~DeferredAppendStream() {
    Close();
}

bool DeferredAppendStream::Open(const std::string& path) {
    Close();
    fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

void DeferredAppendStream::Write(std::string_view text) {
    if (fd_ >= 0) {
        AppendCrLf(pending_, text);
    }
}

bool DeferredAppendStream::Close() {
    if (fd_ < 0) {
        return true;
    }
    bool ok = WriteAll(fd_, pending_.data(), pending_.size());
    ok = ::close(fd_) == 0 && ok;
    fd_ = -1;
    pending_.clear();
    return ok;
}

}  // namespace fennory
