#pragma once

#include "view/interaction_port.h"

namespace fennory::bench {

// A port that shows nothing and answers every question No: what a timed run needs.
class NullPort : public InteractionPort {
  public:
    void ShowMessage(std::string_view) override {}
    bool AskYesNo(std::string_view) override { return false; }
    bool AskOkCancel(std::string_view) override { return false; }
    void SetStatusText(std::string_view) override {}
    void BeginWait() override {}
    void EndWait() override {}
    bool DrainMessages() override { return false; }
    void Beep() override {}
    FolderChoice ChooseFolder(std::string_view, std::string_view) override { return {}; }
    bool ShowSearchOptions(SearchOptionsFields&) override { return false; }
    void ShowTextView(std::string_view, std::string_view) override {}
};

}  // namespace fennory::bench
