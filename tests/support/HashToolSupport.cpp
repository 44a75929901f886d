#include "support/HashToolSupport.h"

#include "platform/text/Trim.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <future>
#include <sstream>
#include <stdexcept>

namespace {

const char* const kHeadings[6] = {"MD5 Hash Value",     "SHA-1 Hash Value",   "SHA-224 Hash Value",
                                  "SHA-256 Hash Value", "SHA-384 Hash Value", "SHA-512 Hash Value"};
const std::size_t kDigits[6] = {32, 40, 56, 64, 96, 128};

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
    return text;
}

std::string RunCommand(const std::string& command)
{
    std::FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        throw std::runtime_error("cannot run " + command);
    std::string output;
    char chunk[4096];
    std::size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, pipe)) > 0)
        output.append(chunk, got);
    if (pclose(pipe) != 0)
        throw std::runtime_error(command + " failed");
    return output;
}

std::string Quoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

constexpr const char* kReferenceScript = R"(
import hashlib, os, stat, sys
digests = [hashlib.new(name) for name in ('md5', 'sha1', 'sha224', 'sha256', 'sha384', 'sha512')]
def walk(folder, ancestors):
    info = os.stat(folder)
    ancestors = ancestors + [(info.st_dev, info.st_ino)]
    for name in sorted(os.listdir(folder)):
        path = os.path.join(folder, name)
        try:
            info = os.stat(path)
        except FileNotFoundError:
            continue
        if stat.S_ISDIR(info.st_mode):
            if (info.st_dev, info.st_ino) not in ancestors:
                walk(path, ancestors)
        elif stat.S_ISREG(info.st_mode):
            with open(path, 'rb') as f:
                while True:
                    block = f.read(1 << 20)
                    if not block:
                        break
                    for d in digests:
                        d.update(block)
walk(os.fsencode(sys.argv[1]), [])
print(' '.join(d.hexdigest() for d in digests))
)";

}  // namespace

void RecordingHashEvents::FileProgress(int filesHandled, int fileCount, int percent)
{
    Progress progress{filesHandled, fileCount, percent};
    {
        std::lock_guard lock(m_mutex);
        fileProgress.push_back(progress);
    }
    if (onFileProgress)
        onFileProgress(progress);
}

void RecordingHashEvents::OverallProgress(int percent)
{
    std::lock_guard lock(m_mutex);
    overallProgress.push_back(percent);
}

bool RecordingHashEvents::AbortAfterOpenError(const std::string& path, const std::string& reason)
{
    std::lock_guard lock(m_mutex);
    openErrors.emplace_back(path, reason);
    const std::size_t asked = static_cast<std::size_t>(questions++);
    return asked < abortAnswers.size() && abortAnswers[asked];
}

void RecordingHashEvents::Notice(const std::string& text)
{
    std::lock_guard lock(m_mutex);
    notices.push_back(text);
}

SixDigests DigestsInReport(ReportText& report)
{
    SixDigests digests;
    for (int i = 0; i < 6; ++i) {
        const int line = LineOf(report, kHeadings[i]);
        if (line < 0)
            continue;
        std::string digits = WithoutTrailingBlanks(report.GetLine(line + 1));
        if (digits.size() < kDigits[i])
            digits += WithoutTrailingBlanks(report.GetLine(line + 2));
        digests[static_cast<std::size_t>(i)] = Lower(digits);
    }
    return digests;
}

int LineOf(ReportText& report, const std::string& text)
{
    for (int line = 0; line < ReportText::kReportLines; ++line)
        if (WithoutTrailingBlanks(report.GetLine(line)) == text)
            return line;
    return -1;
}

SixDigests CoreutilsDigests(const std::string& path)
{
    const char* const tools[6] = {"md5sum", "sha1sum", "sha224sum", "sha256sum", "sha384sum", "sha512sum"};
    std::array<std::future<std::string>, 6> running;
    for (std::size_t i = 0; i < 6; ++i)
        running[i] = std::async(std::launch::async,
                                [&, i] { return RunCommand(std::string(tools[i]) + " " + Quoted(path)); });
    SixDigests digests;
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string output = running[i].get();
        digests[i] = output.substr(0, output.find(' '));
    }
    return digests;
}

SixDigests ReferenceFolderDigests(const std::string& folder)
{
    std::istringstream words(RunCommand("python3 -c " + Quoted(kReferenceScript) + " " + Quoted(folder)));
    SixDigests digests;
    for (std::string& digest : digests)
        words >> digest;
    return digests;
}
