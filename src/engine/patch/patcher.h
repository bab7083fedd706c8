#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "patch/file_buffer.h"
#include "patch/parameter_table.h"

namespace fennory {

class DeferredAppendStream;
class InteractionPort;
struct ViewState;

inline constexpr std::int32_t kReadLimit = 199990;
inline constexpr std::int32_t kRestrictedReadLimit = 49990;
static_assert(kReadLimit + 1 + 4 <= static_cast<std::int32_t>(FileBuffer::capacity()));

// Patches one ship file at a time by the parameter table's rules and appends its entry to the
// patch report named by the view state's reportPath.
//
// Only the first read-limit bytes of a file are searched. The write-back changes the value bytes
// of the changed properties in place and nothing else: the file keeps its length, its other
// bytes, its permissions and its inode, so a file longer than the read limit loses nothing.
class Patcher {
  public:
    Patcher(ViewState& state, InteractionPort& port, const ParameterTable& table,
            FileBuffer& buffer);

    // Loads, patches and logs one file. True when the file was opened and its path passed the
    // name check, whether or not the read succeeded; `filesExamined` then goes up by one. False
    // after a message box: the file could not be opened, its path names no folder, or the patch
    // report could not be opened (the file is then left alone).
    bool PatchFile(const std::string& path, std::uint32_t& filesExamined,
                   DeferredAppendStream& runStream);

    // The patch report is opened at the first file of a run and each entry is appended to it
    // as soon as its file is done; the run closes it after its last file.
    void EndRun();

    ~Patcher();
    Patcher(const Patcher&) = delete;
    Patcher& operator=(const Patcher&) = delete;

  private:
    // Patches the loaded bytes, writes the changes through `writableFd` (-1 when the file could
    // not be opened for writing) and appends the entry. False when the report cannot be opened.
    bool PatchBuffer(const std::string& path, int writableFd);
    bool OpenReport();
    void WriteBack(const std::string& path, int writableFd, std::size_t first, std::size_t end);

    ViewState& state_;
    InteractionPort& port_;
    const ParameterTable& table_;
    FileBuffer& buffer_;
    int reportFd_ = -1;
    std::string reportFdPath_;  // the reportPath reportFd_ was opened for
    std::array<float, kParameterCount> found_{};
    std::string entry_;     // the file's report entry, built in memory
    std::string diskText_;  // the same with CR LF line breaks
};

}  // namespace fennory
