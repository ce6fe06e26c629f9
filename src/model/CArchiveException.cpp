#include "model/CArchiveException.h"

const char* CArchiveException::CauseText(Cause cause) noexcept
{
    switch (cause) {
    case endOfFile: return "end of file";
    case badIndex: return "bad index";
    case badClass: return "bad class";
    case badSchema: return "bad schema";
    case generic: break;
    }
    return "generic";
}
