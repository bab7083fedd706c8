#include "common/text_mode_reader.h"

namespace fennory {

std::size_t TextModeReader::Read(char* out, std::size_t limit, bool stopAfterLineEnd) {
    std::size_t count = 0;
    while (count < limit) {
        int c = getc_unlocked(stream_);
        if (c == EOF) {
            break;
        }
        if (c == '\r') {
            const int next = getc_unlocked(stream_);
            if (next == '\n') {
                c = '\n';
            } else if (next != EOF) {
                ungetc(next, stream_);
            }
        }
        out[count++] = static_cast<char>(c);
        if (stopAfterLineEnd && c == '\n') {
            break;
        }
    }
    return count;
}

}  // namespace fennory
