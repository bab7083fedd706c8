// fennory-batch: the engine driven from a terminal, one command per invocation.
#include <cstdio>
#include <variant>

#include "batch_request.h"
#include "terminal_port.h"
#include "view/fennory_view.h"

namespace {

using fennory::batch::BatchRequest;
using fennory::batch::Command;

int RunCommand(const BatchRequest& request) {
    fennory::batch::TerminalPort port(request);
    fennory::batch::TerminalPort::CatchInterrupts();
    fennory::FennoryView view(port);
    view.OnInitialUpdate();
    if (request.root) {
        view.OnSetPath();
    }
    if (request.restrict) {
        view.OnRestrictResults();
    }

    switch (request.command) {
        case Command::kCatalogue:
            return view.BuildCatalogue() ? 0 : 1;
        case Command::kPatch:
            switch (view.OnSearchOption()) {
                case fennory::PatchRunOutcome::kSummary:
                    return 0;
                case fennory::PatchRunOutcome::kEscaped:
                    return 130;
                case fennory::PatchRunOutcome::kStopped:
                    return 1;
            }
            return 1;
        case Command::kReport:
            return view.OnViewResults() ? 0 : 1;
        case Command::kPrint:
            return view.OnPrintResults() ? 0 : 1;
        default:
            return 2;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = fennory::batch::ParseArguments(argc, argv);
    if (const auto* error = std::get_if<fennory::batch::UsageError>(&parsed)) {
        std::fprintf(stderr, "fennory-batch: %s\n", error->text.c_str());
        std::fputs(fennory::batch::UsageText(), stderr);
        return 2;
    }
    const auto& request = std::get<BatchRequest>(parsed);
    if (request.command == Command::kHelp) {
        std::fputs(fennory::batch::UsageText(), stdout);
        return 0;
    }
    if (request.command == Command::kVersion) {
        std::fputs(fennory::batch::kVersionText, stdout);
        return 0;
    }
    return RunCommand(request);
}
