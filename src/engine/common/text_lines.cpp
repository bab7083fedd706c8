#include "common/text_lines.h"

#include <sys/types.h>

#include <cstdlib>
#include <cstring>

namespace fennory {

void AppendCrLf(std::string& out, std::string_view text) {
    std::size_t from = 0;
    for (;;) {
        const std::size_t lf = text.find('\n', from);
        if (lf == std::string_view::npos) {
            out.append(text.substr(from));
            return;
        }
        out.append(text.substr(from, lf - from));
        out.append("\r\n");
        from = lf + 1;
    }
}

TextLineReader::~TextLineReader() {
    std::free(buffer_);
}

bool TextLineReader::Next(std::string_view& line, bool& ended) {
    const ssize_t got = ::getline(&buffer_, &capacity_, stream_);
    if (got <= 0) {
        return false;
    }
    std::size_t length = static_cast<std::size_t>(got);
    ended = buffer_[length - 1] == '\n';
    if (ended) {
        --length;
        if (length > 0 && buffer_[length - 1] == '\r') {
            --length;
        }
    }
    line = std::string_view(buffer_, length);
    return true;
}

bool WriteCrLf(std::FILE* stream, std::string_view text) {
    std::size_t from = 0;
    while (from < text.size()) {
        const void* hit = std::memchr(text.data() + from, '\n', text.size() - from);
        const std::size_t lf =
            hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data())
                : text.size();
        if (lf > from && std::fwrite(text.data() + from, 1, lf - from, stream) != lf - from) {
            return false;
        }
        if (lf == text.size()) {
            break;
        }
        if (std::fwrite("\r\n", 1, 2, stream) != 2) {
            return false;
        }
        from = lf + 1;
    }
    return true;
}

}  // namespace fennory
