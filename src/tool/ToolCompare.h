#pragma once
// kelto4-tool compare [WORD ANSWER]: the letter comparison, one line per pair.
int RunCompare(int argc, char** argv);
