#include "platform/comdlg/ComdlgTesting.h"

#include "platform/testing/Reset.h"

#include <deque>

namespace pw::platform::testing {

namespace {

struct State {
    std::deque<std::optional<std::string>> script;
    std::vector<FileDialogRecord> log;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = RegisterReset([] { TheState() = State {}; });

} // namespace

void ScriptFileDialog(const std::string& path)
{
    TheState().script.emplace_back(path);
}

void ScriptFileDialogCancel()
{
    TheState().script.emplace_back(std::nullopt);
}

void ScriptFileDialogAccept()
{
    TheState().script.emplace_back(std::string());
}

size_t ScriptedFileDialogsLeft()
{
    return TheState().script.size();
}

const std::vector<FileDialogRecord>& FileDialogLog()
{
    return TheState().log;
}

std::optional<std::optional<std::string>> TakeFileDialogAnswer()
{
    auto& script = TheState().script;
    if (script.empty())
        return std::nullopt;
    std::optional<std::string> answer = std::move(script.front());
    script.pop_front();
    return answer;
}

void RecordFileDialog(FileDialogRecord record)
{
    TheState().log.push_back(std::move(record));
}

} // namespace pw::platform::testing
