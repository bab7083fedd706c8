// Times the patcher over a generated fleet against the read bound: a plain loop that opens
// each file, reads it once into a buffer and closes it. Prints both and their ratio.
//
//   fennory-bench-patch [--files N] [--rounds N] [--dir SCRATCH]
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/deferred_append_stream.h"
#include "common/file_io.h"
#include "fleet/fleet_generator.h"
#include "null_port.h"
#include "patch/patcher.h"
#include "view/view_state.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point from) {
    return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double ReadBound(const std::vector<std::string>& paths, unsigned char* buffer, std::size_t size) {
    const auto start = Clock::now();
    std::size_t total = 0;
    for (const std::string& path : paths) {
        const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0) {
            std::perror(path.c_str());
            std::exit(1);
        }
        const ssize_t got = ::read(fd, buffer, size);
        total += got > 0 ? static_cast<std::size_t>(got) : 0;
        ::close(fd);
    }
    const double seconds = Seconds(start);
    if (total == 0) {
        std::exit(1);
    }
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t files = 3000;
    int rounds = 7;
    std::string scratch = (std::filesystem::temp_directory_path() / "fennory-bench-patch").string();
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        if (flag == "--files") {
            files = std::strtoul(argv[i + 1], nullptr, 10);
        } else if (flag == "--rounds") {
            rounds = std::max(1, std::atoi(argv[i + 1]));
        } else if (flag == "--dir") {
            scratch = argv[i + 1];
        }
    }

    std::filesystem::remove_all(scratch);
    const std::string fleetRoot = scratch + "/fleet";
    fennory::fleet::FleetOptions options;
    options.files = files;
    options.seed = 42;
    const auto fleet = fennory::fleet::GenerateFleet(fleetRoot, options);
    std::printf("fleet: %zu files, %.1f MB, in %s\n", fleet.shipFiles.size(),
                static_cast<double>(fleet.bytes) / 1e6, fleetRoot.c_str());

    fennory::bench::NullPort port;
    fennory::ViewState state;
    fennory::InitialiseViewState(state);
    state.reportPath = scratch + "/SEARCHPLAINTEXT.TXT";
    fennory::ParameterTable table;
    table.entries[fennory::kSurfaceDrag].newValue = 0.3f;
    table.entries[fennory::kEnginePower].newValue = 100.0f;  // keeps engine power as it is
    table.entries[fennory::kRudderDrag].newValue = 0.2f;
    fennory::FileBuffer buffer;
    fennory::Patcher patcher(state, port, table, buffer);

    std::vector<unsigned char> readBuffer(fennory::FileBuffer::capacity());
    ReadBound(fleet.shipFiles, readBuffer.data(), fennory::kReadLimit);  // warm the page cache

    std::vector<double> readTimes;
    std::vector<double> patchTimes;
    for (int round = 0; round < rounds; ++round) {
        readTimes.push_back(ReadBound(fleet.shipFiles, readBuffer.data(), fennory::kReadLimit));

        // A new height every round, so every heavy ship is really written each time.
        table.entries[fennory::kGcHeight].newValue = 5.0f + static_cast<float>(round % 2);
        fennory::TruncateFile(state.reportPath);
        fennory::DeferredAppendStream runStream;
        runStream.Open(state.reportPath);
        std::uint32_t examined = 0;
        const auto start = Clock::now();
        for (const std::string& path : fleet.shipFiles) {
            patcher.PatchFile(path, examined, runStream);
        }
        patcher.EndRun();
        runStream.Close();
        patchTimes.push_back(Seconds(start));
        if (examined != fleet.shipFiles.size()) {
            std::fprintf(stderr, "only %u of %zu files examined\n", examined,
                         fleet.shipFiles.size());
            return 1;
        }
    }

    const double read = Median(readTimes);
    const double patch = Median(patchTimes);
    std::printf("read bound: %8.2f ms  (%.2f us/file, median of %d)\n", read * 1e3,
                read * 1e6 / static_cast<double>(files), rounds);
    std::printf("patching:   %8.2f ms  (%.2f us/file, median of %d)\n", patch * 1e3,
                patch * 1e6 / static_cast<double>(files), rounds);
    std::printf("ratio patching / read bound: %.2f (target <= 1.50)\n", patch / read);
    std::filesystem::remove_all(scratch);
    return 0;
}
