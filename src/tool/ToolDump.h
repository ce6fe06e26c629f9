#pragma once
// kelto4-tool dump FILE: one line per object; exit 1 on a read failure, 2 when the file can't be opened.
int RunDump(int argc, char** argv);
