#pragma once

namespace fennory {

class InteractionPort;
struct ViewState;

// The folder dialog returns the chosen folder's path followed by this marker.
inline constexpr char kFolderMarker[] = "*.directories.only";
inline constexpr char kFolderDialogTitle[] = "Locate directory to search";

// Set Path: asks the port for a folder and stores the text before the marker as rootPath
// (normally ending in '/'), setting pathChosen. Cancel changes nothing; a path without the
// marker, with nothing before it, or with a dialog error gives one message.
void OnSetPath(ViewState& state, InteractionPort& port);

}  // namespace fennory
