// The guide's pictures: each one the guide shows exists and has a text for those who
// can't see it, and none shows a page whose sources changed since it was taken.
#include "GuideSource.h"
#include "shots/CPictureManifest.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <regex>

namespace {
const char* const kImages = "docs/images/";

bool Exists(const std::string& relativePath)
{
    return std::filesystem::is_regular_file(std::string(KELTO4_SOURCE_DIR) + "/" + relativePath);
}
}

TEST(GuidePictures, EveryPictureIsTakenOfItsPagesAsTheyAreNow)
{
    const auto entries = CPictureManifest::Parse(ReadSourceFile(std::string(kImages) + CPictureManifest::kFileName));
    ASSERT_FALSE(entries.empty()) << "docs/images/pictures.txt is missing: run scripts/screenshots";
    for (const CPictureManifest::Entry& e : entries) {
        EXPECT_TRUE(Exists(kImages + e.picture)) << kImages << e.picture << " is missing: run scripts/screenshots";
        EXPECT_EQ(CPictureManifest::SourcesHash(KELTO4_SOURCE_DIR, e.sources), e.hash)
            << kImages << e.picture << " shows an older version of its page: a file it shows (docs/images/"
            << CPictureManifest::kFileName << ") changed since. Run scripts/screenshots and look at the new picture.";
    }
}

TEST(GuidePictures, EveryPictureOfTheGuideExistsAndSaysWhatItShows)
{
    const std::string guide = ReadSourceFile("docs/userguide.html");
    ASSERT_FALSE(guide.empty());
    const std::regex img("<img\\b[^>]*>", std::regex::icase);
    const std::regex src("\\bsrc=\"([^\"]*)\"", std::regex::icase);
    const std::regex alt("\\balt=\"([^\"]*)\"", std::regex::icase);
    int pictures = 0;
    for (auto it = std::sregex_iterator(guide.begin(), guide.end(), img); it != std::sregex_iterator(); ++it) {
        const std::string tag = it->str();
        std::smatch m;
        ++pictures;
        ASSERT_TRUE(std::regex_search(tag, m, src)) << tag << ": no src";
        const std::string file = m[1];
        EXPECT_TRUE(Exists("docs/" + file)) << "the guide shows docs/" << file << ", which is missing";
        // A screen reader reads the alt text instead: a few words at least, not a file name.
        EXPECT_TRUE(std::regex_search(tag, m, alt) && std::string(m[1]).find(' ') != std::string::npos)
            << file << " has no alt text that says what it shows";
    }
    EXPECT_GT(pictures, 0);
}
