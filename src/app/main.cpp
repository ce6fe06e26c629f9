#include "app/CKelto4App.h"
#include "model/CProgramInfo.h"

namespace {
const char* const kHelp =
    "Usage: kelto4 [OPTION]... [LIST]\n"
    "Practise spelling tests. Opens LIST, a spelling list (.ktr), or starts with a\n"
    "new, empty list.\n"
    "\n"
    "      --shell-open  hand LIST to the Keltora already running, if there is one\n"
    "  -h, --help        display this help and exit\n"
    "  -v, --version     output version information and exit\n"
    "\n"
    "Settings are kept in ~/.config/Tarvel/Kelto4.conf; learners' accounts and\n"
    "results in ~/.local/share/Kelto4 unless the Options page names another folder.\n"
    "Full documentation: man kelto4, or Help Topics in the program's Help menu.\n";
}

int main(int argc, char** argv)
{
    // Answered before the window system is touched, so they work without a display.
    switch (CProgramInfo::Find(argc, argv)) {
    case CProgramInfo::Request::help: return CProgramInfo::Print(kHelp);
    case CProgramInfo::Request::version: return CProgramInfo::Print(CProgramInfo::VersionText("kelto4"));
    case CProgramInfo::Request::none: break;
    }
    Q_INIT_RESOURCE(kelto4app);
    CKelto4App app(argc, argv);
    if (!app.InitInstance())
        return 0;
    return app.exec();
}
