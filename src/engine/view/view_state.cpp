#include "view/view_state.h"

#include "common/paths.h"

namespace fennory {

void InitialiseViewState(ViewState& state) {
    state.remakeCatalogue = 0;
    state.enginePowerText.assign(1, '0');
    state.enginePowerDefault = state.enginePowerText;
    state.rudderDragText.assign(1, '0');
    state.gravityHeightText = state.rudderDragText;
    state.rudderDragDefault = state.rudderDragText;
    state.surfaceDragText = state.rudderDragText;
    state.gravityHeightDefault = state.gravityHeightText;
    state.surfaceDragDefault = state.surfaceDragText;
    state.pathChosen = 0;
    state.restrictResults = 0;
    state.startDirectory = CurrentDirectory();
    state.rootPath.clear();
}

}  // namespace fennory
