#include "tool/ToolSounds.h"

#include "document/CKelto4AppCore.h"
#include "model/Cp1252.h"
#include "sound/CSpeechEngine.h"
#include "spelling/CSoundComparison.h"
#include "tool/ToolPairs.h"

void UseChosenVoice(CSpeechEngine& engine)
{
    engine.SetVoice(CKelto4AppCore::GetVoice());
}

void PrintSoundsUnavailable(std::FILE* err, const CSoundComparison& sounds)
{
    // The message's line breaks are for a message box; here it is one line.
    std::string why;
    for (char c : Cp1252ToUtf8(sounds.UnavailableText()))
        if (c != '\r')
            why.push_back(c == '\n' ? ' ' : c);
    std::fprintf(err, "kelto4-tool: sounds can't be compared: %s\n", why.c_str());
}

int RunSounds(int argc, char** argv)
{
    CSpeechEngine engine;
    UseChosenVoice(engine);
    CSoundComparison sounds(engine);
    // Without speech no line could be answered, so none is; a wrong command line is
    // still told its usage.
    if ((argc == 0 || argc == 2) && !sounds.IsAvailable()) {
        PrintSoundsUnavailable(stderr, sounds);
        return 1;
    }
    return RunPairs("sounds", "[WORD ANSWER]", argc, argv,
                    [&sounds](std::string_view word, std::string_view answer, std::string& out) {
                        out.append(CSoundComparison::Name(sounds.Compare(word, answer)));
                    });
}
