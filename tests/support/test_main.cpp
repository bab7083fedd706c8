// Test entry point. Tests that check permission failures need the kernel to refuse an open,
// which it never does for root with its file-override capabilities: CI runs as root, so those
// capabilities are dropped from this process first.
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace {
void DropFileOverrideCapabilities() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0) {
        return;
    }
    for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
        data[capability / 32].effective &= ~(1u << (capability % 32));
    }
    ::syscall(SYS_capset, &header, data);
}
}  // namespace

int main(int argc, char** argv) {
    DropFileOverrideCapabilities();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
