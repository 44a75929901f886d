#pragma once

// Builds write-graph files of every variant the reader takes, with the right
// checksum: versions 1 and 2, each medium, write and verify passes, sample
// lines with and without their optional fields. Header-only so that tests,
// benchmarks and fuzz seeds share it.

#include "core/base/Format.h"
#include "core/graphs/WriteGraphChecksum.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

class WriteGraphFixture {
public:
    using Keys = std::vector<std::pair<std::string, std::string>>;
    // The optional fields after speed, sector and the unused field: the write
    // pass's buffer and cpu, or the verify pass's cpu.
    enum class Extras { None, Cpu, BufferAndCpu };

    // A version-2 single-layer DVD+R file with a write pass of `samples` lines.
    static WriteGraphFixture Dvd(int samples = 20)
    {
        WriteGraphFixture fixture;
        fixture.keys = {{"IBGD_VERSION", "2"},
                        {"DATE", "10/12/2025 21:14:05"},
                        {"DEVICE_MAKEMODEL", "QDRIVE DVDRW QX-18"},
                        {"DEVICE_FIRMWAREVERSION", "1.02"},
                        {"DEVICE_BUSTYPE", "SATA"},
                        {"MEDIA_TYPE", "DVD+R"},
                        {"MEDIA_BOOKTYPE", "DVD+R"},
                        {"MEDIA_ID", "QZMEDIA-R01-00"},
                        {"MEDIA_CAPACITY", "2295104"},
                        {"MEDIA_SPEEDS", "4x, 8x, 16x"},
                        {"DATA_SECTORS", "2295104"},
                        {"DATA_TYPE", "MODE1/2048"},
                        {"SAMPLE_RATE", "1000"},
                        {"MEDIA_LAYER_BREAK", "0"}};
        fixture.AddWritePass(samples);
        return fixture;
    }

    // A version-2 file of the given medium with a write pass.
    static WriteGraphFixture Medium(const std::string& mediaType, long long capacity, long long layerBreak,
                                    long long dataSectors)
    {
        WriteGraphFixture fixture = Dvd();
        fixture.Set("MEDIA_TYPE", mediaType)
            .Set("MEDIA_BOOKTYPE", mediaType)
            .Set("MEDIA_CAPACITY", std::to_string(capacity))
            .Set("MEDIA_LAYER_BREAK", std::to_string(layerBreak))
            .Set("DATA_SECTORS", std::to_string(dataSectors));
        fixture.writeLines = SampleLines(20, dataSectors, Extras::BufferAndCpu);
        return fixture;
    }

    // A version-2 file of a verify pass only (no write keys, no write section).
    static WriteGraphFixture VerifyOnly(int samples = 20)
    {
        WriteGraphFixture fixture = Dvd();
        fixture.RemoveWritePass();
        fixture.AddVerifyPass(samples);
        return fixture;
    }

    // A version-1 file: DVD only, a write pass of lines without the optional fields.
    static WriteGraphFixture Version1(int samples = 20)
    {
        WriteGraphFixture fixture = Dvd();
        fixture.Set("IBGD_VERSION", "1");
        fixture.Remove("WRITE_TEST_MODE").Remove("WRITE_SPEED_SELECTED");
        fixture.writeLines = SampleLines(samples, 2295104, Extras::None);
        return fixture;
    }

    void AddWritePass(int samples)
    {
        Set("WRITE_TEST_MODE", "FALSE").Set("WRITE_TIME_TAKEN", "425").Set("WRITE_SPEED_SELECTED", "16x");
        Set("WRITE_SPEED_START", "6.12").Set("WRITE_SPEED_END", "15.94");
        Set("WRITE_SPEED_AVERAGE", "11.50").Set("WRITE_SPEED_MAX", "16.02");
        writeSection = true;
        writeLines = SampleLines(samples, 2295104, Extras::BufferAndCpu);
    }
    void RemoveWritePass()
    {
        for (const char* key : {"WRITE_TEST_MODE", "WRITE_TIME_TAKEN", "WRITE_SPEED_SELECTED", "WRITE_SPEED_START",
                                "WRITE_SPEED_END", "WRITE_SPEED_AVERAGE", "WRITE_SPEED_MAX"})
            Remove(key);
        writeSection = false;
        writeLines.clear();
    }
    void AddVerifyPass(int samples)
    {
        Set("VERIFY_TIME_TAKEN", "389").Set("VERIFY_SPEED_START", "6.50").Set("VERIFY_SPEED_END", "16.20");
        Set("VERIFY_SPEED_AVERAGE", "12.25").Set("VERIFY_SPEED_MAX", "16.24");
        verifySection = true;
        verifyLines = SampleLines(samples, 2295104, Extras::Cpu);
    }

    // Replaces the key's value, or appends the key.
    WriteGraphFixture& Set(const std::string& key, const std::string& value)
    {
        for (auto& entry : keys)
            if (entry.first == key) {
                entry.second = value;
                return *this;
            }
        keys.emplace_back(key, value);
        return *this;
    }
    WriteGraphFixture& Remove(const std::string& key)
    {
        keys.erase(std::remove_if(keys.begin(), keys.end(), [&](const auto& entry) { return entry.first == key; }),
                   keys.end());
        return *this;
    }

    // `count` sample lines with their extras, rising to 16x over the sectors.
    static std::vector<std::string> SampleLines(int count, long long sectors, Extras extras)
    {
        std::vector<std::string> lines;
        lines.reserve(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const double speed = 4.0 + 12.0 * i / std::max(count, 1);
            std::string line = Format("%.2f,%lld,%d", speed, sectors * i / std::max(count, 1), 4);
            if (extras == Extras::BufferAndCpu)
                line += Format(",%.1f,%.1f", 90.0 + i % 10, 5.0 + i % 7);
            else if (extras == Extras::Cpu)
                line += Format(",%.1f", 3.0 + i % 5);
            lines.push_back(line);
        }
        return lines;
    }

    // The text before the checksum line.
    std::string Body() const
    {
        std::string text = "IBGD" + lineEnd + lineEnd + "[START_CONFIGURATION]" + lineEnd;
        for (const auto& [key, value] : keys)
            text += key + "=" + value + lineEnd;
        text += "[END_CONFIGURATION]" + lineEnd;
        if (writeSection)
            text += Section("WRITE", writeLines);
        if (verifySection)
            text += Section("VERIFY", verifyLines);
        return text;
    }

    // The whole file with the right checksum.
    std::string Text() const { return WithChecksum(Body(), lineEnd) + trailer; }

    // A body (everything up to the last end marker's line break) followed by
    // its checksum line.
    static std::string WithChecksum(const std::string& body, const std::string& lineEnd = "\r\n")
    {
        return body + VerifyChecksum(body) + lineEnd;
    }

    Keys keys;
    bool writeSection = false;
    bool verifySection = false;
    std::vector<std::string> writeLines;
    std::vector<std::string> verifyLines;
    std::string trailer;  // after the checksum line, such as saved comments
    std::string lineEnd = "\r\n";  // what the tool writes

private:
    std::string Section(const std::string& pass, const std::vector<std::string>& lines) const
    {
        std::string text = lineEnd + "[START_" + pass + "_GRAPH_VALUES]" + lineEnd;
        for (const std::string& line : lines)
            text += line + lineEnd;
        return text + "[END_" + pass + "_GRAPH_VALUES]" + lineEnd;
    }
};
