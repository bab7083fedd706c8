#pragma once

#include <string>

namespace fennory {

// printf-style formatting into a std::string. The format must be a literal of this program;
// the attribute lets -Wformat=2 reject anything else. Text that came from a file, a path or the
// user goes in as a %s argument or is appended directly, never as the format.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));
void AppendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));

}  // namespace fennory
