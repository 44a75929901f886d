#include "core/app/UpdateCheck.h"

#include <gtest/gtest.h>

#include <string>

TEST(UpdateCheck, ServerBuildsAreReadStrictly)
{
    struct Case {
        const char* text;
        bool valid;
        ProgramVersion version;
        const char* shown;
    };
    const Case cases[] = {
        {"5010", true, {5, 0, 1}, "5.010"},
        {"1000\r\n", true, {1, 0, 0}, "1.000"},
        {" 2.3.4 \n", true, {2, 3, 4}, "2.3.4"},
        {"1.10.0.7", true, {1, 10, 0}, "1.10.0"},
        {"3.1", true, {3, 1, 0}, "3.1.0"},
        {"", false, {}, ""},
        {"abc", false, {}, ""},
        {"5010abc", false, {}, ""},
        {"-5", false, {}, ""},
        {"99999", false, {}, ""},
        {"1.2.3.4.5", false, {}, ""},
        {"1.70000.0", false, {}, ""},
        {"1..2", false, {}, ""},
        {"<html>Not Found</html>", false, {}, ""},
    };
    for (const Case& c : cases) {
        const auto build = ParseServerBuild(c.text);
        ASSERT_EQ(build.has_value(), c.valid) << c.text;
        if (build) {
            EXPECT_EQ(build->version, c.version) << c.text;
            EXPECT_EQ(build->shown, c.shown) << c.text;
        }
    }
}

TEST(UpdateCheck, VersionsCompareFieldByField)
{
    // Digits back to back would make 1.10.0 "1100" and 2.0.0 "200".
    EXPECT_LT((ProgramVersion{1, 10, 0}), (ProgramVersion{2, 0, 0}));
    EXPECT_LT((ProgramVersion{1, 9, 9}), (ProgramVersion{1, 10, 0}));
    EXPECT_EQ(ParseServerBuild("1000")->version, OwnProgramVersion());
    EXPECT_LT(OwnProgramVersion(), ParseServerBuild("1010")->version);
    EXPECT_EQ(UpdateAvailableQuestion(*ParseServerBuild("5010")),
              "Version 5.010 is available, do you want to download now?");
    EXPECT_EQ(UpdateAvailableBalloon(*ParseServerBuild("5010")),
              "Quenzario Version 5.010 is available\r\r\n Use information 'i' button to download\r\n");
}

TEST(UpdateCheck, NewsNumbersAreInRange)
{
    EXPECT_EQ(ParseNewsNumber("7\n"), 7);
    EXPECT_EQ(ParseNewsNumber("999999999"), 999999999);
    EXPECT_EQ(ParseNewsNumber("1234567890"), std::nullopt);
    EXPECT_EQ(ParseNewsNumber("-1"), std::nullopt);
    EXPECT_EQ(ParseNewsNumber("12 news"), std::nullopt);
    EXPECT_EQ(ParseNewsNumber(""), std::nullopt);
}

TEST(UpdateCheck, ServerAddressesAndWebAddresses)
{
    EXPECT_EQ(UpdateFileAddress("", kBuildFile), std::nullopt);
    EXPECT_EQ(UpdateFileAddress("updates.example.org", kBuildFile),
              "http://updates.example.org/ftp/quenzario3build.txt");
    EXPECT_EQ(UpdateFileAddress(" http://127.0.0.1:8080/ ", kNewsNumberFile),
              "http://127.0.0.1:8080/ftp/quenzarionews.ver");
    EXPECT_EQ(UpdateFileAddress("https://example.org/quenzario", kNewsTextFile),
              "https://example.org/quenzario/ftp/quenzanewsurl.txt");
    for (const char* bad : {"ftp://example.org", "javascript:alert(1)", "http://exa mple.org", "http://host/?q=1",
                            "http://host:0", "http://host:99999", "http://-host", "file:///etc/passwd"})
        EXPECT_EQ(UpdateFileAddress(bad, kBuildFile), std::nullopt) << bad;

    EXPECT_TRUE(IsWebAddress("http://example.org"));
    EXPECT_TRUE(IsWebAddress("https://example.org:8443/news/item.html?id=4#top"));
    EXPECT_FALSE(IsWebAddress("http://"));
    EXPECT_FALSE(IsWebAddress("https://example.org/a b"));
    EXPECT_FALSE(IsWebAddress("http://example.org/\r\nmore"));
    EXPECT_FALSE(IsWebAddress("httpx://example.org"));
    EXPECT_FALSE(IsWebAddress("http://ex\x01mple.org"));
    EXPECT_FALSE(IsWebAddress("http://example.org/" + std::string(2000, 'a')));
}

TEST(UpdateCheck, NewsItemsShowOnceUntilTouched)
{
    using Show = NewsDecision::Show;
    struct Case {
        int last;
        int shown;
        int number;
        std::string text;
        Show show;
        bool resetShown;
        std::optional<int> lastNewsItem;
    };
    const Case cases[] = {
        {3, 1, 3, "Hello", Show::Nothing, false, std::nullopt},  // seen, nothing new
        {3, 0, 3, "Hello", Show::Balloon, false, std::nullopt},  // shown again until the tray is touched
        {2, 1, 3, "Hello", Show::Balloon, true, 3},  // a new item
        {2, 1, 3, "http://example.org/news", Show::AskToOpen, true, 3},
        {2, 1, 3, "http://bad host/", Show::Nothing, true, 3},
        {5, 0, 3, "Hello", Show::Balloon, false, std::nullopt},  // the server went back: no new number
        {2, 0, 3, "  \r\n", Show::Nothing, true, 3},
    };
    for (const Case& c : cases) {
        const NewsDecision news = DecideNews(c.last, c.shown, c.number, c.text);
        EXPECT_EQ(news.show, c.show) << c.text;
        EXPECT_EQ(news.resetShown, c.resetShown) << c.text;
        EXPECT_EQ(news.lastNewsItem, c.lastNewsItem) << c.text;
    }
    EXPECT_TRUE(DecideNews(2, 1, 3, "http://bad host/").badAddress);
    EXPECT_EQ(DecideNews(0, 0, 1, "http://example.org/n\r\n").text, "http://example.org/n");
    // A balloon takes 255 bytes, never half a character.
    const std::string longText = std::string(254, 'a') + "\xC3\xA9" + "tail";
    EXPECT_EQ(DecideNews(0, 0, 1, longText).text, std::string(254, 'a'));
    EXPECT_EQ(DecideNews(0, 0, 1, std::string(300, 'b')).text.size(), 255u);
    EXPECT_EQ(DecideNews(0, 0, 1, std::string(300, '\xA2')).show, Show::Nothing) << "no whole character";
}
