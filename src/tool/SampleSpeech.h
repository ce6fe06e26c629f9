#pragma once
#include <string>

// The one place where the sample generator meets the program's speech code.

// Can this build speak at all?
bool SampleSpeechAvailable();
// Speaks word into a new WAVE file at nativePath, in the form of a recording (44100 Hz,
// 16-bit, 2 channels). False, with the reason in error, when it can't.
bool SpeakWordToFile(const std::string& word, const std::string& nativePath, std::string& error);
