#pragma once

#include <sys/types.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <thread>

#include "support/temp_dir.h"

namespace fennory::testing {

// A private print spooler for tests: cupsd in the foreground with its own configuration and a
// local socket in a temporary folder, and one raw queue whose device is a loopback listener of
// the test's own, so every byte that reaches the "printer" can be read back.
class CupsServer {
  public:
    CupsServer() = default;
    ~CupsServer();
    CupsServer(const CupsServer&) = delete;
    CupsServer& operator=(const CupsServer&) = delete;

    // False, with the reason, when cupsd is missing or will not come up.
    bool Start(std::string& why);

    std::string SocketPath() const { return folder_ / "cups.sock"; }
    static constexpr const char* kQueue = "fennory-test";

    // Waits until at least `count` bytes have arrived (or the time is up); returns them all.
    std::string WaitForBytes(std::size_t count, std::chrono::seconds timeout);
    // Forgets what has arrived so far.
    void ClearReceived();

  private:
    void Listen();

    TempDir folder_;
    pid_t cupsd_ = -1;
    int listener_ = -1;
    std::atomic<bool> stopping_{false};
    std::thread thread_;
    std::mutex mutex_;
    std::string received_;
};

}  // namespace fennory::testing
