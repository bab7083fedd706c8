#include "fleet/fleet_generator.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string_view>

namespace fennory::fleet {
namespace {

// splitmix64: tiny, and the same sequence on every platform and library.
class Random {
  public:
    explicit Random(std::uint64_t seed) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t Below(std::size_t bound) { return static_cast<std::size_t>(Next() % bound); }
    float Between(float low, float high) {
        const double unit = static_cast<double>(Next() >> 11) / 9007199254740992.0;
        return static_cast<float>(low + (high - low) * unit);
    }

  private:
    std::uint64_t state_;
};

constexpr std::array<std::string_view, 7> kNames = {"unit_Ship", "mass",      "gc_height", "LR",
                                                    "max_speed", "eng_power", "drag"};

// Filler never holds the first letter of a property name, so no name appears by accident.
unsigned char FillerByte(Random& random) {
    auto byte = static_cast<unsigned char>(random.Next());
    switch (byte) {
        case 'u':
        case 'm':
        case 'g':
        case 'L':
        case 'e':
        case 'd':
            return 0;
        default:
            return byte;
    }
}

void WriteFile(const std::filesystem::path& path, const std::vector<unsigned char>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        throw std::runtime_error("cannot create " + path.string());
    }
    const bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !ok) {
        throw std::runtime_error("cannot write " + path.string());
    }
}

constexpr std::array<std::string_view, 8> kFolderNames = {
    "Convoy", "Escorts", "Harbour", "Atlantic", "Tankers", "Liners", "Subs", "Reserve"};
constexpr std::array<std::string_view, 4> kExtensions = {".SIM", ".sim", ".Sim", ".SIM"};

}  // namespace

std::vector<unsigned char> MakeShipBytes(std::uint64_t seed, std::size_t size,
                                         const ShipValues* values) {
    Random random(seed);
    std::vector<unsigned char> bytes(size);
    for (unsigned char& byte : bytes) {
        byte = FillerByte(random);
    }
    if (values == nullptr) {
        return bytes;
    }
    const std::array<float, 7> numbers = {
        values->unitShip, values->mass,        values->gcHeight,  values->surfaceDrag,
        values->maxSpeed, values->enginePower, values->rudderDrag};
    // Properties in table order, spread over the first half of the file.
    std::size_t need = 0;
    for (std::string_view name : kNames) {
        need += name.size() + 1 + 4;
    }
    if (need > size) {
        return bytes;
    }
    const std::size_t slack = (size - need) / 2 / kNames.size();
    std::size_t at = 0;
    for (std::size_t i = 0; i < kNames.size(); ++i) {
        at += slack == 0 ? 0 : random.Below(slack);
        std::memcpy(bytes.data() + at, kNames[i].data(), kNames[i].size());
        at += kNames[i].size();
        bytes[at++] = 0;
        std::uint32_t bits;
        std::memcpy(&bits, &numbers[i], 4);
        for (int b = 0; b < 4; ++b) {
            bytes[at++] = static_cast<unsigned char>(bits >> (8 * b));
        }
    }
    return bytes;
}

FleetSummary GenerateFleet(const std::string& root, const FleetOptions& options) {
    namespace fs = std::filesystem;
    Random random(options.seed);
    FleetSummary summary;
    fs::create_directories(root);

    // A handful of folders per fleet, nested up to four levels.
    std::vector<fs::path> folders = {fs::path(root)};
    std::vector<int> depths = {0};
    const std::size_t folderCount = 4 + options.files / 40;
    for (std::size_t i = 0; i < folderCount; ++i) {
        const std::size_t parent = random.Below(folders.size());
        if (depths[parent] >= 4) {
            continue;
        }
        fs::path folder =
            folders[parent] / (std::string(kFolderNames[random.Below(kFolderNames.size())]) + "_" +
                               std::to_string(i));
        fs::create_directories(folder);
        folders.push_back(folder);
        depths.push_back(depths[parent] + 1);
    }
    // A folder named like a ship file: walked, never listed.
    folders.push_back(folders.back() / "Dock.SIM");
    fs::create_directories(folders.back());
    ++summary.decoys;

    const std::size_t range = options.maxBytes - options.minBytes + 1;
    for (std::size_t i = 0; i < options.files; ++i) {
        const fs::path& folder = folders[random.Below(folders.size())];
        const std::size_t size = options.minBytes + random.Below(range);
        const std::uint64_t fileSeed = random.Next();
        ShipValues values;
        values.mass = random.Between(600.0f, 60000.0f);
        values.gcHeight = random.Between(1.0f, 12.0f);
        values.surfaceDrag = random.Between(0.0f, 0.5f);
        values.maxSpeed = random.Between(8.0f, 32.0f);
        values.enginePower = random.Between(200.0f, 50000.0f);
        values.rudderDrag = random.Between(0.0f, 0.5f);
        const std::size_t kind = random.Below(20);
        const bool bare = kind == 0;
        if (kind == 1 || kind == 2) {
            values.mass = random.Between(50.0f, 499.0f);
            ++summary.lightShips;
        }
        summary.bareShips += bare ? 1 : 0;
        const fs::path path = folder / ("Ship" + std::to_string(i) +
                                        std::string(kExtensions[i % kExtensions.size()]));
        const std::vector<unsigned char> bytes =
            MakeShipBytes(fileSeed, size, bare ? nullptr : &values);
        WriteFile(path, bytes);
        summary.shipFiles.push_back(path.string());
        summary.bytes += bytes.size();

        if (i % 25 == 0) {
            // Decoys: names that end near ".SIM" but are not ship files.
            static constexpr std::array<std::string_view, 4> kDecoys = {".SIMX", ".SI", ".txt", ""};
            const fs::path decoy = folder / ("Decoy" + std::to_string(i) +
                                             std::string(kDecoys[(i / 25) % kDecoys.size()]));
            WriteFile(decoy, MakeShipBytes(fileSeed + 1, 512, &values));
            ++summary.decoys;
        }
    }
    return summary;
}

}  // namespace fennory::fleet
