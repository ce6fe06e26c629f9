#pragma once

// Command ids of the menu, the page bar, the keys and posted commands.
enum CommandId : int {
    ID_VIEW_START = 32771,
    ID_VIEW_WORDS = 32772,
    ID_VIEW_TEST = 32773,
    ID_VIEW_REPORTS = 32774,
    ID_VIEW_OPTIONS = 32775,
    ID_HELP_SAMPLE_LIST = 32790, // Help > Open the Sample List

    // Reports page: a new list of the learner's missed words, then the test page.
    ID_PRACTISE_MISSED_WORDS = 32791,
    // Start page and File menu: a new list of the learner's words due today, then the test page.
    ID_TODAYS_REVIEW = 32795,
    // Help menu: the user guide at its first steps for a new parent or teacher.
    ID_HELP_GETTING_STARTED = 32796,

    // File menu: a new list of words drawn from a spelling rule's word bank (also the
    // start page's button), and the words of the list taken from or written to other files.
    ID_FILE_NEW_FROM_RULE = 32792,
    ID_FILE_IMPORT_WORDS = 32793,
    ID_FILE_EXPORT_WORDS = 32794,

    ID_FILE_NEW = 57600,
    ID_FILE_OPEN = 57601,
    ID_FILE_SAVE = 57603,
    ID_FILE_SAVE_AS = 57604,
    ID_FILE_PRINT = 57607,
    ID_FILE_PRINT_DIRECT = 57606,
    ID_FILE_PRINT_PREVIEW = 57609,
    ID_FILE_MRU_FILE1 = 57616, // ... ID_FILE_MRU_FILE1 + 3
    ID_EDIT_COPY = 57634,
    ID_EDIT_CUT = 57635,
    ID_EDIT_PASTE = 57637,
    ID_EDIT_UNDO = 57643,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
    ID_HELP_FINDER = 57667,
    ID_CONTEXT_HELP = 57669,
    ID_HELP = 57670,
    ID_DEFAULT_HELP = 57671,
    ID_NEXT_PANE = 57680,
    ID_PREV_PANE = 57681,
};

// Page numbers; page n is shown by command ID_VIEW_START + n - 1.
enum PageNumber : int { PAGE_START = 1, PAGE_WORDS = 2, PAGE_TEST = 3, PAGE_REPORTS = 4, PAGE_OPTIONS = 5 };
