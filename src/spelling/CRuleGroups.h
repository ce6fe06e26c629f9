#pragma once
#include <cstdint>

// The rules of the misspelling analysis, one group per rule operation: "double s" and
// "single t" are both doubled letters, "ch ai" and "wh" both lost letter groups. The
// progress charts count misspellings per group.
class CRuleGroups {
public:
    // In the order in which the analysis tries the rules; NoRule stands for "?".
    enum Rule : int {
        IeEi,
        FinalE,
        YToI,
        DoubleLetters,
        PluralEnding,
        LetterGroups,
        Blends,
        Tch,
        Dge,
        Ve,
        Ze,
        IeToY,
        Capital,
        Suffix,
        LetterSwap,
        MissingLetters,
        ExtraLetters,
        NoRule,
        kCount
    };
    using Set = std::uint32_t;
    static constexpr Set Bit(Rule rule) { return Set(1) << rule; }

    // The group's name as the charts and the export show it.
    static const char* Name(Rule rule);
};
