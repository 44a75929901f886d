#include "core/graphs/WriteGraphFile.h"

#include "core/base/Format.h"
#include "core/graphs/GraphFileText.h"
#include "core/graphs/WriteGraphChecksum.h"
#include "core/graphs/WriteGraphRotation.h"
#include "core/graphs/WriteGraphSamples.h"
#include "core/ui/CommentHint.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <optional>

namespace {

constexpr const char* kOpenError = "Error Opening File";
constexpr const char* kNotAGraphFile = "Error in data file. It does not seem to be a valid graph file";
constexpr const char* kNotADataFile = "The file is not a Data File";
constexpr const char* kStartConfigMissing = "Start Configuration data is missing";
constexpr const char* kEndConfigMissing = "End Configuration data is missing";
constexpr const char* kUnknownVersion = "Unknown File Version";
constexpr const char* kWrongFormat = "Unknown or wrong File format";
constexpr const char* kCdNotSupported = "CD is not supported at this time, Please come back later.";
constexpr const char* kChecksumError = "Checksum error,  file is not valid";
constexpr const char* kWriteDataError = "Error in data,  the graph cannot be rendered";
constexpr const char* kVerifyDataError = "Error in Verify data,  the graph cannot be rendered";
constexpr const char* kNothingToSave = "No data exists to save.";
constexpr const char* kWriteError = "Error Opening File for write";

// A BD of at least 26 x 524,288 sectors holds two layers even when the file
// names no layer break; its break is then taken as this sector.
constexpr std::int64_t kBdDualLayerCapacity = 26 * 524288LL;
constexpr std::int64_t kBdAssumedLayerBreak = 12582912;
constexpr std::int64_t kHdDvdDualLayerCapacity = 16 * 524288LL;

using Captions = std::array<std::string, 4>;

// Reads keys in order; once a required key is missing the rest are skipped.
class KeyReader {
public:
    explicit KeyReader(std::string_view text) : m_text(text) {}

    std::string Required(std::string_view key)
    {
        if (m_missing)
            return std::string();
        std::optional<std::string> value = FindKeyValue(m_text, key);
        m_missing = !value;
        return value.value_or(std::string());
    }
    std::string Optional(std::string_view key, const std::string& fallback) const
    {
        return FindKeyValue(m_text, key).value_or(fallback);
    }
    // A speed display: the file's value with "x" appended, "0x" without one.
    std::string Speed(std::string_view key) const
    {
        const std::optional<std::string> value = FindKeyValue(m_text, key);
        return value ? *value + "x" : "0x";
    }
    bool Missing() const { return m_missing; }

private:
    std::string_view m_text;
    bool m_missing = false;
};

std::string WriteTestModeText(std::string value)
{
    std::transform(value.begin(), value.end(), value.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; });
    if (value == "false")
        return "Off";
    if (value == "true")
        return "On";
    return "N/A";
}

GraphMediaClass MediaClassOf(std::string_view mediaType)
{
    if (mediaType == "BD-R" || mediaType == "BD-RE" || mediaType == "BD-ROM")
        return GraphMediaClass::Bd;
    if (mediaType.starts_with("HD DVD"))
        return GraphMediaClass::HdDvd;
    if (mediaType.starts_with("CD"))
        return GraphMediaClass::Cd;
    return GraphMediaClass::Dvd;
}

Captions XAxisCaptions(GraphMediaClass mediaClass, bool dualLayer)
{
    switch (mediaClass) {
    case GraphMediaClass::Bd:
        return dualLayer ? Captions{"12GB", "24GB", "36GB", "48GB"} : Captions{"6GB", "12GB", "18GB", "24GB"};
    case GraphMediaClass::HdDvd:
        return dualLayer ? Captions{"8GB", "16GB", "24GB", "32GB"} : Captions{"4GB", "8GB", "12GB", "16GB"};
    case GraphMediaClass::Cd: return Captions{"250MB", "500MB", "750MB", "1GB"};
    case GraphMediaClass::Dvd: break;
    }
    return dualLayer ? Captions{"2GB", "4GB", "6GB", "8GB"} : Captions{"1GB", "2GB", "3GB", "4GB"};
}

// Plot column of a sector count: truncated, never right of the last column
// a line may take, and 0 (no line) for counts below 0.
int MarkerX(std::int64_t sectors, std::int64_t sectorsPerColumn)
{
    const float x = std::min(static_cast<float>(sectors) / static_cast<float>(sectorsPerColumn),
                             static_cast<float>(kGraphMarkerMaxX));
    return x > 0 ? static_cast<int>(x) : 0;
}

// A comment line of a save: always 40 characters, never a line break in it.
std::string CommentLine(std::string_view key, std::string_view comment)
{
    std::string text(comment.substr(0, WriteGraphFile::kCommentWidth));
    std::replace_if(
        text.begin(), text.end(), [](char c) { return IsLineBreak(c) || c == '\0'; }, ' ');
    text.resize(WriteGraphFile::kCommentWidth, ' ');
    return std::string(key) + text + "\n";
}

}  // namespace

struct WriteGraphFile::Configuration {
    std::string date;
    std::string makeModel;
    std::string firmware;
    std::string bus;
    std::string mediaType;
    std::string bookType;
    std::string mediaId;
    std::string capacity;
    std::string speeds;
    std::string dataSectors;
    std::string dataType;
    std::string sampleRate;
    std::string layerBreak;
};

// The keys of the pass the file describes: the write pass when it has one.
struct WriteGraphFile::PassKeys {
    std::string testMode;
    std::string timeTaken;
    std::string speedSelected = "N/A";
    std::string speedStart;
    std::string speedEnd;
    std::string speedAverage;
    std::string speedMax;
};

int WriteGraphFile::LoadGraphFile(const std::string& path)
{
    m_messages.clear();
    m_graph.cdFlag = false;
    std::string text;
    switch (ReadRegularFile(path, kMaxFileSize, text)) {
    case ReadFileResult::Ok: return LoadGraphText(std::move(text));
    case ReadFileResult::TooLarge:
        ClearGraph();
        m_loadedText.clear();
        m_hasLoadedText = false;
        m_lastLoadShown = false;
        return Refuse(kNotAGraphFile);
    case ReadFileResult::Failed: break;
    }
    return Refuse(kOpenError);
}

int WriteGraphFile::LoadGraphText(std::string text)
{
    m_messages.clear();
    ClearGraph();
    m_loadedText = std::move(text);
    m_hasLoadedText = true;
    m_lastLoadShown = false;
    const std::string_view file = m_loadedText;
    const std::string checksum = VerifyChecksum(file);

    if (const char* refusal = CheckForm(file))
        return Refuse(refusal);
    const std::optional<std::string> version = FindKeyValue(file, "IBGD_VERSION");
    if (!version)
        return Refuse(kWrongFormat);
    if (*version != "1" && *version != "2")
        return Refuse(kUnknownVersion);
    m_graph.version = *version;

    Configuration config;
    PassKeys pass;
    if (const char* refusal = ReadConfiguration(file, config))
        return Refuse(refusal);
    if (const char* refusal = ReadPassKeys(file, pass))
        return Refuse(refusal);
    m_graph.hasVerifySection = file.find(kEndVerifyMarker) != std::string_view::npos;
    if (StoredChecksum(file) != checksum)
        return Refuse(kChecksumError);

    FillDisplays(config, pass);
    SetMediaClass(config);
    SetMarkers();
    const int result = ParseSections(file);
    ReadComments(file);
    m_lastLoadShown = result == 0;
    return result;
}

int WriteGraphFile::Refuse(const char* message)
{
    m_messages.emplace_back(message);
    return 1;
}

void WriteGraphFile::ClearGraph()
{
    m_graph = WriteGraph();
}

const char* WriteGraphFile::CheckForm(std::string_view text) const
{
    if (text.find("IBGD") == std::string_view::npos)
        return kNotAGraphFile;
    if (text.substr(0, LineEnd(text, 0)) != "IBGD")
        return kNotADataFile;
    if (text.find("[START_CONFIGURATION]") == std::string_view::npos)
        return kStartConfigMissing;
    if (text.find("[END_CONFIGURATION]") == std::string_view::npos)
        return kEndConfigMissing;
    return nullptr;
}

const char* WriteGraphFile::ReadConfiguration(std::string_view text, Configuration& config)
{
    KeyReader keys(text);
    config.date = keys.Required("DATE");
    config.makeModel = keys.Required("DEVICE_MAKEMODEL");
    config.firmware = keys.Required("DEVICE_FIRMWAREVERSION");
    config.bus = keys.Required("DEVICE_BUSTYPE");
    if (keys.Missing())
        return kWrongFormat;
    m_displays.device = Format("%s %s (%s)", config.makeModel.c_str(), config.firmware.c_str(), config.bus.c_str());

    config.mediaType = keys.Required("MEDIA_TYPE");
    if (keys.Missing())
        return kWrongFormat;
    if (config.mediaType.starts_with("CD")) {
        if (m_graph.version == "1")
            return kCdNotSupported;
        m_graph.cdFlag = true;
        m_graph.xAxisCaptions = {"200MB", "400MB", "600MB", "800MB"};
    }
    config.bookType = keys.Required("MEDIA_BOOKTYPE");
    config.mediaId = keys.Required("MEDIA_ID");
    config.capacity = keys.Required("MEDIA_CAPACITY");
    config.speeds = keys.Required("MEDIA_SPEEDS");
    config.dataSectors = keys.Required("DATA_SECTORS");
    config.dataType = keys.Required("DATA_TYPE");
    config.sampleRate = keys.Required("SAMPLE_RATE");
    config.layerBreak = keys.Required("MEDIA_LAYER_BREAK");
    return keys.Missing() ? kWrongFormat : nullptr;
}

const char* WriteGraphFile::ReadPassKeys(std::string_view text, PassKeys& pass)
{
    // A version-1 file always describes a write pass.
    const bool write = m_graph.version == "1" || text.find(kStartWriteMarker) != std::string_view::npos;
    m_graph.hasWriteSection = write;
    m_displays.timeLabel = write ? "Burn Time" : "Verify Time";
    KeyReader keys(text);
    if (write) {
        pass.testMode = keys.Optional("WRITE_TEST_MODE", std::string());
        pass.speedSelected = keys.Optional("WRITE_SPEED_SELECTED", "N/A");
    }
    const std::string prefix = write ? "WRITE_" : "VERIFY_";
    pass.timeTaken = keys.Required(prefix + "TIME_TAKEN");
    pass.speedStart = keys.Speed(prefix + "SPEED_START");
    pass.speedEnd = keys.Speed(prefix + "SPEED_END");
    pass.speedAverage = keys.Required(prefix + "SPEED_AVERAGE");
    pass.speedMax = keys.Required(prefix + "SPEED_MAX");
    return keys.Missing() ? kWrongFormat : nullptr;
}

void WriteGraphFile::FillDisplays(const Configuration& config, const PassKeys& pass)
{
    m_displays.dateTime = config.date;
    m_displays.mediaType = config.mediaType;
    m_displays.bookType = config.bookType;
    m_displays.mediaId = config.mediaId;
    m_displays.capacity = config.capacity;
    m_displays.dataSectors = config.dataSectors;
    m_displays.dataType = config.dataType;
    m_displays.sampleRate = config.sampleRate + " ms";
    const long long seconds = LeadingInteger(pass.timeTaken);
    m_displays.burnTime = Format("%lld Mins %lld Secs", seconds / 60, seconds % 60);
    m_displays.writeTestMode = WriteTestModeText(pass.testMode);
    m_displays.speedSelected = pass.speedSelected;
    m_displays.speedStart = pass.speedStart;
    m_displays.speedEnd = pass.speedEnd;
    m_displays.speedAverage = pass.speedAverage + "x";
    m_displays.speedMax = pass.speedMax + "x";
    m_graph.averageSpeed = LeadingDecimal(pass.speedAverage);
}

void WriteGraphFile::SetMediaClass(const Configuration& config)
{
    m_graph.mediaCapacity = LeadingInteger(config.capacity);
    m_graph.dataSectors = LeadingInteger(config.dataSectors);
    m_graph.layerBreak = LeadingInteger(config.layerBreak);
    // Version 1 knows only DVD.
    m_graph.mediaClass = m_graph.version == "1" ? GraphMediaClass::Dvd : MediaClassOf(config.mediaType);
    switch (m_graph.mediaClass) {
    case GraphMediaClass::Bd:
        m_graph.dualLayer = m_graph.layerBreak != 0 || m_graph.mediaCapacity >= kBdDualLayerCapacity;
        if (m_graph.dualLayer && m_graph.layerBreak == 0) {
            m_graph.layerBreak = kBdAssumedLayerBreak;
            m_graph.layerBreakDrawn = false;
        }
        break;
    case GraphMediaClass::HdDvd: m_graph.dualLayer = m_graph.mediaCapacity >= kHdDvdDualLayerCapacity; break;
    case GraphMediaClass::Cd:
    case GraphMediaClass::Dvd: m_graph.dualLayer = m_graph.layerBreak >= 1; break;
    }
    m_graph.xAxisCaptions = XAxisCaptions(m_graph.mediaClass, m_graph.dualLayer);
}

void WriteGraphFile::SetMarkers()
{
    const std::int64_t layerBreak = m_graph.layerBreak;
    switch (m_graph.mediaClass) {
    case GraphMediaClass::Bd:
        if (m_graph.dualLayer)
            m_graph.layerBreakX = MarkerX(layerBreak, 61440);
        break;
    case GraphMediaClass::HdDvd: m_graph.layerBreakX = MarkerX(layerBreak, m_graph.dualLayer ? 40960 : 20480); break;
    case GraphMediaClass::Cd: m_graph.layerBreakX = MarkerX(layerBreak, 2048); break;
    case GraphMediaClass::Dvd: m_graph.layerBreakX = MarkerX(layerBreak, 10240); break;
    }
    m_graph.endOfDataX = MarkerX(m_graph.dataSectors, m_graph.Layers() * m_graph.SectorsPerColumn());
}

int WriteGraphFile::ParseSections(std::string_view text)
{
    const RotationModel rotation = RotationModel::For(m_graph.mediaClass, m_graph.layerBreak, m_graph.mediaCapacity,
                                                      m_graph.averageSpeed);
    int result = 0;
    if (m_graph.hasWriteSection
        && !ParseWriteSamples(text, rotation, m_graph.writeSamples, m_displays.speedMax, m_displays.speedEnd))
        result = Refuse(kWriteDataError);
    if (m_graph.hasVerifySection && !ParseVerifySamples(text, rotation, m_graph.verifySamples))
        result = Refuse(kVerifyDataError);
    return result;
}

void WriteGraphFile::ReadComments(std::string_view text)
{
    const std::optional<std::string> comment1 = FindKeyValue(text, "COMMENT1");
    if (comment1 && !comment1->empty())
        m_displays.device = *comment1;
    const std::optional<std::string> comment2 = FindKeyValue(text, "COMMENT2");
    m_displays.comment = comment2 && !comment2->empty() ? *comment2 : std::string(kCommentHint);
}

std::string WriteGraphFile::TextForSave(std::string_view comment1, std::string_view comment2)
{
    // Only comments after the checksum line are an earlier save's; the same
    // text before it belongs to the data and the checksum.
    const std::size_t commentsFrom = AfterChecksumLine(m_loadedText);
    if (commentsFrom != std::string::npos) {
        const std::size_t oldComments = m_loadedText.find("COMMENT1", commentsFrom);
        if (oldComments != std::string::npos)
            m_loadedText.resize(oldComments);
    }
    // The displays' hint is no comment: it is saved as none.
    const auto saved = [](std::string_view comment) { return IsCommentHint(comment) ? std::string_view() : comment; };
    return m_loadedText + CommentLine("COMMENT1=", saved(comment1)) + CommentLine("COMMENT2=", saved(comment2));
}

bool WriteGraphFile::SaveGraphFile(const std::string& path, std::string_view comment1, std::string_view comment2,
                                   std::string& message)
{
    if (!CanSave()) {
        message = kNothingToSave;
        return false;
    }
    if (!WriteFileAtomically(path, TextForSave(comment1, comment2))) {
        message = kWriteError;
        return false;
    }
    message.clear();
    return true;
}
