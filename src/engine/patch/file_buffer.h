#pragma once

#include <cstddef>
#include <memory>

namespace fennory {

// The one byte array shared by the patcher (one .SIM file at a time) and the results viewer
// (the patch report). Allocated once for the whole run of the program.
class FileBuffer {
  public:
    static constexpr std::size_t kCharacters = 200000;  // plus one terminating NUL

    FileBuffer() : bytes_(std::make_unique<unsigned char[]>(kCharacters + 1)) {}

    unsigned char* data() { return bytes_.get(); }
    const unsigned char* data() const { return bytes_.get(); }
    static constexpr std::size_t capacity() { return kCharacters + 1; }

  private:
    std::unique_ptr<unsigned char[]> bytes_;
};

}  // namespace fennory
