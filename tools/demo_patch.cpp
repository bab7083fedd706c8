// fennory-demo-patch: patches every ship file of a folder tree through the engine with example
// values and prints the start of the patch report. A stand-in until the batch tool exists.
//
//   fennory-demo-patch ROOT
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "common/deferred_append_stream.h"
#include "common/file_io.h"
#include "common/paths.h"
#include "patch/patcher.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace {

class PrintingPort : public fennory::InteractionPort {
  public:
    void ShowMessage(std::string_view text) override {
        std::fwrite(text.data(), 1, text.size(), stdout);
        std::fputc('\n', stdout);
    }
    bool AskYesNo(std::string_view text) override { return ShowMessage(text), false; }
    bool AskOkCancel(std::string_view text) override { return ShowMessage(text), false; }
    void SetStatusText(std::string_view) override {}
    void BeginWait() override {}
    void EndWait() override {}
    bool DrainMessages() override { return false; }
    void Beep() override {}
    fennory::FolderChoice ChooseFolder(std::string_view, std::string_view) override { return {}; }
    bool ShowSearchOptions(fennory::SearchOptionsFields&) override { return false; }
    void ShowTextView(std::string_view, std::string_view) override {}
};

bool IsShipFile(const std::filesystem::path& path) {
    std::string name = path.filename().string();
    if (name.size() < 4) {
        return false;
    }
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return name.compare(name.size() - 4, 4, ".SIM") == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fputs("usage: fennory-demo-patch ROOT\n", stderr);
        return 2;
    }
    std::vector<std::string> ships;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[1])) {
        if (entry.is_regular_file() && IsShipFile(entry.path())) {
            ships.push_back(std::filesystem::absolute(entry.path()).string());
        }
    }
    std::sort(ships.begin(), ships.end());

    PrintingPort port;
    fennory::ViewState state;
    fennory::InitialiseViewState(state);
    state.reportPath = fennory::JoinPath(state.startDirectory, "SEARCHPLAINTEXT.TXT");
    fennory::ParameterTable table;
    table.entries[fennory::kGcHeight].newValue = 4.5f;
    table.entries[fennory::kSurfaceDrag].newValue = 0.25f;
    table.entries[fennory::kEnginePower].newValue = 90.0f;
    table.entries[fennory::kRudderDrag].newValue = 0.3f;
    fennory::FileBuffer buffer;
    fennory::Patcher patcher(state, port, table, buffer);

    fennory::TruncateFile(state.reportPath);
    fennory::DeferredAppendStream runStream;
    runStream.Open(state.reportPath);
    std::uint32_t examined = 0;
    for (const std::string& ship : ships) {
        patcher.PatchFile(ship, examined, runStream);
    }
    patcher.EndRun();
    runStream.Close();
    std::printf("%u ship files examined; patch report %s begins:\n", examined,
                state.reportPath.c_str());
    std::FILE* report = std::fopen(state.reportPath.c_str(), "r");
    char line[512];
    for (int n = 0; report != nullptr && n < 24 && std::fgets(line, sizeof line, report); ++n) {
        std::fputs(line, stdout);
    }
    if (report != nullptr) {
        std::fclose(report);
    }
    return examined == ships.size() ? 0 : 1;
}
