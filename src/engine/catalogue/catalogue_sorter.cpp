#include "catalogue/catalogue_sorter.h"

#include <cmath>
#include <cstdio>
#include <string_view>

#include "catalogue/catalogue_file.h"
#include "common/numbers.h"
#include "common/paths.h"
#include "common/text_lines.h"
#include "view/interaction_port.h"
#include "view/view_state.h"

namespace fennory {
namespace {

constexpr char kCannotSave[] = "Cannot open 'DIR4.TXT' to save sorted files.";

struct CatalogueLines {
    std::vector<std::string> kept;  // each with '\n' when it had a line end
    std::string countLine;
    bool readFailed = false;
};

CatalogueLines ReadCatalogue(std::FILE* file, ViewState& state) {
    CatalogueLines lines;
    TextLineReader reader(file);
    std::string_view line;
    bool ended = false;
    while (reader.Next(line, ended)) {
        std::string text(line);
        if (ended) {
            text += '\n';
        }
        if (line.find(kCountLineMark) != std::string_view::npos) {
            state.fileCount = static_cast<std::uint32_t>(LeadingDecimal(line));
            lines.countLine = std::move(text);
            break;
        }
        if (line.find(state.rootPath) != std::string_view::npos) {
            lines.kept.push_back(std::move(text));
        }
    }
    lines.readFailed = reader.Failed();
    return lines;
}

bool WriteCatalogue(std::FILE* file, const CatalogueLines& lines) {
    bool ok = true;
    for (const std::string& line : lines.kept) {
        ok = WriteCrLf(file, line) && ok;
    }
    ok = WriteCrLf(file, lines.countLine) && ok;
    return ok;
}

}  // namespace

std::vector<std::size_t> ShellSortGaps(std::size_t n) {
    std::vector<std::size_t> gaps;
    if (n < 2) {
        return gaps;
    }
    const float logarithm = static_cast<float>(std::log(static_cast<double>(n)));
    const auto passes =
        static_cast<std::size_t>(static_cast<double>(logarithm) * 1.442695 + 0.00001);
    std::size_t gap = n;
    for (std::size_t pass = 0; pass < passes; ++pass) {
        gap = static_cast<std::size_t>(static_cast<double>(gap) * 0.5);
        if (gap == 0) {
            break;  // just below a large power of two the count is one too many: a no-op pass
        }
        gaps.push_back(gap);
    }
    if (gaps.back() != 1) {
        gaps.push_back(1);  // whatever the rounding, the last pass must order neighbours
    }
    return gaps;
}

void ShellSortLines(std::size_t n, std::vector<std::string>& lines) {
    for (const std::size_t gap : ShellSortGaps(n)) {
        for (std::size_t i = 0; i + gap < n; ++i) {
            // Walks back by the gap while the later line compares lower; std::string compares
            // bytes as unsigned values, with no locale and no case folding.
            for (std::size_t j = i + gap; j >= gap && lines[j] < lines[j - gap]; j -= gap) {
                lines[j].swap(lines[j - gap]);
            }
        }
    }
}

void SortCatalogue(ViewState& state, InteractionPort& port) {
    ChangeDirectory(state.startDirectory);
    std::FILE* in = std::fopen(kCatalogueName, "rb");
    if (in == nullptr) {
        port.ShowMessage(kCannotSave);
        return;
    }
    CatalogueLines lines = ReadCatalogue(in, state);
    std::fclose(in);
    if (lines.readFailed) {
        port.ShowMessage(kCannotSave);
        return;
    }

    ShellSortLines(lines.kept.size(), lines.kept);

    std::FILE* out = std::fopen(kCatalogueName, "wb");
    if (out == nullptr) {
        port.ShowMessage(kCannotSave);
        return;
    }
    const bool written = WriteCatalogue(out, lines);
    if (std::fclose(out) != 0 || !written) {
        port.ShowMessage(
            "Error in writing the sorted 'DIR4.TXT'. Re-make the directory structure.");
        return;
    }
    ChangeDirectory(state.rootPath);
}

}  // namespace fennory
