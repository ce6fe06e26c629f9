#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// Lines a learner's answer up with the word, letter by letter, so that the
// feedback can show which letters were right, typed wrong, left out, added or
// swapped. The alignment is an optimal string alignment: a wrong letter, a
// missing letter, an extra letter and two neighbouring letters typed the other
// way round each cost one, and no alignment costs less. Texts are Windows-1252
// bytes, compared exactly.
class CLetterComparison {
public:
    enum class Kind : unsigned char {
        Same,    // the word's letter, typed right
        Changed, // the word's letter typed as another one
        Missing, // the word's letter left out
        Extra,   // a letter the word does not have
        Swapped, // two neighbouring letters of the word typed the other way round
    };

    // word and answer hold what the step takes from each text: Same and Changed
    // one letter of each, Missing only a word letter, Extra only an answer letter,
    // Swapped the word's two letters in word (answer holds them as typed).
    struct Step {
        Kind kind;
        char word[2];
        char answer[2];

        std::string_view WordLetters() const;
        std::string_view AnswerLetters() const;
        bool operator==(const Step& other) const;
    };

    // The work grows with the product of the two lengths, so texts longer than this
    // (a paste, a damaged record file) are not compared at all.
    static constexpr std::size_t kMaxLetters = 1000;
    // Are both texts short enough to be compared?
    static bool CanCompare(std::string_view word, std::string_view answer);

    // The steps from the first letters to the last; none when CanCompare is false. The
    // vector is the only heap memory a call takes, unless both texts are long (more
    // than 4,096 cells).
    static std::vector<Step> Compare(std::string_view word, std::string_view answer);

    // The steps that are not Same.
    static std::size_t Cost(const std::vector<Step>& steps);
};
