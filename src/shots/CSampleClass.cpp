#include "shots/CSampleClass.h"

#include "document/CSampleList.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CPath.h"
#include "model/CUser.h"
#include "model/CUserRecordFiles.h"
#include "model/CWordMemory.h"
#include "model/CWordMemoryFile.h"
#include "users/CUserFile.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {
const char* const kSampleList = "Sample List";
const char* const kRuleList = "ie and ei, level 1";
const std::vector<std::string> kRuleWords = {"receive", "believe", "ceiling", "piece", "field",
                                             "chief", "thief", "shield", "deceive", "niece"};

struct Miss {
    const char* word;
    const char* misspelling;
};
// Oldest first; every test takes the whole list.
struct Test {
    int daysAgo;
    const char* list;
    const char* time;
    std::vector<Miss> missed;
};
struct Learner {
    const char* name;
    std::vector<Test> tests;
};
const std::vector<Learner> kClass = {
    {CSampleClass::kName, {
        {20, kSampleList, "04:10 PM", {{"said", "sed"}, {"because", "becuase"}, {"friend", "freind"}, {"were", "wer"}, {"there", "ther"}}},
        {18, kSampleList, "04:25 PM", {{"said", "sed"}, {"because", "becos"}, {"friend", "frend"}, {"they", "thay"}}},
        {15, kRuleList, "05:05 PM", {{"receive", "recieve"}, {"believe", "beleive"}, {"ceiling", "cieling"}, {"piece", "peice"}}},
        {13, kSampleList, "04:40 PM", {{"said", "sed"}, {"because", "becuase"}, {"were", "wer"}}},
        {11, kRuleList, "04:15 PM", {{"receive", "recieve"}, {"believe", "beleive"}, {"ceiling", "cieling"}}},
        {8, kSampleList, "04:30 PM", {{"because", "becaus"}, {"said", "siad"}}},
        {6, kRuleList, "04:50 PM", {{"receive", "recieve"}, {"believe", "beleve"}}},
        {1, kSampleList, "04:20 PM", {{"because", "becuase"}}},
    }},
    {"Ava", {
        {16, kSampleList, "10:05 AM", {{"friend", "freind"}, {"because", "becuz"}}},
        {9, kSampleList, "10:10 AM", {{"friend", "freind"}}},
        {2, kSampleList, "10:00 AM", {}},
    }},
    {"Leo", {
        {19, kSampleList, "11:15 AM", {{"said", "sed"}, {"they", "thay"}, {"come", "cum"}, {"some", "sum"}, {"were", "wer"}, {"there", "thare"}}},
        {12, kSampleList, "11:20 AM", {{"said", "sed"}, {"come", "cum"}, {"some", "sum"}, {"because", "becos"}}},
        {7, kRuleList, "11:05 AM", {{"receive", "recieve"}, {"believe", "beleive"}, {"field", "feild"}, {"chief", "cheif"}, {"piece", "peace"}}},
        {3, kSampleList, "11:10 AM", {{"said", "sed"}, {"come", "cum"}, {"some", "sum"}}},
    }},
    {"Mia", {
        {14, kRuleList, "09:40 AM", {{"ceiling", "cieling"}, {"deceive", "decieve"}}},
        {5, kRuleList, "09:45 AM", {{"deceive", "decieve"}}},
    }},
    {"Noah", {
        {17, kSampleList, "01:30 PM", {{"have", "hav"}, {"were", "wer"}, {"because", "becaws"}}},
        {10, kSampleList, "01:35 PM", {{"have", "hav"}, {"friend", "frend"}, {"were", "wer"}, {"there", "thair"}, {"because", "becaws"}}},
        {4, kSampleList, "01:25 PM", {{"were", "wer"}}},
    }},
};

// The test page's stamp: "%x, %I:%M %p" in the C library's default locale.
std::string Stamp(CCalendarDay day, const char* time)
{
    char date[16];
    std::snprintf(date, sizeof date, "%02d/%02d/%02d", day.Month(), day.Day(), day.Year() % 100);
    return std::string(date) + ", " + time;
}

bool WriteAccounts(const std::string& userFolder, std::string& error)
{
    CUserFile file;
    if (!file.Open(userFolder, nullptr)) {
        error = file.LastError();
        return false;
    }
    for (const Learner& learner : kClass) {
        auto user = std::make_unique<CUser>();
        user->m_name = learner.name;
        user->m_password = " ";
        file.Users().push_back(std::move(user));
    }
    const bool saved = file.Save();
    error = file.LastError();
    file.Close();
    return saved;
}


bool WriteLearner(const std::string& userFolder, const Learner& learner, CCalendarDay today, std::string& error)
{
    COwnedList<CGrade> grades;
    COwnedList<CMissed> missed;
    CWordMemory memory;
    for (const Test& test : learner.tests) {
        const CCalendarDay day = today.AddDays(-test.daysAgo);
        const std::vector<std::string>& words = test.list == kSampleList ? CSampleList::Words() : kRuleWords;
        std::vector<CWordMemory::Attempt> attempts;
        for (const std::string& word : words) {
            bool right = true;
            for (const Miss& m : test.missed)
                right = right && word != m.word;
            attempts.push_back({word, right});
        }
        memory.RecordTest(attempts, day);
        // The newest record comes first, as the test page adds them.
        auto grade = std::make_unique<CGrade>();
        grade->SetListName(test.list);
        grade->SetDate(Stamp(day, test.time));
        grade->SetWords(int32_t(words.size()));
        grade->SetCorrect(int32_t(words.size() - test.missed.size()));
        grades.push_front(std::move(grade));
        for (const Miss& m : test.missed) {
            auto record = std::make_unique<CMissed>();
            record->SetListName(test.list);
            record->SetDate(Stamp(day, test.time));
            record->SetWord(m.word);
            record->SetMisspelling(m.misspelling);
            missed.push_front(std::move(record));
        }
    }
    return CUserRecordFiles::Save(userFolder, learner.name, grades, missed, &error)
        && CWordMemoryFile::Write(CPath::ToNative(CWordMemoryFile::Path(userFolder, learner.name)), memory, &error);
}
}

bool CSampleClass::Write(const std::string& userFolder, CCalendarDay today, std::string& error)
{
    if (!WriteAccounts(userFolder, error))
        return false;
    for (const Learner& learner : kClass)
        if (!WriteLearner(userFolder, learner, today, error))
            return false;
    return true;
}
