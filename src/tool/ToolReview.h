#pragma once
// kelto4-tool review USERFOLDER NAME [--date YYYY-MM-DD]: the learner's words due on that
// day (today by default) as word<TAB>box<TAB>due lines, in the order Today's Review asks
// them, all of them. Exit 1 for a damaged memory or one of a newer version, 2 for a wrong
// command line or a file that can't be read.
int RunReview(int argc, char** argv);
