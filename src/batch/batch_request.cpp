#include "batch_request.h"

#include <cstring>
#include <string_view>
#include <vector>

namespace fennory::batch {
namespace {

struct Flag {
    std::string_view name;
    bool takesValue;
    bool catalogue, patch, report, print;  // commands that accept it
};

constexpr Flag kFlags[] = {
    {"--root", true, true, true, false, false},
    {"--remake", false, false, true, false, false},
    {"--engine-power", true, false, true, false, false},
    {"--rudder-drag", true, false, true, false, false},
    {"--gc-height", true, false, true, false, false},
    {"--surface-drag", true, false, true, false, false},
    {"--restrict", false, false, true, true, false},
    {"--yes", false, false, true, false, true},
    {"--no", false, false, true, false, true},
};

bool Accepts(const Flag& flag, Command command) {
    switch (command) {
        case Command::kCatalogue:
            return flag.catalogue;
        case Command::kPatch:
            return flag.patch;
        case Command::kReport:
            return flag.report;
        case Command::kPrint:
            return flag.print;
        default:
            return false;
    }
}

void Store(BatchRequest& request, std::string_view name, std::string value) {
    if (name == "--root") {
        request.root = std::move(value);
    } else if (name == "--remake") {
        request.remake = true;
    } else if (name == "--engine-power") {
        request.enginePower = std::move(value);
    } else if (name == "--rudder-drag") {
        request.rudderDrag = std::move(value);
    } else if (name == "--gc-height") {
        request.gcHeight = std::move(value);
    } else if (name == "--surface-drag") {
        request.surfaceDrag = std::move(value);
    } else if (name == "--restrict") {
        request.restrict = true;
    } else if (name == "--yes" || name == "--no") {
        request.answer = name == "--yes";
    }
}

}  // namespace

const char* UsageText() {
    return "usage: fennory-batch catalogue --root DIR\n"
           "       fennory-batch patch [--root DIR] [--remake] [--engine-power TEXT]\n"
           "                           [--rudder-drag TEXT] [--gc-height TEXT]\n"
           "                           [--surface-drag TEXT] [--restrict] [--yes|--no]\n"
           "       fennory-batch report [--restrict]\n"
           "       fennory-batch print [--yes|--no]\n"
           "       fennory-batch --help | --version\n"
           "\n"
           "The working files DIR4.TXT, SEARCHPLAINTEXT.TXT and SEARCHRES.TXT are kept in the\n"
           "current directory. Exit status: 0 done, 1 failure or refusal, 2 usage error,\n"
           "130 run ended by Ctrl+C.\n";
}

std::variant<BatchRequest, UsageError> ParseArguments(int argc, const char* const* argv) {
    BatchRequest request;
    if (argc < 2) {
        return UsageError{"no command given"};
    }
    const std::string_view command = argv[1];
    if (command == "--help" || command == "-h" || command == "help") {
        request.command = Command::kHelp;
        return request;
    }
    if (command == "--version") {
        request.command = Command::kVersion;
        return request;
    }
    if (command == "catalogue") {
        request.command = Command::kCatalogue;
    } else if (command == "patch") {
        request.command = Command::kPatch;
    } else if (command == "report") {
        request.command = Command::kReport;
    } else if (command == "print") {
        request.command = Command::kPrint;
    } else {
        return UsageError{"unknown command '" + std::string(command) + "'"};
    }

    bool yes = false;
    bool no = false;
    for (int i = 2; i < argc; ++i) {
        std::string_view argument = argv[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            inlineValue = std::string(argument.substr(equals + 1));
            argument = argument.substr(0, equals);
        }
        const Flag* flag = nullptr;
        for (const Flag& candidate : kFlags) {
            if (candidate.name == argument) {
                flag = &candidate;
            }
        }
        if (flag == nullptr || !Accepts(*flag, request.command)) {
            return UsageError{"'" + std::string(argument) + "' is not an option of " +
                              std::string(command)};
        }
        std::string value;
        if (flag->takesValue) {
            if (inlineValue) {
                value = *inlineValue;
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return UsageError{std::string(argument) + " needs a value"};
            }
        } else if (inlineValue) {
            return UsageError{std::string(argument) + " takes no value"};
        }
        yes = yes || argument == "--yes";
        no = no || argument == "--no";
        Store(request, argument, std::move(value));
    }
    if (yes && no) {
        return UsageError{"--yes and --no exclude each other"};
    }
    if (request.command == Command::kCatalogue && !request.root) {
        return UsageError{"catalogue needs --root DIR"};
    }
    return request;
}

std::string RootFolderPath(const std::string& dir, const std::string& startDirectory) {
    const std::string joined =
        !dir.empty() && dir.front() == '/' ? dir : startDirectory + "/" + dir;
    std::string path = "/";
    std::size_t at = 0;
    while (at < joined.size()) {
        std::size_t slash = joined.find('/', at);
        if (slash == std::string::npos) {
            slash = joined.size();
        }
        const std::string_view part(joined.data() + at, slash - at);
        if (!part.empty() && part != ".") {
            path.append(part);
            path += '/';
        }
        at = slash + 1;
    }
    return path;
}

}  // namespace fennory::batch
