#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace fennory::testing {

// Builds small ship files by hand: properties (name, NUL, little-endian float) and filler.
class ShipBytes {
  public:
    ShipBytes& Property(std::string_view name, float value) {
        bytes_.append(name);
        bytes_.push_back('\0');
        return Value(value);
    }
    ShipBytes& Value(float value) {
        unsigned char raw[4];
        std::memcpy(raw, &value, 4);
        bytes_.append(reinterpret_cast<const char*>(raw), 4);
        return *this;
    }
    ShipBytes& Fill(std::size_t count, char filler = '.') {
        bytes_.append(count, filler);
        return *this;
    }
    ShipBytes& Raw(std::string_view raw) {
        bytes_.append(raw);
        return *this;
    }
    std::size_t size() const { return bytes_.size(); }
    const std::string& str() const { return bytes_; }

  private:
    std::string bytes_;
};

// The float stored at `offset` of a file's bytes.
inline float FloatAt(const std::string& bytes, std::size_t offset) {
    float value;
    std::memcpy(&value, bytes.data() + offset, 4);
    return value;
}

}  // namespace fennory::testing
