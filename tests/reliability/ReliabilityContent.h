#pragma once
// The contents that the save-loop helper writes in round r, shared with the tests that
// check what a killed helper left on disk. Every round differs in length and bytes, so a
// file made of two rounds can't pass for either.
#include "model/CArchive.h"
#include "model/CGrade.h"
#include "model/CMissed.h"
#include "model/COwnedList.h"
#include "model/CSpellingList.h"
#include "users/CUser.h"

#include <string>

namespace reliability {
inline const char* const kListName = "list.ktr";
inline const char* const kLearner = "learner";

inline COwnedList<CSpellingList> ListFor(int r)
{
    COwnedList<CSpellingList> list;
    for (int i = 0; i <= r % 9; ++i) {
        auto e = std::make_unique<CSpellingList>();
        e->m_author = "author" + std::to_string(r);
        e->m_soundFolder = "/sounds/" + std::to_string(r);
        e->m_word = "word" + std::to_string(r) + "_" + std::to_string(i) + std::string(size_t(r % 5), 'x');
        list.push_back(std::move(e));
    }
    return list;
}

inline COwnedList<CGrade> GradesFor(int r)
{
    COwnedList<CGrade> list;
    for (int i = 0; i <= r % 5; ++i) {
        auto g = std::make_unique<CGrade>();
        g->SetListName("week" + std::to_string(r));
        g->SetDate("12/06/26, 06:0" + std::to_string(i) + " PM");
        g->SetCorrect(r % 11);
        g->SetWords(10 + i);
        list.push_back(std::move(g));
    }
    return list;
}

inline COwnedList<CMissed> MissedFor(int r)
{
    COwnedList<CMissed> list;
    for (int i = 0; i <= r % 7; ++i) {
        auto m = std::make_unique<CMissed>();
        m->SetListName("week" + std::to_string(r));
        m->SetDate("12/06/26, 06:02 PM");
        m->SetWord("friend" + std::to_string(i));
        m->SetMisspelling("freind" + std::to_string(r));
        list.push_back(std::move(m));
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
