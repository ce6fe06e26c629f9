// Records once and ends: 0 when recording started, 3 when it failed; the recorder's
// message goes to standard error. The sound tests run it as an ordinary user, whom
// libpulse would start a sound server for.
//   sound_connect_probe FOLDER
#include "sound/CSoundRecorder.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    CSoundRecorder recorder;
    recorder.SetFolder(argv[1]);
    const int recorded = recorder.Record();
    recorder.Close();
    return recorded ? 0 : 3;
}
