#include "support/scripted_port.h"

namespace fennory::testing {

namespace {
std::string Event(std::string_view kind, std::string_view text) {
    std::string event(kind);
    event += ": ";
    event += text;
    return event;
}
}  // namespace

void ScriptedPort::ShowMessage(std::string_view text) {
    events.push_back(Event("message", text));
}

bool ScriptedPort::AskYesNo(std::string_view text) {
    events.push_back(Event("yes-no", text));
    return NextAnswer();
}

bool ScriptedPort::AskOkCancel(std::string_view text) {
    events.push_back(Event("ok-cancel", text));
    return NextAnswer();
}

void ScriptedPort::SetStatusText(std::string_view text) {
    events.push_back(Event("status", text));
}

bool ScriptedPort::DrainMessages() {
    ++drains;
    return escapeOnDrain.count(drains) != 0;
}

void ScriptedPort::Beep() {
    events.push_back(Event("beep", ""));
}

FolderChoice ScriptedPort::ChooseFolder(std::string_view title, std::string_view marker) {
    events.push_back(Event("folder", std::string(title) + " | " + std::string(marker)));
    if (folders.empty()) {
        return {};
    }
    FolderChoice choice = folders.front();
    folders.pop_front();
    return choice;
}

bool ScriptedPort::ShowSearchOptions(SearchOptionsFields& fields) {
    events.push_back(Event("search-options", ""));
    offeredSearchOptions.push_back(fields);
    if (searchOptions.empty() || !searchOptions.front()) {
        if (!searchOptions.empty()) {
            searchOptions.pop_front();
        }
        return false;
    }
    fields = *searchOptions.front();
    searchOptions.pop_front();
    return true;
}

void ScriptedPort::ShowTextView(std::string_view body, std::string_view title) {
    events.push_back(Event("text-view", title));
    lastTextViewBody = body;
    lastTextViewTitle = title;
}

std::vector<std::string> ScriptedPort::Of(std::string_view kind) const {
    std::vector<std::string> texts;
    const std::string prefix = std::string(kind) + ": ";
    for (const std::string& event : events) {
        if (event.rfind(prefix, 0) == 0) {
            texts.push_back(event.substr(prefix.size()));
        }
    }
    return texts;
}

bool ScriptedPort::NextAnswer() {
    if (answers.empty()) {
        return false;
    }
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

}  // namespace fennory::testing
