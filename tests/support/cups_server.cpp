#include "support/cups_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "support/process.h"

namespace fennory::testing {
namespace {

constexpr char kCupsd[] = "/usr/sbin/cupsd";
constexpr char kLpadmin[] = "/usr/sbin/lpadmin";
constexpr char kLpstat[] = "/usr/bin/lpstat";

}  // namespace

CupsServer::~CupsServer() {
    stopping_ = true;
    if (thread_.joinable()) {
        thread_.join();
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
    if (cupsd_ > 0) {
        ::kill(cupsd_, SIGTERM);
        WaitForExit(cupsd_);
    }
}

bool CupsServer::Start(std::string& why) {
    for (const char* program : {kCupsd, kLpadmin, kLpstat}) {
        if (::access(program, X_OK) != 0) {
            why = std::string(program) + " is missing (packages cups and cups-client)";
            return false;
        }
    }
    // The spooler's backends run as the lp user, who must be able to reach the job files.
    ::chmod(folder_.path().c_str(), 0755);
    for (const char* sub : {"spool", "tmp", "cache", "state", "log", "conf"}) {
        MakeFolders(folder_ / sub);
        ::chmod((folder_ / sub).c_str(), 0755);
    }
    const std::string& f = folder_.path();
    WriteFile(folder_ / "conf/cupsd.conf",
              "LogLevel warn\nListen " + SocketPath() +
                  "\nBrowsing No\nDefaultAuthType None\nWebInterface No\n"
                  "<Location />\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Location /admin>\n  Order allow,deny\n  Allow all\n</Location>\n"
                  "<Policy default>\n  <Limit All>\n    Order deny,allow\n  </Limit>\n"
                  "</Policy>\n");
    WriteFile(folder_ / "conf/cups-files.conf",
              "ServerRoot " + f + "/conf\nRequestRoot " + f + "/spool\nTempDir " + f +
                  "/tmp\nCacheDir " + f + "/cache\nStateDir " + f + "/state\nAccessLog " + f +
                  "/log/access_log\nErrorLog " + f + "/log/error_log\nPageLog " + f +
                  "/log/page_log\nFileDevice No\nSandboxing Relaxed\n");

    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        why = "no loopback socket for the printer";
        return false;
    }
    thread_ = std::thread([this] { Listen(); });

    cupsd_ = StartProcess(
        {kCupsd, "-f", "-c", folder_ / "conf/cupsd.conf", "-s", folder_ / "conf/cups-files.conf"},
        f, folder_ / "log/cupsd.out", folder_ / "log/cupsd.err");
    ::setenv("CUPS_SERVER", SocketPath().c_str(), 1);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (RunProcess({kLpstat, "-r"}, f).status != 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            why = "cupsd did not come up: " + ReadFile(folder_ / "log/error_log") +
                  ReadFile(folder_ / "log/cupsd.err");
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    const std::string device = "socket://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    const ProcessResult added =
        RunProcess({kLpadmin, "-p", kQueue, "-E", "-v", device, "-m", "raw"}, f);
    if (added.status != 0) {
        why = "lpadmin could not add the test queue: " + added.err;
        return false;
    }
    return true;
}

void CupsServer::Listen() {
    while (!stopping_) {
        pollfd waiting{listener_, POLLIN, 0};
        if (::poll(&waiting, 1, 100) <= 0) {
            continue;
        }
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            continue;
        }
        char chunk[65536];
        for (;;) {
            const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
            if (got <= 0) {
                break;
            }
            std::lock_guard<std::mutex> lock(mutex_);
            received_.append(chunk, static_cast<std::size_t>(got));
        }
        ::close(connection);
    }
}

std::string CupsServer::WaitForBytes(std::size_t count, std::chrono::seconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (received_.size() >= count || std::chrono::steady_clock::now() > deadline) {
                return received_;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

void CupsServer::ClearReceived() {
    std::lock_guard<std::mutex> lock(mutex_);
    received_.clear();
}

}  // namespace fennory::testing
