#include "results/results_viewer.h"

#include <cstring>
#include <string>

#include "common/paths.h"
#include "common/text_mode_reader.h"
#include "patch/file_buffer.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {

static_assert(kViewLimit + 1 <= FileBuffer::capacity());

bool OnViewResults(ViewState& state, InteractionPort& port, FileBuffer& buffer) {
    ChangeDirectory(state.startDirectory);
    std::FILE* report = std::fopen(kReportFileName, "rb");
    if (report == nullptr) {
        port.ShowMessage("Cannot open results file 'SEARCHPLAINTEXT'.\nIs it open elsewhere? ");
        return false;
    }
    ShowTextView(report, "SEARCH RESULTS", state, port, buffer);
    std::fclose(report);
    ChangeDirectory(state.rootPath);
    return true;
}

void ShowTextView(std::FILE* report, std::string_view heading, const ViewState& state,
                  InteractionPort& port, FileBuffer& buffer) {
    port.BeginWait();
    port.SetStatusText("Setting up view. This may take some time...");
    port.DrainMessages();

    const std::size_t limit = state.restrictResults ? kRestrictedViewLimit : kViewLimit;
    char* text = reinterpret_cast<char*>(buffer.data());
    const std::size_t count = TextModeReader(report).Read(text, limit, false);
    text[count] = '\0';
    const std::string_view body(text, std::strlen(text));

    std::string title(heading);
    if (count == limit) {
        title += state.restrictResults ? " (truncated to 50,000 chars.)"
                                       : " (truncated to 200,000 chars.)";
    } else if (count == 0) {
        title += " Error in loading text for viewing.";
    }
    port.SetStatusText("Ready");
    port.EndWait();
    port.DrainMessages();
    port.ShowTextView(body, title);
}

}  // namespace fennory
