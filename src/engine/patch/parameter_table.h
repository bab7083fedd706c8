#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace fennory {

// Slots of the parameter table, in the order the properties are searched.
enum ParameterSlot : std::size_t {
    kUnitShip = 0,
    kMass = 1,
    kGcHeight = 2,
    kSurfaceDrag = 3,  // "LR"
    kMaxSpeed = 4,
    kEnginePower = 5,
    kRudderDrag = 6,  // "drag"
};
inline constexpr std::size_t kParameterCount = 7;

struct Parameter {
    std::string_view name;
    float newValue = 0.0f;
};

// The seven properties every ship file is searched for, with the new values the Search
// Options dialog last set (all 0 at start-up).
struct ParameterTable {
    std::array<Parameter, kParameterCount> entries{{
        {"unit_Ship"},
        {"mass"},
        {"gc_height"},
        {"LR"},
        {"max_speed"},
        {"eng_power"},
        {"drag"},
    }};
};

}  // namespace fennory
