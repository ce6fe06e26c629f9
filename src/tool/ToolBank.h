#pragma once
// kelto4-tool bank [RULE [--level N]]: the rules that have word banks, with their sizes,
// or the words of one rule's bank.
int RunBank(int argc, char** argv);
