#pragma once

#include <optional>
#include <string>
#include <variant>

namespace fennory::batch {

enum class Command { kCatalogue, kPatch, kReport, kPrint, kHelp, kVersion };

// One invocation of fennory-batch, as given on its command line.
struct BatchRequest {
    Command command = Command::kHelp;
    std::optional<std::string> root;  // --root DIR
    bool remake = false;
    bool restrict = false;
    std::optional<std::string> enginePower;
    std::optional<std::string> rudderDrag;
    std::optional<std::string> gcHeight;
    std::optional<std::string> surfaceDrag;
    std::optional<bool> answer;  // --yes / --no
};

struct UsageError {
    std::string text;
};

std::variant<BatchRequest, UsageError> ParseArguments(int argc, const char* const* argv);

// The usage text for --help and usage errors.
const char* UsageText();
inline constexpr char kVersionText[] = "fennory-batch 1.7.7.1\n";

// DIR made absolute against the start directory, without resolving links or "..", "." parts
// and repeated separators dropped, ending in exactly one '/'.
std::string RootFolderPath(const std::string& dir, const std::string& startDirectory);

}  // namespace fennory::batch
