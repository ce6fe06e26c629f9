// A second running copy for the user-file tests: logs NAME in (creating the account)
// in FOLDER COUNT times, each time opening, changing and saving the shared user file.
#include "users/CLogInRules.h"
#include "users/CUserFile.h"

#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 4)
        return 2;
    const CUserFileAccess patient(2000, 5);
    const std::string folder = argv[1];
    const std::string name = argv[2];
    const int count = std::atoi(argv[3]);
    for (int i = 0; i < count; ++i) {
        CUserFile file(patient);
        if (!file.Open(folder, nullptr))
            return 3;
        CLogInRules rules(file.Users());
        rules.LogIn(name + std::to_string(i), "");
        if (rules.IsModified() && !file.Save())
            return 4;
    }
    return 0;
}
