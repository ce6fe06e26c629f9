#pragma once
#include <array>

// The words page's recording workflow. It lives only in which of the six workflow
// buttons are enabled; each event switches some of them on or off and leaves the
// others as they are.
class CRecordingWorkflow {
public:
    // The six workflow buttons, in the order of Buttons below.
    static constexpr std::array<int, 6> kButtonIds = {
        1002, // Play
        1003, // Record
        1004, // Stop Recording
        1005, // Save Sound
        1006, // New Word
        1007, // Redo Recording
    };
    using Buttons = std::array<bool, 6>;

    enum class Event { Reset, Record, StopRecording, Play, Saved, NewWord, RedoRecording };
    enum class Change : signed char { Off, On, Keep };
    enum class State { Ready, Recording, Recorded, Heard, Saved, Other };

    // The buttons after the event, given the buttons before it.
    static Buttons Apply(Event event, const Buttons& before);
    static const std::array<Change, 6>& ChangesOf(Event event);
    // The named state these buttons stand for, or Other.
    static State StateOf(const Buttons& buttons);
};
