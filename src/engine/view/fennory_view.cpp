#include "view/fennory_view.h"

#include "catalogue/catalogue_builder.h"
#include "catalogue/folder_selection.h"
#include "patch/search_options.h"
#include "results/results_printer.h"
#include "results/results_viewer.h"

namespace fennory {

void FennoryView::OnSetPath() {
    fennory::OnSetPath(state_, port_);
}

bool FennoryView::BuildCatalogue() {
    return CatalogueBuilder(state_, port_).BuildCatalogue();
}

PatchRunOutcome FennoryView::OnSearchOption() {
    if (!AskSearchOptions(state_, port_, parameters_)) {
        return PatchRunOutcome::kStopped;
    }
    return PatchRun(state_, port_, parameters_, buffer_).RunPatch();
}

bool FennoryView::OnViewResults() {
    return fennory::OnViewResults(state_, port_, buffer_);
}

bool FennoryView::OnPrintResults() {
    return fennory::OnPrintResults(state_, port_);
}

}  // namespace fennory
