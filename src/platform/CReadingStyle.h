#pragma once
#include <cstdint>
#include <string>

// How the texts a learner reads are shown (the answer box, the feedback, the answers
// list and the words list): their size, the room between letters and words, the
// background and the font, as the options page's "Reading" group sets them, and the
// colours that go with each background in a light or a dark desktop theme. Every
// background keeps the text, right, wrong and learn colours at a contrast of at least
// 4.5:1, the least the web's readability guidelines ask for normal text.
class CReadingStyle {
public:
    enum TextSize { Normal, Large, VeryLarge, kTextSizes };
    enum Spacing { NormalSpacing, Wide, ExtraWide, kSpacings };
    enum Background { White, Cream, PaleBlue, PaleGreen, PaleYellow, kBackgrounds };

    struct Rgb {
        std::uint8_t r, g, b;
        bool operator==(const Rgb&) const = default;
    };
    struct Colours {
        Rgb paper; // the background
        Rgb text;
        Rgb right; // a right answer
        Rgb wrong; // a wrong answer, and the wrong letters
        Rgb learn; // the letters to learn
    };

    TextSize textSize = Normal;
    Spacing spacing = NormalSpacing;
    Background background = White;
    // A font family; empty for the plain sans-serif font of the desktop.
    std::string font;

    bool operator==(const CReadingStyle&) const = default;

    // The names the options page shows, in the enums' order.
    static const char* TextSizeName(TextSize size);
    static const char* SpacingName(Spacing spacing);
    static const char* BackgroundName(Background background);

    // How much larger than normal the texts are drawn.
    double Scale() const;
    // The width of each letter, in percent of its normal width.
    int LetterSpacingPercent() const;
    // What each space between words gains, in spaces.
    double WordSpacingSpaces() const;

    Colours GetColours(bool dark) const { return ColoursFor(background, dark); }
    static Colours ColoursFor(Background background, bool dark);

    // The relative luminance of a colour and the contrast ratio of two colours, as the
    // web's readability guidelines define them (1 to 21).
    static double Luminance(Rgb colour);
    static double ContrastRatio(Rgb a, Rgb b);
    // The least contrast the style's colours must keep with their background.
    static constexpr double kLeastContrast = 4.5;

    // Settings read from storage may hold anything: out-of-range values become the default.
    static TextSize ToTextSize(int value);
    static Spacing ToSpacing(int value);
    static Background ToBackground(int value);
};
