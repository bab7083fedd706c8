#include "patch/patch_run.h"

#include <chrono>
#include <cstdio>
#include <memory>
#include <string_view>

#include "catalogue/catalogue_builder.h"
#include "catalogue/catalogue_file.h"
#include "common/deferred_append_stream.h"
#include "common/file_io.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "common/text_lines.h"
#include "patch/patcher.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

constexpr char kResultsName[] = "SEARCHRES.TXT";
constexpr char kReportName[] = "SEARCHPLAINTEXT.TXT";

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

bool AllTextsAtTheirDefaults(const ViewState& state) {
    return state.enginePowerText == state.enginePowerDefault &&
           state.rudderDragText == state.rudderDragDefault &&
           state.gravityHeightText == state.gravityHeightDefault &&
           state.surfaceDragText == state.surfaceDragDefault;
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

MillisecondClock SteadyMilliseconds() {
    return [] {
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now).count();
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(ms));
    };
}

std::string FormatElapsed(std::int32_t startTicks, std::int32_t endTicks) {
    const auto elapsed = static_cast<std::int32_t>(static_cast<std::uint32_t>(endTicks) -
                                                   static_cast<std::uint32_t>(startTicks));
    const auto seconds = static_cast<float>(elapsed / 1000.0);
    const auto wholeMinutes =
        static_cast<std::int16_t>(static_cast<std::int32_t>(static_cast<double>(seconds) / 60.0));
    const int hours = wholeMinutes / 60;
    const int minutes = wholeMinutes % 60;
    const float remaining = seconds - static_cast<float>(60 * wholeMinutes);
    return FormatText("%2.2d:%2.2d:%05.2f\n", hours, minutes, static_cast<double>(remaining));
}

PatchRunOutcome PatchRun::RunPatch() {
    CatalogueBuilder builder(state_, port_);
    if (state_.remakeCatalogue == 1 && !builder.BuildCatalogue()) {
        return PatchRunOutcome::kStopped;
    }
    if (AllTextsAtTheirDefaults(state_)) {
        port_.ShowMessage("You must select a SEARCH item \nBEFORE you use the Search routines!");
        return PatchRunOutcome::kStopped;
    }

    File catalogue(std::fopen(JoinPath(state_.startDirectory, kCatalogueName).c_str(), "rb"));
    if (!catalogue) {
        if (port_.AskYesNo("Cannot open 'dir4.txt'.\nShall I create it?")) {
            builder.BuildCatalogue();
        }
        return PatchRunOutcome::kStopped;
    }
    TextLineReader lines(catalogue.get());
    std::string_view line;
    bool ended = false;
    const std::string header = lines.Next(line, ended) ? std::string(line) : std::string("NUL");
    if (state_.pathChosen == 0) {
        state_.rootPath = header;
    } else if (!EqualIgnoringCase(header, state_.rootPath)) {
        state_.messageText =
            "Header for 'DIR4.TXT' (" + header + ") does not match subdirectory you selected.";
        port_.ShowMessage(state_.messageText);
        return PatchRunOutcome::kStopped;
    }

    const std::string resultsPath = JoinPath(state_.startDirectory, kResultsName);
    if (!TruncateFile(resultsPath)) {
        port_.ShowMessage("Cannot open output file " + resultsPath + ". Already open elsewhere?");
        port_.SetStatusText(" ");
        return PatchRunOutcome::kStopped;
    }
    DeferredAppendStream results;  // held open for the run; nothing is written to it
    results.Open(resultsPath);

    const std::string reportPath = JoinPath(state_.startDirectory, kReportName);
    state_.reportPath = reportPath;
    if (!TruncateFile(reportPath)) {
        port_.ShowMessage("Cannot open plain text output file " + reportPath +
                          ". Already open elsewhere?");
        port_.SetStatusText(" ");
        return PatchRunOutcome::kStopped;
    }
    DeferredAppendStream runReport;
    runReport.Open(reportPath);

    const std::int32_t startTicks = clock_();
    port_.BeginWait();
    port_.SetStatusText("Searching...");
    port_.DrainMessages();  // an Escape pressed before the run starts is spent here
    std::uint32_t filesExamined = 0;
    state_.fileCount = 0;
    bool escaped = false;

    Patcher patcher(state_, port_, table_, buffer_);
    std::string path;
    while (lines.Next(line, ended)) {
        if (line.find(kCountLineMark) != std::string_view::npos) {
            state_.fileCount = static_cast<std::uint32_t>(LeadingDecimal(line));
            if (state_.fileCount == 0) {
                port_.ShowMessage(
                    "No files found! Set path to a different folder and re-make directory "
                    "structure.");
            }
            break;
        }
        if (line.find(state_.rootPath) == std::string_view::npos) {
            continue;
        }
        path.assign(line);
        if (!patcher.PatchFile(path, filesExamined, runReport) &&
            !port_.AskYesNo("File error.\nShall I continue?")) {
            break;
        }
        port_.SetStatusText(FormatText("Searching file #%u", filesExamined));
        if (port_.DrainMessages()) {
            runReport.Write("\nEscape pressed. Incomplete search.");
            escaped = true;
            break;
        }
    }

    catalogue.reset();
    results.Close();
    patcher.EndRun();
    runReport.Close();
    port_.SetStatusText("Ready");
    port_.EndWait();
    const std::int32_t endTicks = clock_();

    if (escaped) {
        port_.ShowMessage("Escape pressed. Incomplete search and exit.");
        return PatchRunOutcome::kEscaped;
    }
    if (filesExamined != state_.fileCount) {
        state_.messageText =
            FormatText("Discrepancy between files saved %u and files searched %u.\n",
                       state_.fileCount, filesExamined);
        state_.messageText += "Probably need to re-make sub-directories.";
        port_.ShowMessage(state_.messageText);
    }
    if (state_.fileCount == 0) {
        return PatchRunOutcome::kStopped;
    }
    const std::string elapsed = FormatElapsed(startTicks, endTicks);
    port_.Beep();
    state_.messageText = FormatText(
        "Search complete.\nNo. of sim files examined was %u.\nTime taken for search was %s\n",
        filesExamined, elapsed.c_str());
    port_.ShowMessage(state_.messageText);
    return PatchRunOutcome::kSummary;
}

}  // namespace fennory
