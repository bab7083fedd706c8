// fennory-make-fleet: writes a deterministic sample fleet of ship files.
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "fleet/fleet_generator.h"

namespace {
void Usage() {
    std::fputs("usage: fennory-make-fleet DIR [--seed N] [--files N] [--min-kb N] [--max-kb N]\n",
               stderr);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage();
        return 2;
    }
    fennory::fleet::FleetOptions options;
    std::string root = argv[1];
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string flag = argv[i];
        const unsigned long long value = std::strtoull(argv[i + 1], nullptr, 10);
        if (flag == "--seed") {
            options.seed = value;
        } else if (flag == "--files") {
            options.files = value;
        } else if (flag == "--min-kb") {
            options.minBytes = value * 1024;
        } else if (flag == "--max-kb") {
            options.maxBytes = value * 1024;
        } else {
            Usage();
            return 2;
        }
    }
    if (options.maxBytes < options.minBytes || (argc % 2) != 0) {
        Usage();
        return 2;
    }
    try {
        const auto summary = fennory::fleet::GenerateFleet(root, options);
        std::printf(
            "%zu ship files (%zu light, %zu without properties), %zu decoys, %llu bytes in %s\n",
            summary.shipFiles.size(), summary.lightShips, summary.bareShips, summary.decoys,
            static_cast<unsigned long long>(summary.bytes), root.c_str());
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fennory-make-fleet: %s\n", error.what());
        return 1;
    }
    return 0;
}
