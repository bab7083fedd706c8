#pragma once

#include <string>
#include <string_view>

namespace fennory {

// What the folder dialog hands back: whether it was confirmed, the returned path (the chosen
// folder's path, its separator and the folder marker after it) and the dialog's extended error.
struct FolderChoice {
    bool confirmed = false;
    std::string path;
    unsigned long extendedError = 0;
};

// The Search Options dialog's fields, put in when it opens and read back on OK.
struct SearchOptionsFields {
    std::string engineText;
    std::string rudderText;
    std::string gravityText;
    std::string surfaceText;
    int remakeCheck = 0;
};

// Every way a command talks to the user. The desktop shell, the terminal tool and the tests each
// supply one; the engine never sees a toolkit.
class InteractionPort {
  public:
    virtual ~InteractionPort() = default;

    // Modal OK box.
    virtual void ShowMessage(std::string_view text) = 0;
    // Modal Yes/No box; true only on Yes.
    virtual bool AskYesNo(std::string_view text) = 0;
    // Modal OK/Cancel box; true only on OK (Escape and the close box answer Cancel).
    virtual bool AskOkCancel(std::string_view text) = 0;
    // Replaces the first status pane's text and shows it at once.
    virtual void SetStatusText(std::string_view text) = 0;
    // Nesting wait cursor; see WaitNesting.
    virtual void BeginWait() = 0;
    virtual void EndWait() = 0;
    // Handles pending input once; true when Escape was seen.
    virtual bool DrainMessages() = 0;
    // The desktop's default sound.
    virtual void Beep() = 0;

    // The folder picker: `title` for its caption, `marker` preset as the file name.
    virtual FolderChoice ChooseFolder(std::string_view title, std::string_view marker) = 0;
    // The Search Options dialog, modal; true when closed with OK (then `fields` holds what the
    // user confirmed), false on Cancel with `fields` as they were.
    virtual bool ShowSearchOptions(SearchOptionsFields& fields) = 0;
    // The View Text dialog, modal: the body text and the one-line title under it.
    virtual void ShowTextView(std::string_view body, std::string_view title) = 0;
};

}  // namespace fennory
