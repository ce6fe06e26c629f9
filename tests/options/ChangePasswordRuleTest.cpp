#include "users/CChangePassword.h"

#include <gtest/gtest.h>

#include <memory>

namespace {
COwnedList<CUser> Accounts()
{
    COwnedList<CUser> users;
    auto add = [&users](const char* name, const char* password) {
        auto user = std::make_unique<CUser>();
        user->m_name = name;
        user->m_password = password;
        users.push_back(std::move(user));
    };
    add("Ann", " ");      // made with an empty password
    add("Bob", "secret");
    add("ann", "lower");  // a different user: names are compared exactly
    add("Bob", "second"); // never reached: the first match wins
    return users;
}

struct Case {
    const char* name;
    const char* oldPassword;
    const char* newPassword;
    const char* retyped;
    CChangePassword::Result result;
    int changedIndex;     // -1 when nothing may change
    const char* stored;
};

class ChangePasswordRule : public ::testing::TestWithParam<Case> {};

TEST_P(ChangePasswordRule, ChangesOnlyTheRightAccountAndOnlyWhenEverythingMatches)
{
    const Case& c = GetParam();
    COwnedList<CUser> users = Accounts();
    const COwnedList<CUser> before = Accounts();
    EXPECT_EQ(CChangePassword::Change(users, c.name, c.oldPassword, c.newPassword, c.retyped), c.result);
    ASSERT_EQ(users.size(), before.size());
    for (size_t i = 0; i < users.size(); ++i) {
        EXPECT_EQ(users[i]->m_name, before[i]->m_name);
        if (int(i) == c.changedIndex)
            EXPECT_EQ(users[i]->m_password, c.stored) << i;
        else
            EXPECT_EQ(users[i]->m_password, before[i]->m_password) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChangePasswordRule,
    ::testing::Values(
        Case{"Ann", "", "new", "new", CChangePassword::Changed, 0, "new"},
        Case{"Ann", " ", "new", "new", CChangePassword::WrongPassword, -1, ""},
        Case{"Bob", "secret", "", "", CChangePassword::Changed, 1, ""},
        Case{"Bob", "second", "x", "x", CChangePassword::WrongPassword, -1, ""},
        Case{"Bob", "Secret", "x", "x", CChangePassword::WrongPassword, -1, ""},
        Case{"Bob", "secret ", "x", "x", CChangePassword::WrongPassword, -1, ""},
        Case{"Bob", "secret", "new", "New", CChangePassword::NotRetyped, -1, ""},
        Case{"Bob", "secret", " padded ", " padded ", CChangePassword::Changed, 1, " padded "},
        Case{"BOB", "secret", "x", "x", CChangePassword::UnknownName, -1, ""},
        Case{"ann", "lower", "y", "y", CChangePassword::Changed, 2, "y"},
        Case{"", "", "x", "x", CChangePassword::UnknownName, -1, ""},
        Case{"Ann ", "", "x", "x", CChangePassword::UnknownName, -1, ""}));

TEST(ChangePasswordRule, NoAccountsMeansEveryNameIsUnknown)
{
    COwnedList<CUser> none;
    EXPECT_EQ(CChangePassword::Change(none, "Ann", "", "", ""), CChangePassword::UnknownName);
}

TEST(ChangePasswordRule, EachRefusalHasItsOwnMessage)
{
    EXPECT_STREQ(CChangePassword::Message(CChangePassword::UnknownName), "Incorrect User Name");
    EXPECT_STREQ(CChangePassword::Message(CChangePassword::WrongPassword), "Incorrect PassWord");
    EXPECT_STREQ(CChangePassword::Message(CChangePassword::NotRetyped),
                 "The New Password is not the same as the Retyped Password");
    EXPECT_EQ(CChangePassword::Message(CChangePassword::Changed), nullptr);
}
}
