#pragma once
// kelto4-tool words FILE: the words File > Import Words would take from FILE, one a line;
// each entry it would skip, with the reason, on standard error.
int RunWords(int argc, char** argv);
