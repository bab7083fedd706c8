#pragma once

#include <string>
#include <string_view>

namespace fennory {

// A directory and a name, with a '/' between them only when the directory does not already end
// in one (so "/" + "DIR4.TXT" gives "/DIR4.TXT").
std::string JoinPath(std::string_view directory, std::string_view name);

// The process's current directory, of any length; empty when it cannot be read.
std::string CurrentDirectory();

bool ChangeDirectory(const std::string& path);

}  // namespace fennory
