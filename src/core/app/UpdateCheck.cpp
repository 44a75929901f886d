#include "core/app/UpdateCheck.h"

#include "Version.h"
#include "core/base/Format.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr int kMaxPlainBuild = 9999;
constexpr int kMaxVersionField = 65535;
constexpr std::size_t kMaxNewsDigits = 9;

std::string_view Trimmed(std::string_view text)
{
    constexpr std::string_view blanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// A run of 1 to maxDigits decimal digits, nothing else.
std::optional<long> Digits(std::string_view text, std::size_t maxDigits)
{
    if (text.empty() || text.size() > maxDigits)
        return std::nullopt;
    long value = 0;
    for (const char c : text) {
        if (!IsDigit(c))
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

std::optional<ServerBuild> DottedBuild(std::string_view text)
{
    std::array<int, 4> fields{};
    std::size_t count = 0;
    for (;;) {
        const std::size_t dot = text.find('.');
        const auto field = Digits(text.substr(0, dot), 5);
        if (!field || *field > kMaxVersionField || count == fields.size())
            return std::nullopt;
        fields[count++] = static_cast<int>(*field);
        if (dot == std::string_view::npos)
            break;
        text.remove_prefix(dot + 1);
    }
    if (count < 2)
        return std::nullopt;
    ServerBuild build;
    build.version = {fields[0], fields[1], fields[2]};
    build.shown = Format("%d.%d.%d", fields[0], fields[1], fields[2]);
    return build;
}

bool IsHostChar(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '.' || c == '-';
}

std::string_view AfterScheme(std::string_view text)
{
    for (const std::string_view scheme : {std::string_view("http://"), std::string_view("https://")}) {
        if (text.substr(0, scheme.size()) == scheme)
            return text.substr(scheme.size());
    }
    return {};
}

bool HasScheme(std::string_view text)
{
    return text.substr(0, 7) == "http://" || text.substr(0, 8) == "https://";
}

}  // namespace

ProgramVersion OwnProgramVersion()
{
    return {QUENZA_VERSION_MAJOR, QUENZA_VERSION_MINOR, QUENZA_VERSION_PATCH};
}

std::optional<ServerBuild> ParseServerBuild(std::string_view text)
{
    text = Trimmed(text);
    if (text.find('.') != std::string_view::npos)
        return DottedBuild(text);
    const auto number = Digits(text, 4);
    if (!number || *number > kMaxPlainBuild)
        return std::nullopt;
    const int digits = static_cast<int>(*number);
    ServerBuild build;
    build.version = {digits / 1000, digits / 100 % 10, digits / 10 % 10};
    build.shown = Format("%.3f", digits / 1000.0);
    return build;
}

std::optional<int> ParseNewsNumber(std::string_view text)
{
    const auto number = Digits(Trimmed(text), kMaxNewsDigits);
    if (!number)
        return std::nullopt;
    return static_cast<int>(*number);
}

bool IsWebAddress(std::string_view text)
{
    if (text.size() > kNewsTextLimit || !HasScheme(text))
        return false;
    std::string_view rest = AfterScheme(text);
    const std::size_t pathStart = rest.find('/');
    const std::string_view authority = rest.substr(0, pathStart);
    const std::size_t colon = authority.find(':');
    const std::string_view host = authority.substr(0, colon);
    if (host.empty() || host.front() == '.' || host.front() == '-')
        return false;
    for (const char c : host) {
        if (!IsHostChar(c))
            return false;
    }
    if (colon != std::string_view::npos) {
        const auto port = Digits(authority.substr(colon + 1), 5);
        if (!port || *port == 0 || *port > 65535)
            return false;
    }
    if (pathStart == std::string_view::npos)
        return true;
    for (const char c : rest.substr(pathStart)) {
        if (c <= ' ' || c > '~')
            return false;
    }
    return true;
}

std::optional<std::string> UpdatePageAddress(std::string_view server)
{
    server = Trimmed(server);
    if (server.empty())
        return std::nullopt;
    std::string address = HasScheme(server) ? std::string(server) : "http://" + std::string(server);
    while (!address.empty() && address.back() == '/')
        address.pop_back();
    if (!IsWebAddress(address) || address.find_first_of("?#") != std::string::npos)
        return std::nullopt;
    return address;
}

std::optional<std::string> UpdateFileAddress(std::string_view server, std::string_view file)
{
    const auto page = UpdatePageAddress(server);
    if (!page)
        return std::nullopt;
    return *page + "/ftp/" + std::string(file);
}

std::string UpdateAvailableQuestion(const ServerBuild& build)
{
    return Format("Version %s is available, do you want to download now?", build.shown.c_str());
}

std::string UpdateAvailableBalloon(const ServerBuild& build)
{
    return Format("Quenzario Version %s is available\r\r\n Use information 'i' button to download\r\n",
                  build.shown.c_str());
}

std::string UpdateCheckFailedMessage(const std::string& reason)
{
    return "Quenzario could not check for a program update: " + reason;
}

std::string OpenNewsQuestion(const std::string& address)
{
    return "Quenzario news: open " + address + " in your web browser?";
}

NewsDecision DecideNews(int lastNewsItem, int newsItemShown, int newsNumber, std::string_view newsText)
{
    NewsDecision decision;
    const bool newer = lastNewsItem < newsNumber;
    if (newer) {
        decision.resetShown = true;
        decision.lastNewsItem = newsNumber;
    }
    if (!newer && newsItemShown != 0)
        return decision;
    const std::string_view text = Trimmed(newsText);
    if (text.substr(0, 4) == "http") {
        decision.badAddress = !IsWebAddress(text);
        if (!decision.badAddress) {
            decision.show = NewsDecision::Show::AskToOpen;
            decision.text = std::string(text);
        }
        return decision;
    }
    std::size_t length = std::min(text.size(), kBalloonTextLimit);
    // Cut between characters, never inside one; a text that is not even one
    // whole character shows nothing.
    while (length < text.size() && length > 0 && (static_cast<unsigned char>(text[length]) & 0xC0) == 0x80)
        --length;
    if (length > 0) {
        decision.show = NewsDecision::Show::Balloon;
        decision.text = std::string(text.substr(0, length));
    }
    return decision;
}
