#include "words/CRecordingWorkflow.h"

#include <gtest/gtest.h>

namespace {
using Event = CRecordingWorkflow::Event;
using State = CRecordingWorkflow::State;
using Buttons = CRecordingWorkflow::Buttons;

struct Step {
    Event event;
    Buttons after; // Play, Record, Stop Recording, Save Sound, New Word, Redo Recording
    State state;
};

// One recording of a word from a fresh page to the next word, event by event.
TEST(RecordingWorkflowTest, ARecordingGoesFromReadyThroughHeardToSavedAndBack)
{
    const Step steps[] = {
        {Event::Reset, {false, true, false, false, false, false}, State::Ready},
        {Event::Record, {false, false, true, false, false, false}, State::Recording},
        {Event::StopRecording, {true, false, false, false, false, false}, State::Recorded},
        {Event::Play, {true, false, false, true, false, true}, State::Heard},
        {Event::Play, {true, false, false, true, false, true}, State::Heard},
        {Event::Saved, {false, false, false, false, true, false}, State::Saved},
        {Event::NewWord, {false, true, false, false, false, false}, State::Ready},
    };
    Buttons buttons{true, true, true, true, true, true};
    for (const Step& step : steps) {
        buttons = CRecordingWorkflow::Apply(step.event, buttons);
        EXPECT_EQ(buttons, step.after) << int(step.event);
        EXPECT_EQ(CRecordingWorkflow::StateOf(buttons), step.state) << int(step.event);
    }
}

TEST(RecordingWorkflowTest, RedoFromHeardReturnsToReady)
{
    const Buttons heard{true, false, false, true, false, true};
    EXPECT_EQ(CRecordingWorkflow::StateOf(CRecordingWorkflow::Apply(Event::RedoRecording, heard)), State::Ready);
}

TEST(RecordingWorkflowTest, SaveSoundIsNeverOfferedBeforeTheRecordingWasPlayed)
{
    Buttons buttons = CRecordingWorkflow::Apply(Event::Reset, {});
    for (Event e : {Event::Record, Event::StopRecording}) {
        buttons = CRecordingWorkflow::Apply(e, buttons);
        EXPECT_FALSE(buttons[3]) << int(e);
    }
}

// Dashes in the table leave a button as it was.
TEST(RecordingWorkflowTest, UnchangedButtonsKeepWhateverTheyWere)
{
    const Buttons allOn{true, true, true, true, true, true};
    EXPECT_EQ(CRecordingWorkflow::Apply(Event::Record, allOn), (Buttons{true, false, true, false, false, true}));
    EXPECT_EQ(CRecordingWorkflow::Apply(Event::StopRecording, allOn), (Buttons{true, false, false, true, true, true}));
    EXPECT_EQ(CRecordingWorkflow::Apply(Event::Play, Buttons{}), (Buttons{false, false, false, true, false, true}));
}
}
