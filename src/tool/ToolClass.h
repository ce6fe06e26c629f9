#pragma once
#include <cstdio>
#include <string>

class CCalendarDay;
class CSoundComparison;

// kelto4-tool class USERFOLDER [--date YYYY-MM-DD]: the class view's learner table as CSV.
int RunClass(int argc, char** argv);

// The table itself. folder is the file system's name of the user folder; today the day the
// words due count from. Files left alone are named on err. Returns 0, 1 when a file was
// damaged or speech was not available, 2 when the folder can't be listed or out can't be written.
int WriteClassTable(const std::string& folder, CCalendarDay today, CSoundComparison& sounds, std::FILE* out,
                    std::FILE* err);
