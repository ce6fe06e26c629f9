#include "tool/SampleSpeech.h"

// Not joined to the speech engine yet: the sample list is made without sounds.
bool SampleSpeechAvailable()
{
    return false;
}

bool SpeakWordToFile(const std::string&, const std::string&, std::string& error)
{
    error = "this build has no speech";
    return false;
}
