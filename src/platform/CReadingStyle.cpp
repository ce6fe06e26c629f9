#include "platform/CReadingStyle.h"

#include <algorithm>
#include <cmath>

namespace {
using Rgb = CReadingStyle::Rgb;

struct Pair {
    Rgb light;
    Rgb dark;
};
// Pale papers for a light desktop; deep ones of the same hue for a dark one, where a
// white page would glare.
const Pair kPapers[CReadingStyle::kBackgrounds] = {
    {{255, 255, 255}, {32, 32, 32}},  // White
    {{253, 246, 227}, {43, 40, 34}},  // Cream
    {{230, 240, 250}, {29, 39, 51}},  // Pale Blue
    {{232, 245, 233}, {31, 43, 32}},  // Pale Green
    {{255, 253, 208}, {44, 42, 23}},  // Pale Yellow
};
// The answers list's colours for right and wrong (green 100, red 205) and blue for the
// letters to learn; on a dark paper, light tints of the same hues.
const Pair kText{{0, 0, 0}, {242, 242, 242}};
const Pair kRight{{0, 100, 0}, {143, 217, 143}};
const Pair kWrong{{205, 0, 0}, {255, 143, 143}};
const Pair kLearn{{0, 0, 205}, {168, 191, 255}};

const char* const kTextSizeNames[] = {"Normal", "Large", "Very Large"};
const char* const kSpacingNames[] = {"Normal", "Wide", "Extra Wide"};
const char* const kBackgroundNames[] = {"White", "Cream", "Pale Blue", "Pale Green", "Pale Yellow"};

template <class Enum>
Enum Clamped(int value, Enum count, Enum fallback)
{
    return value >= 0 && value < int(count) ? Enum(value) : fallback;
}
} // namespace

const char* CReadingStyle::TextSizeName(TextSize size)
{
    return kTextSizeNames[Clamped(int(size), kTextSizes, Normal)];
}

const char* CReadingStyle::SpacingName(Spacing spacing)
{
    return kSpacingNames[Clamped(int(spacing), kSpacings, NormalSpacing)];
}

const char* CReadingStyle::BackgroundName(Background background)
{
    return kBackgroundNames[Clamped(int(background), kBackgrounds, White)];
}

double CReadingStyle::Scale() const
{
    static const double scales[] = {1.0, 1.25, 1.5};
    return scales[Clamped(int(textSize), kTextSizes, Normal)];
}

int CReadingStyle::LetterSpacingPercent() const
{
    // Studies of extra letter spacing for dyslexic readers used about a fifth more.
    static const int percents[] = {100, 110, 120};
    return percents[Clamped(int(spacing), kSpacings, NormalSpacing)];
}

double CReadingStyle::WordSpacingSpaces() const
{
    static const double spaces[] = {0.0, 0.5, 1.0};
    return spaces[Clamped(int(spacing), kSpacings, NormalSpacing)];
}

CReadingStyle::Colours CReadingStyle::ColoursFor(Background background, bool dark)
{
    auto pick = [dark](const Pair& p) { return dark ? p.dark : p.light; };
    return {pick(kPapers[Clamped(int(background), kBackgrounds, White)]), pick(kText), pick(kRight), pick(kWrong),
            pick(kLearn)};
}

double CReadingStyle::Luminance(Rgb colour)
{
    auto channel = [](std::uint8_t value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.r) + 0.7152 * channel(colour.g) + 0.0722 * channel(colour.b);
}

double CReadingStyle::ContrastRatio(Rgb a, Rgb b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

CReadingStyle::TextSize CReadingStyle::ToTextSize(int value)
{
    return Clamped(value, kTextSizes, Normal);
}

CReadingStyle::Spacing CReadingStyle::ToSpacing(int value)
{
    return Clamped(value, kSpacings, NormalSpacing);
}

CReadingStyle::Background CReadingStyle::ToBackground(int value)
{
    return Clamped(value, kBackgrounds, White);
}
