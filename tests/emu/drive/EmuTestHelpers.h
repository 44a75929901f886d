#pragma once

#include "emu/EmulatedDrive.h"
#include "scsi/Bytes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// Sending CDBs straight to an emulated drive and reading its answers.
namespace emu {

struct Answer {
    CommandResult result;
    std::vector<std::uint8_t> data;

    Sense SenseCode() const
    {
        return {static_cast<std::uint8_t>(result.sense[2] & 0x0F), result.sense[12], result.sense[13]};
    }
    std::vector<std::uint8_t> Received() const
    {
        return {data.begin(), data.begin() + static_cast<long>(result.transferred)};
    }
};

inline Answer Send(EmulatedDrive& drive, std::vector<std::uint8_t> cdb, std::size_t dataLength = 0,
                   DataDirection direction = DataDirection::In)
{
    Answer answer;
    answer.data.assign(dataLength, 0xEE);
    answer.result = drive.Execute(cdb.data(), cdb.size(), dataLength ? direction : DataDirection::None,
                                  dataLength ? answer.data.data() : nullptr, dataLength);
    return answer;
}

// Collects the transfer mismatches of a test that sends them on purpose.
struct ExpectedMismatches {
    ExpectedMismatches() : previous(SetTransferMismatchHook([this](const std::string& what) { told.push_back(what); }))
    {
    }
    ~ExpectedMismatches() { SetTransferMismatchHook(previous); }
    std::vector<std::string> told;
    TransferMismatchHook previous;
};

inline std::shared_ptr<EmulatedDrive> Drive(const char* drivePreset, const char* mediumPreset,
                                            std::shared_ptr<Clock> clock = std::make_shared<ManualClock>())
{
    std::string error;
    auto drive = MakeEmulatedDrive(drivePreset, mediumPreset, std::move(clock), &error);
    EXPECT_TRUE(drive) << error;
    return drive;
}

inline std::vector<std::uint8_t> Text(const char* text)
{
    return {text, text + std::strlen(text)};
}

inline const std::vector<std::uint8_t> kTestUnitReady = {0x00, 0, 0, 0, 0, 0};

inline std::vector<std::uint8_t> Read10(std::uint32_t lba, std::uint16_t blocks)
{
    std::vector<std::uint8_t> cdb(10, 0);
    cdb[0] = 0x28;
    scsi::PutBe32(&cdb[2], lba);
    scsi::PutBe16(&cdb[7], blocks);
    return cdb;
}

}  // namespace emu
