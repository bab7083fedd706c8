#pragma once

#include "patch/file_buffer.h"
#include "patch/parameter_table.h"
#include "patch/patch_run.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {

// The one view: it owns the state that passes from command to command, the parameter table and
// the file buffer, and runs every working command through its interaction port.
class FennoryView {
  public:
    explicit FennoryView(InteractionPort& port) : port_(port) {}
    FennoryView(const FennoryView&) = delete;
    FennoryView& operator=(const FennoryView&) = delete;

    // First initialisation; called once, before any command.
    void OnInitialUpdate() { InitialiseViewState(state_); }

    // Restrict Results: toggles the smaller read limits. The menu item's check mark follows
    // IsRestrictResultsChecked.
    void OnRestrictResults() { state_.restrictResults ^= 1; }
    bool IsRestrictResultsChecked() const { return state_.restrictResults == 1; }

    // Set Path: the folder dialog, then rootPath and pathChosen.
    void OnSetPath();
    // The catalogue build on its own (the batch tool's catalogue command).
    bool BuildCatalogue();
    // Search Option: the dialog, then the patch run when its values pass.
    PatchRunOutcome OnSearchOption();
    // View Results: true when the View Text dialog was shown.
    bool OnViewResults();
    // Print Results: true when the spooler took the report.
    bool OnPrintResults();

    ViewState& State() { return state_; }
    const ViewState& State() const { return state_; }
    ParameterTable& Parameters() { return parameters_; }
    FileBuffer& Buffer() { return buffer_; }
    InteractionPort& Port() { return port_; }

  private:
    InteractionPort& port_;
    ViewState state_;
    ParameterTable parameters_;
    FileBuffer buffer_;
};

}  // namespace fennory
