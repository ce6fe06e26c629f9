#pragma once
// The contents that the save-loop helper writes in round r, shared with the tests that
// check what a killed helper left on disk. Every round differs in length and bytes, so a
// file made of two rounds can't pass for either.
#include "model/CArchive.h"
#include "model/COwnedList.h"
#include "model/CUser.h"
#include "RecordBuilders.h"

#include <string>

namespace reliability {
inline const char* const kListName = "list.ktr";
inline const char* const kLearner = "learner";

inline COwnedList<CSpellingList> ListFor(int r)
{
    COwnedList<CSpellingList> list;
    for (int i = 0; i <= r % 9; ++i) {
        list.push_back(Entry("author" + std::to_string(r), "/sounds/" + std::to_string(r),
                             "word" + std::to_string(r) + "_" + std::to_string(i) + std::string(size_t(r % 5), 'x')));
    }
    return list;
}

inline COwnedList<CGrade> GradesFor(int r)
{
    COwnedList<CGrade> list;
    for (int i = 0; i <= r % 5; ++i) {
        list.push_back(Grade("week" + std::to_string(r), "12/06/26, 06:0" + std::to_string(i) + " PM", r % 11, 10 + i));
    }
    return list;
}

inline COwnedList<CMissed> MissedFor(int r)
{
    COwnedList<CMissed> list;
    for (int i = 0; i <= r % 7; ++i) {
        list.push_back(Missed("week" + std::to_string(r), "12/06/26, 06:02 PM", "friend" + std::to_string(i),
                              "freind" + std::to_string(r)));
    }
    return list;
}

inline COwnedList<CUser> UsersFor(int r)
{
    COwnedList<CUser> list;
    for (int i = 0; i <= r % 6; ++i) {
        auto u = std::make_unique<CUser>();
        u->m_name = "user" + std::to_string(r) + "_" + std::to_string(i);
        u->m_password = i % 2 ? "pw" + std::to_string(r) : " ";
        list.push_back(std::move(u));
    }
    return list;
}

template <class T>
std::string Encode(const COwnedList<T>& list)
{
    std::string bytes;
    {
        CArchive ar(CArchive::store, bytes);
        StoreObjectList(ar, list);
    }
    return bytes;
}
} // namespace reliability
