#include "results/results_printer.h"

#include <cstdio>
#include <string_view>

#include "common/paths.h"
#include "common/text_format.h"
#include "common/text_mode_reader.h"
#include "results/printer_pipe.h"
#include "results/results_viewer.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {

bool OnPrintResults(ViewState& state, InteractionPort& port) {
    if (!port.AskOkCancel("Print results.\nAre you sure?")) {
        return false;
    }
    ChangeDirectory(state.startDirectory);
    std::FILE* report = std::fopen(kReportFileName, "rb");
    if (report == nullptr) {
        state.messageText = FormatText("Cannot open file '%s' to print results.", kReportFileName);
        port.ShowMessage(state.messageText);
        return false;
    }

    bool printed = false;
    PrinterPipe printer;
    if (printer.Open()) {
        TextModeReader reader(report);
        char piece[1000];
        while (const std::size_t length = reader.Read(piece, sizeof piece - 1, true)) {
            printer.Write(std::string_view(piece, length));
        }
        printer.Write("\f");
        printed = printer.Close();
    }
    // A spooler that could not be started, refused the job or stopped reading is a printer
    // that did not print.
    state.messageText =
        printed ? "Results sent to printer." : "Printer error. Is it connected and powered?";
    std::fclose(report);
    ChangeDirectory(state.rootPath);
    port.ShowMessage(state.messageText);
    return printed;
}

}  // namespace fennory
