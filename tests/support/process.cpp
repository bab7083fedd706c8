#include "support/process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>

#include "support/temp_dir.h"

namespace fennory::testing {

pid_t StartProcess(const std::vector<std::string>& args, const std::string& cwd,
                   const std::string& outPath, const std::string& errPath) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid < 0) {
        throw std::runtime_error("fork failed");
    }
    if (pid == 0) {
        const int in = ::open("/dev/null", O_RDONLY);
        const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (in < 0 || out < 0 || err < 0 || ::chdir(cwd.c_str()) != 0) {
            ::_exit(126);
        }
        ::dup2(in, STDIN_FILENO);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err, STDERR_FILENO);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    return pid;
}

int WaitForExit(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
    }
    if (WIFEXITED(status)) {
        return WEXITSTATUS(status);
    }
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : -1;
}

ProcessResult RunProcess(const std::vector<std::string>& args, const std::string& cwd) {
    TempDir capture;
    const std::string outPath = capture / "out";
    const std::string errPath = capture / "err";
    ProcessResult result;
    result.status = WaitForExit(StartProcess(args, cwd, outPath, errPath));
    result.out = ReadFile(outPath);
    result.err = ReadFile(errPath);
    return result;
}

}  // namespace fennory::testing
