#pragma once

namespace fennory {

class InteractionPort;
struct ViewState;

// Print Results: after "Are you sure?", copies the patch report to the printer and ends the
// job with a form feed. True when the spooler took the whole job; every outcome is shown.
bool OnPrintResults(ViewState& state, InteractionPort& port);

}  // namespace fennory
