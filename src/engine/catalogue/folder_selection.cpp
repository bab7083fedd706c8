#include "catalogue/folder_selection.h"

#include <string>

#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {

void OnSetPath(ViewState& state, InteractionPort& port) {
    const FolderChoice choice = port.ChooseFolder(kFolderDialogTitle, kFolderMarker);
    if (!choice.confirmed) {
        return;
    }
    const std::size_t marker = choice.path.find(kFolderMarker);
    if (marker == std::string::npos || marker == 0 || choice.extendedError != 0) {
        port.ShowMessage("Error with selection of sub-directory from File Selector.");
        return;
    }
    state.rootPath = choice.path.substr(0, marker);
    state.pathChosen = 1;
}

}  // namespace fennory
