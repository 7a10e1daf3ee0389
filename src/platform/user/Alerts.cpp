#include "platform/user/Alerts.h"

#include "platform/backend/Backend.h"
#include "platform/backends/headless/HeadlessBackend.h"
#include "platform/kernel/Clock.h"
#include "platform/testing/Reset.h"

#include <algorithm>
#include <deque>

namespace pw::platform {

namespace {

struct State {
    std::deque<int> script;
    std::vector<AlertRecord> log;
    std::vector<BeepRecord> beeps;
    bool shownInTests = false;
};

State& TheState()
{
    static State state;
    return state;
}

const bool registered = testing::RegisterReset([] { TheState() = State {}; });

bool Has(const std::vector<int>& buttons, int answer)
{
    return std::find(buttons.begin(), buttons.end(), answer) != buttons.end();
}

} // namespace

void Alerts::ScriptAnswer(int answer)
{
    TheState().script.push_back(answer);
}

std::optional<int> Alerts::TakeScriptedAnswer()
{
    auto& script = TheState().script;
    if (script.empty())
        return std::nullopt;
    int answer = script.front();
    script.pop_front();
    return answer;
}

size_t Alerts::ScriptedAnswersLeft()
{
    return TheState().script.size();
}

void Alerts::Record(AlertRecord record)
{
    TheState().log.push_back(std::move(record));
}

const std::vector<AlertRecord>& Alerts::Log()
{
    return TheState().log;
}

size_t Alerts::UnscriptedCount()
{
    const auto& log = TheState().log;
    return static_cast<size_t>(std::count_if(log.begin(), log.end(), [](const AlertRecord& r) { return !r.scripted; }));
}

void Alerts::RecordBeep(UINT type)
{
    TheState().beeps.push_back(BeepRecord { type, Clock::NowMs() });
}

const std::vector<BeepRecord>& Alerts::Beeps()
{
    return TheState().beeps;
}

std::vector<int> Alerts::ButtonsOf(UINT style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OK: return { IDOK };
    case MB_OKCANCEL: return { IDOK, IDCANCEL };
    case MB_ABORTRETRYIGNORE: return { IDABORT, IDRETRY, IDIGNORE };
    case MB_YESNOCANCEL: return { IDYES, IDNO, IDCANCEL };
    case MB_YESNO: return { IDYES, IDNO };
    case MB_RETRYCANCEL: return { IDRETRY, IDCANCEL };
    default: return {};
    }
}

int Alerts::DismissAnswer(UINT style)
{
    std::vector<int> buttons = ButtonsOf(style);
    for (int answer : { IDCANCEL, IDOK, IDNO, IDIGNORE }) {
        if (Has(buttons, answer))
            return answer;
    }
    return 0;
}

bool Alerts::AnswersFromScript()
{
    return &CurrentBackend() == &kHeadlessBackend && !TheState().shownInTests;
}

void Alerts::ShowDialogsInTests(bool shown)
{
    TheState().shownInTests = shown;
}

} // namespace pw::platform
