#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

// The update and news checks' rules: what the update server's three files
// say, how a build compares with the program's own, and what a news item
// does. The fetching and showing are the window's.

// The files under the server's "/ftp/" folder, and how much of each is read.
constexpr const char* kBuildFile = "quenzario3build.txt";
constexpr const char* kNewsNumberFile = "quenzarionews.ver";
constexpr const char* kNewsTextFile = "quenzanewsurl.txt";
constexpr std::size_t kNumberFileLimit = 100;
constexpr std::size_t kNewsTextLimit = 1024;
// A fetch that has not finished by then has failed.
constexpr int kFetchTimeoutMs = 15000;

// The profile value that names the update server (a host, host:port or an
// http(s) address); empty, as by default, means no server and no request.
constexpr const char* kUpdateServerEntry = "UpdateServer";

// A program version as major, minor and build (the file version's first
// three fields), compared field by field.
struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    auto operator<=>(const ProgramVersion&) const = default;
};
ProgramVersion OwnProgramVersion();

// The server's build file: either a plain build number of up to four digits,
// the version's fields one digit each back to back ("5010" is 5.0.1, shown
// as 5.010), or a dotted version "major.minor.build[.tweak]" (fields 0 to
// 65535, shown as major.minor.build). Blanks and line ends around it are
// allowed; anything else is not a build.
struct ServerBuild {
    ProgramVersion version;
    std::string shown;
};
std::optional<ServerBuild> ParseServerBuild(std::string_view text);
// The news number file: a decimal number of up to nine digits.
std::optional<int> ParseNewsNumber(std::string_view text);

// The address of a server file, or nullopt when the server's name is empty
// or not a well-formed http(s) address (a bare host gets "http://").
std::optional<std::string> UpdateFileAddress(std::string_view server, std::string_view file);
// The server's own page, where a new version is downloaded.
std::optional<std::string> UpdatePageAddress(std::string_view server);

// True for an http:// or https:// address with a host of letters, digits,
// dots and dashes (an optional :port), and a path of printable characters
// without blanks; at most kNewsTextLimit long.
bool IsWebAddress(std::string_view text);

// What the window says.
std::string UpdateAvailableQuestion(const ServerBuild& build);
std::string UpdateAvailableBalloon(const ServerBuild& build);
std::string UpdateCheckFailedMessage(const std::string& reason);
constexpr const char* kUpdateAvailableCaption = "Quenzario update available";
constexpr const char* kUpToDateMessage = "Your version of Quenzario is up to date.";
constexpr const char* kProgramCaption = "Quenzario by Orvelsoft";
constexpr const char* kNoUpdateServerMessage
    = "No update server is configured, so Quenzario cannot check for a program update.\n"
      "Set the profile value UpdateServer to the server's address (host or http://host:port).";
std::string OpenNewsQuestion(const std::string& address);

// What a news item does, from the profile's "LastNewsItem" and
// "NewsItemShown", the server's news number and the news text. A newer
// number shows the item once and makes "NewsItemShown" 0; an old one shows
// it again only while "NewsItemShown" is 0. A text beginning with "http" is
// an address, opened only when well-formed and the user agrees; any other
// text is a balloon (at most 255 characters).
struct NewsDecision {
    enum class Show { Nothing, Balloon, AskToOpen };
    Show show = Show::Nothing;
    std::string text;  // the balloon's text or the address
    bool resetShown = false;  // write "NewsItemShown" = 0
    std::optional<int> lastNewsItem;  // write "LastNewsItem"
    bool badAddress = false;  // an address that is not well-formed, not opened
};
NewsDecision DecideNews(int lastNewsItem, int newsItemShown, int newsNumber, std::string_view newsText);
constexpr std::size_t kBalloonTextLimit = 255;
