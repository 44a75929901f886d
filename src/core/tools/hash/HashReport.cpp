#include "core/tools/hash/HashReport.h"

#include "core/base/Format.h"

#include <algorithm>
#include <cctype>

namespace {

constexpr std::size_t kReportColumns = 73;
constexpr int kCentringWidth = 76;

struct GroupRow {
    DigestKind kind;
    const char* heading;
};

constexpr GroupRow kGroups[] = {
    {DIGEST_MD5, "MD5 Hash Value"},        {DIGEST_SHA1, "SHA-1 Hash Value"},     {DIGEST_SHA224, "SHA-224 Hash Value"},
    {DIGEST_SHA256, "SHA-256 Hash Value"}, {DIGEST_SHA384, "SHA-384 Hash Value"}, {DIGEST_SHA512, "SHA-512 Hash Value"},
};

std::string UpperCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::toupper(c); });
    return text;
}

}  // namespace

std::vector<std::string> DigestGroupLines(const MultiDigest& digests, HashChoice choice)
{
    std::vector<std::string> lines;
    const unsigned kinds = choice.Kinds();
    for (const GroupRow& group : kGroups) {
        if (!(kinds & group.kind))
            continue;
        const std::string digits = UpperCase(digests.HexDigest(group.kind));
        lines.emplace_back(group.heading);
        if (group.kind == DIGEST_MD5) {
            lines.push_back(digits);
        } else {
            lines.push_back(Format("%-73s", digits.substr(0, kReportColumns).c_str()));
            if (digits.size() > kReportColumns)
                lines.push_back(digits.substr(kReportColumns));
        }
        lines.emplace_back();
    }
    return lines;
}

std::string FileHashHeading(HashChoice choice)
{
    return Format("%17s%16s", " ",
                  choice.AnySha() ? "           MD5 / SHA hash of file          "
                                  : "              MD5 hash of file             ");
}

std::string FolderHashHeading()
{
    return Format("%s%s", std::string((kCentringWidth - 43) / 2, ' ').c_str(),
                  "           MD5 / SHA hash of folder        ");
}

std::string CentredFolderLine(const std::string& folder)
{
    const int length = static_cast<int>(folder.size());
    const int blanks = length >= kCentringWidth ? 0 : (kCentringWidth - length) / 2;
    return std::string(static_cast<std::size_t>(blanks), ' ') + folder;
}

std::string LeftOutLine(int files)
{
    return files == 1 ? std::string("1 file was left out of these digests")
                      : Format("%d files were left out of these digests", files);
}

std::string MediaHashHeading(HashChoice choice, bool entireMedia)
{
    if (!entireMedia)
        return Format("%17s%16s", " ",
                      choice.AnySha() ? "   MD5 / SHA hash of a media block range   "
                                      : "      MD5 hash of a media block range      ");
    return Format("%17s%16s", " ",
                  choice.AnySha() ? "  MD5 / SHA hash of entire media data area "
                                  : "     MD5 hash of entire media data area    ");
}
