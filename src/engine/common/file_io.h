#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>

namespace fennory {

// write(2) until everything is written or an error other than EINTR occurs.
bool WriteAll(int fd, const void* data, std::size_t size);

// Creates or empties a file, as opening it for writing in text mode does; false on failure.
bool TruncateFile(const std::string& path);

}  // namespace fennory
