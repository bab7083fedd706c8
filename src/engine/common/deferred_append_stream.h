#pragma once

#include <string>
#include <string_view>

namespace fennory {

// An append stream whose text reaches its file only when the stream is closed. The patch run
// holds one on the patch report for the whole run, so what it writes lands after every entry
// the patcher appends on its own in the meantime. Line breaks are stored as CR LF.
class DeferredAppendStream {
  public:
    DeferredAppendStream() = default;
    ~DeferredAppendStream();
    DeferredAppendStream(const DeferredAppendStream&) = delete;
    DeferredAppendStream& operator=(const DeferredAppendStream&) = delete;

    // Opens (creating if needed) the file for appending; false when it cannot be opened.
    bool Open(const std::string& path);
    // Kept in memory until Close; ignored while the stream is not open.
    void Write(std::string_view text);
    // Appends everything written and closes; false when not all of it reached the file.
    bool Close();

  private:
    int fd_ = -1;
    std::string pending_;
};

}  // namespace fennory
