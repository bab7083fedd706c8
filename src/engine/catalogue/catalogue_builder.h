#pragma once

#include <cstdio>
#include <string>

namespace fennory {

class InteractionPort;
struct ViewState;

// Folders down to this many levels below the root folder are walked.
inline constexpr int kDeepestWalkedLevel = 11;
// Catalogues of this many files or more are left in walk order.
inline constexpr unsigned kSortLimit = 1000;

// Writes the catalogue: the root folder as header, the full path of every .SIM file below it,
// and the count line last, then has it sorted.
class CatalogueBuilder {
  public:
    CatalogueBuilder(ViewState& state, InteractionPort& port) : state_(state), port_(port) {}

    // True when a root folder had been chosen, the catalogue was written, the walk came back
    // to level 0 and at least one .SIM file was listed. Every false result has been reported.
    bool BuildCatalogue();

    // Lists one folder into the open catalogue, recursing into subfolders. The current
    // directory is moved into the folder and put back where it was.
    void WalkFolder(const std::string& folder, std::FILE* catalogue);

  private:
    void WalkListing(const std::string& folder, std::FILE* catalogue);

    ViewState& state_;
    InteractionPort& port_;
};

}  // namespace fennory
