#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace fennory {

class InteractionPort;
struct ViewState;

// Reads the catalogue back from the start directory, keeps every line that contains rootPath,
// sorts them by byte value and rewrites the file with the count line last. Lines of any length
// and any number of them are kept whole. Leaves the current directory at rootPath on success
// and at the start directory on failure.
void SortCatalogue(ViewState& state, InteractionPort& port);

// The gaps of the Shell sort over n lines: as many passes as the single-precision natural
// logarithm of n times 1.442695 (plus 0.00001) allows, each halving the gap; the last is 1.
std::vector<std::size_t> ShellSortGaps(std::size_t n);

// Sorts lines[0..n) in place, comparing whole lines (line ends included) byte by byte.
void ShellSortLines(std::size_t n, std::vector<std::string>& lines);

}  // namespace fennory
