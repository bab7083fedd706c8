#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fennory::fleet {

struct FleetOptions {
    std::uint64_t seed = 1;
    std::size_t files = 200;
    std::size_t minBytes = 20 * 1024;
    std::size_t maxBytes = 150 * 1024;
};

struct FleetSummary {
    std::vector<std::string> shipFiles;  // every file a catalogue must list, in creation order
    std::size_t decoys = 0;              // files and folders that must not be listed
    std::size_t lightShips = 0;          // mass below 500
    std::size_t bareShips = 0;           // no properties at all
    std::uint64_t bytes = 0;
};

// Writes a deterministic fleet of ship files under `root` (created if missing): nested
// folders, mixed-case .sim/.SIM names, decoy files and a decoy folder named like a ship file.
// The same options always give the same tree, byte for byte.
FleetSummary GenerateFleet(const std::string& root, const FleetOptions& options);

// One ship file's bytes: the seven properties in table order between filler bytes. A mass
// below 0 leaves the file without properties.
struct ShipValues {
    float unitShip = 1.0f;
    float mass = 2500.0f;
    float gcHeight = 4.0f;
    float surfaceDrag = 0.2f;
    float maxSpeed = 15.0f;
    float enginePower = 1200.0f;
    float rudderDrag = 0.1f;
};
std::vector<unsigned char> MakeShipBytes(std::uint64_t seed, std::size_t size,
                                         const ShipValues* values);

}  // namespace fennory::fleet
