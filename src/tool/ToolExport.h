#pragma once
#include <cstdint>
#include <cstdio>
#include <string>

class CSoundComparison;

// kelto4-tool export [--missed] USERFOLDER: every learner's result records (or, with
// --missed, misspelled-word records) as one CSV on standard output.
int RunExport(int argc, char** argv);

// The export itself. folder is the file system's name of the user folder. Learners come
// in the user file's order, then any other record files in name order; the files are
// only read, so no lock is taken. Damaged or unreadable files are named on err and the
// rest goes on. Misspellings are compared by sound with sounds. Returns 0, 1 when a
// file was damaged, 2 when the folder can't be listed or out can't be written; rows
// (if given) gets the number of record rows written.
int ExportUserFolder(const std::string& folder, bool missed, CSoundComparison& sounds, std::FILE* out,
                     std::FILE* err, std::int64_t* rows = nullptr);
