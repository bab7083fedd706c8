#pragma once

#include <cstddef>
#include <cstdio>

namespace fennory {

// Reads a working file the way a text stream does: each CR LF arrives as one '\n'; a CR not
// followed by LF stays as it is.
class TextModeReader {
  public:
    explicit TextModeReader(std::FILE* stream) : stream_(stream) {}

    // Up to `limit` characters into `out`; with `stopAfterLineEnd`, also stops after a '\n'.
    // Returns how many were stored; 0 at the end of the stream.
    std::size_t Read(char* out, std::size_t limit, bool stopAfterLineEnd);

  private:
    std::FILE* stream_;
};

}  // namespace fennory
