#pragma once

#include <cstdio>
#include <string_view>

namespace fennory {

class FileBuffer;
class InteractionPort;
struct ViewState;

inline constexpr char kReportFileName[] = "SEARCHPLAINTEXT.TXT";
inline constexpr std::size_t kViewLimit = 200000;
inline constexpr std::size_t kRestrictedViewLimit = 50000;

// View Results: the patch report from the start directory in the View Text dialog. True when
// the dialog was shown, false after the open-failure message. Leaves the current directory at
// rootPath after a view and at the start directory after a failed open.
bool OnViewResults(ViewState& state, InteractionPort& port, FileBuffer& buffer);

// Fills the View Text dialog from an open report and shows it: at most the read limit of
// characters (counted after CR LF became one line feed), up to the first NUL, with the heading
// and a note saying whether the text was cut short or nothing was read.
void ShowTextView(std::FILE* report, std::string_view heading, const ViewState& state,
                  InteractionPort& port, FileBuffer& buffer);

}  // namespace fennory
