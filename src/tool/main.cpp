// kelto4-tool: looks into Keltora's files and runs the misspelling analysis, the letter comparison
// and the comparison by sound, for scripting.
#include "model/CProgramInfo.h"
#include "tool/ToolAnalyse.h"
#include "tool/ToolBank.h"
#include "tool/ToolClass.h"
#include "tool/ToolCompare.h"
#include "tool/ToolDump.h"
#include "tool/ToolExport.h"
#include "tool/ToolWords.h"
#include "tool/ToolReview.h"
#include "tool/ToolSounds.h"

#include <cstdio>
#include <cstring>

namespace {
const char* const kHelp =
    "Usage: kelto4-tool dump FILE\n"
    "  or:  kelto4-tool analyse [WORD MISSPELLING]\n"
    "  or:  kelto4-tool compare [WORD ANSWER]\n"
    "  or:  kelto4-tool sounds [WORD ANSWER]\n"
    "  or:  kelto4-tool export [--missed] USERFOLDER\n"
    "  or:  kelto4-tool class USERFOLDER [--date YYYY-MM-DD]\n"
    "  or:  kelto4-tool words FILE\n"
    "  or:  kelto4-tool bank [RULE [--level N]]\n"
    "  or:  kelto4-tool review USERFOLDER NAME [--date YYYY-MM-DD]\n"
    "Look into Keltora's files, name the spelling rules a misspelling breaks,\n"
    "compare an answer with its word letter by letter and by sound, see what a\n"
    "word list file holds, list the word banks and the words due for review.\n"
    "\n"
    "  dump FILE         print every entry of a spelling list (.ktr), results (.kt3),\n"
    "                      misspelled-words (.kt4), word memory (.kt5) or accounts\n"
    "                      (Kelto4.lgn) file, one line each, fields separated by tabs\n"
    "  analyse WORD MISSPELLING\n"
    "                    print the spelling rules MISSPELLING breaks, on one line\n"
    "  analyse           the same for every WORD<TAB>MISSPELLING line of standard input\n"
    "  compare WORD ANSWER\n"
    "                    print ANSWER aligned letter by letter with WORD: =c right,\n"
    "                      ~cx c typed as x, -c c missing, +x x extra, ^cd c d swapped;\n"
    "                      ? for texts of more than 1000 letters, not compared\n"
    "  compare           the same for every WORD<TAB>ANSWER line of standard input\n"
    "  sounds WORD ANSWER\n"
    "                    print whether ANSWER sounds like WORD: right (the same\n"
    "                      sounds), close (one sound differs) or different\n"
    "  sounds            the same for every WORD<TAB>ANSWER line of standard input\n"
    "  export USERFOLDER every learner's results in USERFOLDER as one CSV\n"
    "  export --missed USERFOLDER\n"
    "                    every learner's misspelled words as one CSV\n"
    "  class USERFOLDER [--date YYYY-MM-DD]\n"
    "                    one CSV row of figures for every learner in USERFOLDER, as\n"
    "                      the reports page's class view shows them on that day\n"
    "                      (default today)\n"
    "  words FILE        print the words File > Import Words takes from FILE (text,\n"
    "                      CSV, KVTML or Anki notes), one a line in UTF-8; each\n"
    "                      entry it skips goes to standard error with the reason\n"
    "  bank              list the rules that have word banks: the rule's name, a tab,\n"
    "                      then the number of words at levels 1, 2 and 3\n"
    "  bank RULE [--level N]\n"
    "                    print the bank's words for RULE, one a line (every level\n"
    "                      when --level is not given)\n"
    "  review USERFOLDER NAME [--date YYYY-MM-DD]\n"
    "                    the words due for review on that day (default today), as\n"
    "                      WORD<TAB>BOX<TAB>DUE lines in the order Today's Review asks them\n"
    "  -h, --help        display this help and exit\n"
    "  -v, --version     output version information and exit\n"
    "\n"
    "Exit status: 0 done, 1 a damaged file, a failed read or write, no speech for\n"
    "sounds, a file words can't read or missing word banks, 2 a wrong command line,\n"
    "or a file or folder that can't be opened.\n"
    "Full documentation: man kelto4-tool\n";
}

int main(int argc, char** argv)
{
    // Only the first word: after a command, "--help" may be a word to analyse.
    switch (CProgramInfo::Find(argc < 2 ? argc : 2, argv)) {
    case CProgramInfo::Request::help: return CProgramInfo::Print(kHelp);
    case CProgramInfo::Request::version: return CProgramInfo::Print(CProgramInfo::VersionText("kelto4-tool"));
    case CProgramInfo::Request::none: break;
    }
    if (argc >= 2 && std::strcmp(argv[1], "dump") == 0)
        return RunDump(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "analyse") == 0)
        return RunAnalyse(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "compare") == 0)
        return RunCompare(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "sounds") == 0)
        return RunSounds(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "export") == 0)
        return RunExport(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "class") == 0)
        return RunClass(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "words") == 0)
        return RunWords(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "bank") == 0)
        return RunBank(argc - 2, argv + 2);
    if (argc >= 2 && std::strcmp(argv[1], "review") == 0)
        return RunReview(argc - 2, argv + 2);
    std::fprintf(stderr,
                 "usage: kelto4-tool dump FILE\n"
                 "       kelto4-tool analyse [WORD MISSPELLING]   (without arguments: WORD<TAB>MISSPELLING lines on standard input)\n"
                 "       kelto4-tool compare [WORD ANSWER]        (without arguments: WORD<TAB>ANSWER lines on standard input)\n"
                 "       kelto4-tool sounds [WORD ANSWER]         (without arguments: WORD<TAB>ANSWER lines on standard input)\n"
                 "       kelto4-tool export [--missed] USERFOLDER\n"
                 "       kelto4-tool class USERFOLDER [--date YYYY-MM-DD]\n"
                 "       kelto4-tool words FILE\n"
                 "       kelto4-tool bank [RULE [--level N]]\n"
                 "       kelto4-tool review USERFOLDER NAME [--date YYYY-MM-DD]\n"
                 "Try 'kelto4-tool --help' for more information.\n");
    return 2;
}
