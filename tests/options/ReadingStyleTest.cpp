// The reading settings: every background keeps every colour readable, and settings
// from storage that hold anything else fall back to the defaults.
#include "document/CKelto4AppCore.h"
#include "platform/CProfile.h"
#include "platform/CReadingStyle.h"
#include "CTestAppCore.h"

#include <gtest/gtest.h>

#include <string>

namespace {
using Rgb = CReadingStyle::Rgb;
}

TEST(ReadingStyle, ContrastRatiosAreTheWebGuidelinesOnes)
{
    const struct {
        Rgb a, b;
        double ratio;
    } cases[] = {
        {{0, 0, 0}, {255, 255, 255}, 21.0},
        {{255, 255, 255}, {255, 255, 255}, 1.0},
        {{118, 118, 118}, {255, 255, 255}, 4.54}, // the lightest grey that passes on white
        {{0, 100, 0}, {255, 255, 255}, 7.44},
        {{205, 0, 0}, {255, 255, 255}, 5.84},
    };
    for (const auto& c : cases) {
        EXPECT_NEAR(CReadingStyle::ContrastRatio(c.a, c.b), c.ratio, 0.01) << c.ratio;
        EXPECT_NEAR(CReadingStyle::ContrastRatio(c.b, c.a), c.ratio, 0.01) << c.ratio;
    }
}

TEST(ReadingStyle, EveryBackgroundKeepsTheTextAndTheAnswersColoursReadableInLightAndDarkThemes)
{
    for (int background = 0; background < CReadingStyle::kBackgrounds; ++background)
        for (bool dark : {false, true}) {
            const CReadingStyle::Colours c = CReadingStyle::ColoursFor(CReadingStyle::Background(background), dark);
            const std::string where =
                std::string(CReadingStyle::BackgroundName(CReadingStyle::Background(background))) + (dark ? " dark" : " light");
            const struct {
                const char* name;
                Rgb ink;
            } inks[] = {{"text", c.text}, {"right", c.right}, {"wrong", c.wrong}, {"learn", c.learn}};
            for (const auto& ink : inks)
                EXPECT_GE(CReadingStyle::ContrastRatio(ink.ink, c.paper), CReadingStyle::kLeastContrast)
                    << ink.name << " on " << where;
            // A dark theme gets a dark paper, a light one a pale paper.
            EXPECT_EQ(CReadingStyle::Luminance(c.paper) < 0.2, dark) << where;
        }
    // In a light theme the answers keep the colours the answers list always had.
    const CReadingStyle::Colours white = CReadingStyle::ColoursFor(CReadingStyle::White, false);
    EXPECT_EQ(white.right, (Rgb{0, 100, 0}));
    EXPECT_EQ(white.wrong, (Rgb{205, 0, 0}));
}

TEST(ReadingStyle, StoredSettingsOutOfRangeReadAsTheDefaults)
{
    CTestAppCore app;
    const struct {
        int textSize, spacing, background;
        CReadingStyle expected;
    } cases[] = {
        {0, 0, 0, {}},
        {2, 1, 4, {CReadingStyle::VeryLarge, CReadingStyle::Wide, CReadingStyle::PaleYellow, ""}},
        {3, -1, 99, {}},
        {-7, 2, 5, {CReadingStyle::Normal, CReadingStyle::ExtraWide, CReadingStyle::White, ""}},
    };
    for (const auto& c : cases) {
        CProfile::WriteProfileInt("Settings", "Reading Text Size", c.textSize);
        CProfile::WriteProfileInt("Settings", "Reading Letter Spacing", c.spacing);
        CProfile::WriteProfileInt("Settings", "Reading Background", c.background);
        EXPECT_TRUE(app.GetReadingStyle() == c.expected) << c.textSize << " " << c.spacing << " " << c.background;
    }
    const CReadingStyle chosen{CReadingStyle::Large, CReadingStyle::ExtraWide, CReadingStyle::Cream, "DejaVu Serif"};
    ASSERT_TRUE(app.SetReadingStyle(chosen));
    EXPECT_TRUE(app.GetReadingStyle() == chosen);
}
