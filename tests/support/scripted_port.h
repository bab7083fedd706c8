#pragma once

#include <deque>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "view/interaction_port.h"
#include "view/wait_nesting.h"

namespace fennory::testing {

// An interaction port for tests: records every message, question, status text, beep and
// dialog in order, answers from a script, and reports Escape on chosen drains.
class ScriptedPort : public InteractionPort {
  public:
    // Each entry is "<kind>: <text>", kinds: message, yes-no, ok-cancel, status, beep,
    // folder, search-options, text-view.
    std::vector<std::string> events;

    std::deque<bool> answers;          // for AskYesNo / AskOkCancel; false when exhausted
    std::set<int> escapeOnDrain;       // 1-based numbers of the drains that report Escape
    std::deque<FolderChoice> folders;  // answers of ChooseFolder; cancelled when exhausted
    std::deque<std::optional<SearchOptionsFields>> searchOptions;  // nullopt: Cancel
    std::vector<SearchOptionsFields> offeredSearchOptions;
    std::string lastTextViewBody;
    std::string lastTextViewTitle;

    int drains = 0;
    WaitNesting wait;

    void ShowMessage(std::string_view text) override;
    bool AskYesNo(std::string_view text) override;
    bool AskOkCancel(std::string_view text) override;
    void SetStatusText(std::string_view text) override;
    void BeginWait() override { wait.Begin(); }
    void EndWait() override { wait.End(); }
    bool DrainMessages() override;
    void Beep() override;
    FolderChoice ChooseFolder(std::string_view title, std::string_view marker) override;
    bool ShowSearchOptions(SearchOptionsFields& fields) override;
    void ShowTextView(std::string_view body, std::string_view title) override;

    // The events of one kind, texts only.
    std::vector<std::string> Of(std::string_view kind) const;

  private:
    bool NextAnswer();
};

}  // namespace fennory::testing
