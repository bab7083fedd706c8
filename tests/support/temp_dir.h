#pragma once

#include <string>
#include <string_view>

namespace fennory::testing {

// A fresh folder under the system's temporary directory, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + "/" + name
    std::string operator/(std::string_view name) const;

  private:
    std::string path_;
};

// Puts the process's current directory back when the test ends.
class CurrentDirectoryGuard {
  public:
    CurrentDirectoryGuard();
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;

  private:
    std::string saved_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, std::string_view bytes);
void MakeFolders(const std::string& path);

}  // namespace fennory::testing
