#include "common/paths.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace fennory {

std::string JoinPath(std::string_view directory, std::string_view name) {
    std::string path;
    path.reserve(directory.size() + 1 + name.size());
    path.append(directory);
    if (path.empty() || path.back() != '/') {
        path.push_back('/');
    }
    path.append(name);
    return path;
}

std::string CurrentDirectory() {
    std::vector<char> buffer(256);
    for (;;) {
        if (::getcwd(buffer.data(), buffer.size()) != nullptr) {
            return std::string(buffer.data());
        }
        if (errno != ERANGE) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool ChangeDirectory(const std::string& path) {
    return ::chdir(path.c_str()) == 0;
}

}  // namespace fennory
