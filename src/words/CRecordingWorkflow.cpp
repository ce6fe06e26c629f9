#include "words/CRecordingWorkflow.h"

#include <cstddef>

namespace {
using Change = CRecordingWorkflow::Change;
using Event = CRecordingWorkflow::Event;
constexpr Change O = Change::Off;
constexpr Change I = Change::On;
constexpr Change K = Change::Keep;

struct Row {
    Event event;
    std::array<Change, 6> changes; // Play, Record, Stop Recording, Save Sound, New Word, Redo Recording
};
// Save Sound is offered only once the recording has been played.
constexpr Row kTable[] = {
    {Event::Reset,         {O, I, O, O, O, O}},
    {Event::Record,        {K, O, I, O, O, K}},
    {Event::StopRecording, {I, O, O, K, K, K}},
    {Event::Play,          {K, K, K, I, K, I}},
    {Event::Saved,         {O, O, O, O, I, O}},
    {Event::NewWord,       {O, I, O, O, O, O}},
    {Event::RedoRecording, {O, I, O, O, O, O}},
};

constexpr CRecordingWorkflow::Buttons kReady = {false, true, false, false, false, false};
constexpr CRecordingWorkflow::Buttons kRecording = {false, false, true, false, false, false};
constexpr CRecordingWorkflow::Buttons kRecorded = {true, false, false, false, false, false};
constexpr CRecordingWorkflow::Buttons kHeard = {true, false, false, true, false, true};
constexpr CRecordingWorkflow::Buttons kSaved = {false, false, false, false, true, false};
}

const std::array<CRecordingWorkflow::Change, 6>& CRecordingWorkflow::ChangesOf(Event event)
{
    for (const Row& row : kTable)
        if (row.event == event)
            return row.changes;
    return kTable[0].changes;
}

CRecordingWorkflow::Buttons CRecordingWorkflow::Apply(Event event, const Buttons& before)
{
    const std::array<Change, 6>& changes = ChangesOf(event);
    Buttons after = before;
    for (std::size_t i = 0; i < after.size(); ++i)
        if (changes[i] != Change::Keep)
            after[i] = changes[i] == Change::On;
    return after;
}

CRecordingWorkflow::State CRecordingWorkflow::StateOf(const Buttons& buttons)
{
    if (buttons == kReady)
        return State::Ready;
    if (buttons == kRecording)
        return State::Recording;
    if (buttons == kRecorded)
        return State::Recorded;
    if (buttons == kHeard)
        return State::Heard;
    if (buttons == kSaved)
        return State::Saved;
    return State::Other;
}
