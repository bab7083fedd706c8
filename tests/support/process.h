#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace fennory::testing {

struct ProcessResult {
    int status = -1;  // exit status, or 128 + signal number
    std::string out;
    std::string err;
};

// Runs a program in `cwd` with standard input from /dev/null and waits for it.
ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& cwd);

// Starts a program in `cwd`, its output going to the two files; returns its process id.
pid_t StartProcess(const std::vector<std::string>& args, const std::string& cwd,
                   const std::string& outPath, const std::string& errPath);
// Waits for a started program; its exit status, or 128 + signal number.
int WaitForExit(pid_t pid);

}  // namespace fennory::testing
