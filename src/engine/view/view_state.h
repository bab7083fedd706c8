#pragma once

#include <cstdint>
#include <string>

namespace fennory {

// Everything one command leaves for the next. Nothing of it is saved between runs of the
// program: every run starts from InitialiseViewState.
//
// Paths and message texts are std::string, so a path of any length the file system allows is
// held whole. The status bar the original kept a reference to belongs to the port here.
struct ViewState {
    std::int32_t remakeCatalogue = 0;  // 0 or 1: rebuild the catalogue before the patch run

    // The four texts of the Search Options dialog as last confirmed, and their defaults.
    std::string enginePowerText;
    std::string rudderDragText;
    std::string gravityHeightText;
    std::string surfaceDragText;
    std::string enginePowerDefault;
    std::string rudderDragDefault;
    std::string gravityHeightDefault;
    std::string surfaceDragDefault;

    std::uint32_t fileCount = 0;    // .SIM files in the catalogue
    std::int32_t walkDepth = 0;     // nesting level of the catalogue walk in progress
    std::int32_t bufferLength = 0;  // bytes of the current .SIM file in the file buffer

    std::string reportPath;            // full path of the patch report, set by the patch run
    std::string rootPath;              // the root folder, normally ending in '/'
    std::int32_t pathChosen = 0;       // 0 or 1; never goes back to 0 once set
    std::string messageText;           // scratch text for messages
    std::string startDirectory;        // holds the three working files
    std::int32_t restrictResults = 0;  // 0 or 1: smaller read limits for patching and viewing
};

// First initialisation: the texts and defaults "0", the flags 0, the start directory from the
// process's current directory (empty when it cannot be read) and an empty root path.
void InitialiseViewState(ViewState& state);

}  // namespace fennory
