#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace fennory {

class FileBuffer;
class InteractionPort;
struct ParameterTable;
struct ViewState;

// How a patch run ended, for callers that report it (the batch tool's exit status).
enum class PatchRunOutcome {
    kSummary,  // reached the "Search complete." summary
    kEscaped,  // ended by Escape after a file
    kStopped,  // ended on a refusal, a failure or No, without a summary
};

// Elapsed milliseconds as the run reads them; any steady source will do.
using MillisecondClock = std::function<std::int32_t()>;
MillisecondClock SteadyMilliseconds();

// "hh:mm:ss.ss\n" for the time between two clock readings. Seconds are printed to two decimals
// after the whole minutes were taken, so 59.999 s prints as 00:00:60.00.
std::string FormatElapsed(std::int32_t startTicks, std::int32_t endTicks);

// The working half of Search Option: rebuilds the catalogue when asked, checks it belongs to
// the root folder, empties the results file and the patch report, and hands every catalogued
// file to the patcher, with progress, Escape, the count check and the closing summary.
class PatchRun {
  public:
    PatchRun(ViewState& state, InteractionPort& port, const ParameterTable& table,
             FileBuffer& buffer, MillisecondClock clock = SteadyMilliseconds())
        : state_(state), port_(port), table_(table), buffer_(buffer), clock_(std::move(clock)) {}

    PatchRunOutcome RunPatch();

  private:
    ViewState& state_;
    InteractionPort& port_;
    const ParameterTable& table_;
    FileBuffer& buffer_;
    MillisecondClock clock_;
};

}  // namespace fennory
