#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "batch_request.h"
#include "view/interaction_port.h"
#include "view/wait_nesting.h"

namespace fennory::batch {

// The interaction port of a terminal: messages on standard output, questions answered at the
// terminal or by --yes/--no, one live progress line on standard error when it is a terminal,
// and Ctrl+C as Escape (a second Ctrl+C ends the program at once).
class TerminalPort : public InteractionPort {
  public:
    // Call at start-up, while the current directory is still the start directory.
    explicit TerminalPort(const BatchRequest& request);

    // Installs the SIGINT handler; call once before any command runs.
    static void CatchInterrupts();

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override { return Ask(text); }
    bool AskOkCancel(std::string_view text) override { return Ask(text); }
    void SetStatusText(std::string_view text) override;
    void BeginWait() override { wait_.Begin(); }
    void EndWait() override { wait_.End(); }
    bool DrainMessages() override;
    void Beep() override;
    FolderChoice ChooseFolder(std::string_view title, std::string_view marker) override;
    bool ShowSearchOptions(SearchOptionsFields& fields) override;
    void ShowTextView(std::string_view body, std::string_view title) override;

  private:
    bool Ask(std::string_view question);
    void ClearStatusLine();
    std::optional<std::uint32_t> CatalogueCount() const;

    const BatchRequest& request_;
    std::string startDirectory_;
    bool statusOnTerminal_;
    bool statusShown_ = false;
    std::optional<std::uint32_t> runTotal_;
    std::chrono::steady_clock::time_point runStart_;
    int interruptsSeen_ = 0;
    WaitNesting wait_;
};

}  // namespace fennory::batch
