#pragma once
// kelto4-tool analyse [WORD MISSPELLING]: the analysis text, one line per pair.
int RunAnalyse(int argc, char** argv);
