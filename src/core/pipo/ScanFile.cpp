#include "core/pipo/ScanFile.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/graphs/LittleEndianStream.h"
#include "core/graphs/ScanGraphRecord.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <limits>

namespace {

const char kUnknownDiscText[] = "N/A";
const char kEndsEarly[] = "The file ends before the scan it holds is complete.";

void WriteRange(LittleEndianWriter& out, const ScanRange& range)
{
    out.WriteInt32(range.nStartLba);
    out.WriteInt32(range.nEndLba);
    out.WriteInt64(range.llEndLba);
    out.WriteInt64(range.llStartLba);
}

bool ReadRange(LittleEndianReader& in, ScanRange& range)
{
    if (!in.ReadInt32(range.nStartLba) || !in.ReadInt32(range.nEndLba) || !in.ReadInt64(range.llEndLba)
        || !in.ReadInt64(range.llStartLba))
        return false;
    range.strStartLba = Format("%X", static_cast<unsigned>(range.llStartLba & 0xFFFFFFFF));
    range.strEndLba = Format("%X", static_cast<unsigned>(range.llEndLba & 0xFFFFFFFF));
    return true;
}

// The display figures in the order the file keeps them.
template <class Values, class Visit>
void VisitDisplayValues(Values& v, Visit visit)
{
    for (auto* field : {&v.piPeak, &v.pifAvg, &v.pifPeak, &v.pofTotal, &v.pifTotal, &v.jitterPeak, &v.jitterAvg,
                        &v.jitterInst, &v.piTotal, &v.piAvg})
        visit(*field);
}

template <class Flags, class Visit>
void VisitShowFlags(Flags& f, Visit visit)
{
    for (auto* field : {&f.showPIF, &f.showPO, &f.showJitter, &f.showPI, &f.showSpeed})
        visit(*field);
}

std::string FixedLength(const std::string& text, std::size_t length, char filler)
{
    std::string fixed = text.substr(0, length);
    fixed.resize(length, filler);
    return fixed;
}

std::string UpToFirstZero(const std::string& text)
{
    return text.substr(0, text.find('\0'));
}

// Every character of the string block is an int holding its byte value,
// sign-extended.
void WriteCharacters(LittleEndianWriter& out, const std::string& text)
{
    for (const char c : text)
        out.WriteInt32(static_cast<signed char>(c));
}

std::string ReadCharacters(LittleEndianReader& in, std::int32_t count)
{
    std::string text;
    text.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::int32_t value = 0;
        in.ReadInt32(value);
        text.push_back(static_cast<char>(value & 0xFF));
    }
    return UpToFirstZero(text);
}

bool ReadStringBlock(LittleEndianReader& in, ScanFile& file, std::string& error)
{
    std::array<std::int32_t, 4> lengths{};
    for (std::int32_t& length : lengths) {
        if (!in.ReadInt32(length)) {
            error = kEndsEarly;
            return false;
        }
    }
    std::uint64_t characters = 0;
    for (const std::int32_t length : lengths) {
        if (length < 0) {
            error = Format("The file holds a text of negative length (%d).", length);
            return false;
        }
        characters += static_cast<std::uint64_t>(length);
    }
    if (characters * 4 > in.Remaining()) {
        error = Format("The file's texts claim %llu characters, more than the file holds.",
                       static_cast<unsigned long long>(characters));
        return false;
    }
    file.midCode = ReadCharacters(in, lengths[0]);
    file.mediaType = ReadCharacters(in, lengths[1]);
    file.bookType = ReadCharacters(in, lengths[2]);
    file.driveDisplay = ReadCharacters(in, lengths[3]);
    return true;
}

bool ReadScanBody(LittleEndianReader& in, ScanFile& file, std::string& error)
{
    bool complete = true;
    VisitDisplayValues(file.displays, [&](std::int32_t& value) { complete = in.ReadInt32(value) && complete; });
    VisitShowFlags(file.show, [&](std::int32_t& flag) { complete = in.ReadInt32(flag) && complete; });
    std::string status;
    if (!complete || !in.ReadBytes(kScanStatusLength, status)) {
        error = kEndsEarly;
        return false;
    }
    file.status = UpToFirstZero(status);
    if (!ReadUpperRecord(in, file.upper, error) || !ReadLowerRecord(in, file.lower, error)
        || !ReadStringBlock(in, file, error))
        return false;
    for (std::int32_t* code : {&file.piScaleCode, &file.pifScaleCode, &file.jitterScaleCode}) {
        if (!in.ReadInt32(*code)) {
            error = kEndsEarly;
            return false;
        }
        *code = std::max(*code, 0);
    }
    if (in.Remaining() != 0) {
        error = Format("The file goes on for %zu bytes after the scan; it is not a scan file.", in.Remaining());
        return false;
    }
    return true;
}

std::int64_t StartLbaFromText(const std::string& text)
{
    const long value = LeadingLong(text, 16);
    return std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

}  // namespace

void StoreScanGraphs(const PiPoUpperGraph& upper, const PiPoLowerGraph& lower, ScanFile& file)
{
    file.upper = upper.StoreRecord();
    file.lower = lower.StoreRecord();
    file.piScaleCode = upper.GetPIScaleCode();
    file.pifScaleCode = lower.GetPIFScaleCode();
    file.jitterScaleCode = lower.GetJitterScaleCode();
}

void PrepareScanFileForSave(ScanFile& file)
{
    for (ScanRange& range : file.ranges)
        range.llStartLba = StartLbaFromText(range.strStartLba);
    for (std::string* text : {&file.mediaType, &file.bookType}) {
        if (text->empty())
            *text = kUnknownDiscText;
    }
}

std::string EncodeScanFile(const ScanFile& file)
{
    LittleEndianWriter out;
    out.WriteBytes(kScanFileMagic);
    for (const ScanRange& range : file.ranges)
        WriteRange(out, range);
    VisitDisplayValues(file.displays, [&](std::int32_t value) { out.WriteInt32(value); });
    VisitShowFlags(file.show, [&](std::int32_t flag) { out.WriteInt32(flag); });
    out.WriteBytes(FixedLength(file.status, kScanStatusLength, ' '));
    WriteUpperRecord(out, file.upper);
    WriteLowerRecord(out, file.lower);
    const std::string driveText = FixedLength(file.driveDisplay, kScanDriveTextLength, '\0');
    for (const std::string* text : {&file.midCode, &file.mediaType, &file.bookType, &driveText})
        out.WriteInt32(static_cast<std::int32_t>(text->size()));
    for (const std::string* text : {&file.midCode, &file.mediaType, &file.bookType, &driveText})
        WriteCharacters(out, *text);
    for (const std::int32_t code : {file.piScaleCode, file.pifScaleCode, file.jitterScaleCode})
        out.WriteInt32(code);
    return out.Bytes();
}

bool DecodeScanFile(std::string_view bytes, ScanFile& file, std::string& error)
{
    ScanFile read;
    LittleEndianReader in(bytes);
    if (bytes.substr(0, kScanFileMagic.size()) == kScanFileMagic) {
        std::string magic;
        in.ReadBytes(kScanFileMagic.size(), magic);
        read.version = 2;
        for (ScanRange& range : read.ranges) {
            if (!ReadRange(in, range)) {
                error = kEndsEarly;
                return false;
            }
        }
    } else {
        read.version = 1;
    }
    if (!ReadScanBody(in, read, error))
        return false;
    file = std::move(read);
    return true;
}

std::string ScanFileSavePath(const std::string& path)
{
    constexpr std::string_view kExtension = ".qnzx";
    const std::size_t slash = path.find_last_of('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.size() > kExtension.size()) {
        std::string tail = name.substr(name.size() - kExtension.size());
        for (char& c : tail)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (tail == kExtension)
            return path;
    }
    return path + std::string(kExtension);
}

bool SaveScanFile(const std::string& path, ScanFile& file, std::string* error)
{
    PrepareScanFileForSave(file);
    return WriteFileAtomically(path, EncodeScanFile(file), error);
}

bool LoadScanFile(const std::string& path, ScanFile& file, std::string* error)
{
    std::string bytes;
    std::string reason;
    if (ReadRegularFile(path, kMaxScanFileSize, bytes, &reason) != ReadFileResult::Ok) {
        if (error != nullptr)
            *error = reason;
        return false;
    }
    ScanFile read;
    if (!DecodeScanFile(bytes, read, reason)) {
        LogEntryF("Scan file %s refused: %s", path.c_str(), reason.c_str());
        if (error != nullptr)
            *error = reason;
        return false;
    }
    if (read.version == 2) {
        LogEntry("Load QNZX file Version 2");
        for (const ScanRange& range : read.ranges) {
            LogEntry(range.strStartLba);
            LogEntry(range.strEndLba);
        }
    } else {
        LogEntry("Load QNZ file Version 1");
    }
    file = std::move(read);
    return true;
}
