#pragma once
#include <cstdio>

class CSoundComparison;
class CSpeechEngine;

// kelto4-tool sounds [WORD ANSWER]: whether an answer sounds like its word, one line
// per pair: right, close or different.
int RunSounds(int argc, char** argv);

// Gives engine the voice chosen on the options page (or the desktop language's).
void UseChosenVoice(CSpeechEngine& engine);
// Says on err, on one line, why sounds can't be compared.
void PrintSoundsUnavailable(std::FILE* err, const CSoundComparison& sounds);
