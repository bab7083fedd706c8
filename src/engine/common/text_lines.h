#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace fennory {

// Working files store each line break as CR LF. Writers translate '\n' the way a text stream
// does; readers accept CR LF or a bare LF.
void AppendCrLf(std::string& out, std::string_view text);

// Reads whole lines of any length from a stream, reusing one buffer.
class TextLineReader {
  public:
    explicit TextLineReader(std::FILE* stream) : stream_(stream) {}
    ~TextLineReader();
    TextLineReader(const TextLineReader&) = delete;
    TextLineReader& operator=(const TextLineReader&) = delete;

    // The next line without its line end; `ended` tells whether it had one (only the last
    // line of a file can lack it). False at the end of the stream or on a read error.
    bool Next(std::string_view& line, bool& ended);
    bool Failed() const { return std::ferror(stream_) != 0; }

  private:
    std::FILE* stream_;
    char* buffer_ = nullptr;
    std::size_t capacity_ = 0;
};

// Writes text through a stdio stream with '\n' stored as CR LF.
bool WriteCrLf(std::FILE* stream, std::string_view text);

}  // namespace fennory
