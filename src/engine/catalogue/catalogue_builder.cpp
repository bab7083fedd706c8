#include "catalogue/catalogue_builder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "catalogue/catalogue_sorter.h"
#include "common/paths.h"
#include "common/text_format.h"
#include "common/text_lines.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

bool HasShipSuffix(std::string_view name) {
    if (name.size() < 4) {
        return false;
    }
    static constexpr char kSuffix[] = ".SIM";
    for (std::size_t i = 0; i < 4; ++i) {
        char c = name[name.size() - 4 + i];
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
        if (c != kSuffix[i]) {
            return false;
        }
    }
    return true;
}

// What the listing reports as a folder once links are followed, so a link to a folder is walked.
bool IsFolder(const dirent& entry) {
    if (entry.d_type == DT_DIR) {
        return true;
    }
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return ::stat(entry.d_name, &info) == 0 && S_ISDIR(info.st_mode);
}

// The current directory, held open so the walk can return to it even when its path cannot be
// read or no longer leads there.
class DirectoryReturn {
  public:
    DirectoryReturn() : fd_(::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC)) {}
    ~DirectoryReturn() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    DirectoryReturn(const DirectoryReturn&) = delete;
    DirectoryReturn& operator=(const DirectoryReturn&) = delete;

    void Return(const std::string& fallbackPath) const {
        if (fd_ >= 0 && ::fchdir(fd_) == 0) {
            return;
        }
        if (!fallbackPath.empty()) {
            ChangeDirectory(fallbackPath);
        }
    }

  private:
    int fd_;
};

}  // namespace

bool CatalogueBuilder::BuildCatalogue() {
    if (state_.pathChosen == 0) {
        state_.messageText = "You must select a subdirectory holding the inscriptions \n";
        state_.messageText += "BEFORE you make the sub-directories!";
        port_.ShowMessage(state_.messageText);
        return false;
    }
    port_.SetStatusText("Generating files.");
    const std::string cataloguePath = JoinPath(state_.startDirectory, kCatalogueName);
    std::FILE* catalogue = std::fopen(cataloguePath.c_str(), "wb");
    if (catalogue == nullptr) {
        state_.messageText = "Cannot open file " + cataloguePath + ". Already open elsewhere?";
        port_.ShowMessage(state_.messageText);
        port_.SetStatusText(" ");
        return false;
    }
    WriteCrLf(catalogue, state_.rootPath);
    WriteCrLf(catalogue, "\n");
    state_.fileCount = 0;
    state_.walkDepth = 0;
    bool result = true;

    const std::string root = state_.rootPath;
    WalkFolder(root, catalogue);

    if (state_.walkDepth != 0) {
        port_.ShowMessage(
            "Sub-directory search did not return to zero error. Examine output in DIR4.TXT.");
        result = false;
    }
    if (state_.fileCount == 0) {
        port_.ShowMessage(
            "No text files found! Set path to a different folder and re-make directory "
            "structure.");
        result = false;
    }
    WriteCrLf(catalogue, FormatText("%u = No. of files", state_.fileCount));
    const bool written = std::ferror(catalogue) == 0;
    if (std::fclose(catalogue) != 0 || !written) {
        // A catalogue that did not reach the disk whole must not be patched from.
        state_.messageText = "Error in writing file " + cataloguePath + ". Is the disk full?";
        port_.ShowMessage(state_.messageText);
        result = false;
    }
    if (!result) {
        port_.SetStatusText("Ready");
        return false;
    }

    port_.SetStatusText("Sorting");
    port_.DrainMessages();
    if (state_.fileCount >= kSortLimit) {
        port_.ShowMessage("Too many files to sort.");
    } else {
        SortCatalogue(state_, port_);
    }
    port_.SetStatusText("Ready");
    state_.messageText = FormatText(
        "Successfully completed construction of 'DIR4.TXT' look-up files.\n %u files found.",
        state_.fileCount);
    port_.ShowMessage(state_.messageText);
    return true;
}

void CatalogueBuilder::WalkFolder(const std::string& folder, std::FILE* catalogue) {
    const std::string where = CurrentDirectory();
    if (where.empty()) {
        WriteCrLf(catalogue, FormatText("_getcwd error Level %d ", state_.walkDepth));
    }
    const DirectoryReturn back;
    if (!ChangeDirectory(folder)) {
        state_.messageText = FormatText("Cannot change directory to...%s (level = %d)\n",
                                        folder.c_str(), state_.walkDepth);
        WriteCrLf(catalogue, state_.messageText);
        port_.ShowMessage(state_.messageText);
        return;
    }
    WalkListing(folder, catalogue);
    back.Return(where);
}

void CatalogueBuilder::WalkListing(const std::string& folder, std::FILE* catalogue) {
    DIR* listing = ::opendir(".");
    if (listing == nullptr) {
        return;
    }
    std::string entryPath;
    while (const dirent* entry = ::readdir(listing)) {
        const std::string_view name = entry->d_name;
        if (name == "." || name == "..") {
            continue;
        }
        if (IsFolder(*entry)) {
            if (state_.walkDepth >= kDeepestWalkedLevel) {
                continue;
            }
            ++state_.walkDepth;
            WalkFolder(JoinPath(folder, name), catalogue);
            --state_.walkDepth;
        } else if (HasShipSuffix(name)) {
            entryPath = JoinPath(folder, name);
            entryPath += '\n';
            WriteCrLf(catalogue, entryPath);
            ++state_.fileCount;
        }
    }
    ::closedir(listing);
}

}  // namespace fennory
