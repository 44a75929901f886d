#include "core/drive/Device.h"
#include "core/drive/ScsiCommand.h"
#include "emu/EmulatedDrive.h"
#include "platform/passthrough/EmulatedPassThrough.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {

std::vector<std::uint8_t> InquiryAnswer(const std::string& vendor, const std::string& product,
                                        const std::string& revision, const std::string& vendorSpecific)
{
    std::vector<std::uint8_t> answer(96, 0);
    answer[0] = 0x05;
    answer[3] = 0x32;
    std::copy(vendor.begin(), vendor.end(), answer.begin() + 8);
    std::copy(product.begin(), product.end(), answer.begin() + 16);
    std::copy(revision.begin(), revision.end(), answer.begin() + 32);
    std::copy(vendorSpecific.begin(), vendorSpecific.end(), answer.begin() + 36);
    return answer;
}

std::string Upper(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

}  // namespace

TEST(DeviceRecord, IdentityJoinsVendorAndProductAsTheEnumerationDoes)
{
    struct Case {
        const char* vendor;
        const char* product;
        const char* identity;
    };
    const Case cases[] = {
        {"PLEXTOR ", "DVDR   PX-716A  ", "PLEXTOR DVDR   PX-716A"},  // eighth vendor byte blank: product follows
        {"ABCDEFGH", "0123456789ABCDEF", "ABCDEFGH 0123456789ABCDE"},  // one blank added, cut to 24
        {"TSSTcorp", "CDDVDW SH-S203B ", "TSSTcorp CDDVDW SH-S203B"},
        {"        ", "Samsung SSD 970 ", "Samsung SSD 970"},  // no vendor (NVMe)
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.identity);
        EXPECT_EQ(MakeDriveIdentity(test.vendor, test.product), test.identity);
        CDevice record;
        const auto answer = InquiryAnswer(test.vendor, test.product, "1.0 ", " 2024/03/02 abc     ");
        ASSERT_TRUE(record.TakeInquiry(answer.data(), answer.size()));
        EXPECT_EQ(record.m_strIdentity, test.identity);
        EXPECT_EQ(record.m_strFirmware, "1.0");
        EXPECT_EQ(record.m_strVendorSpecific, "2024/03/02 ABC");
        EXPECT_EQ(record.m_nDeviceType, 5);
        EXPECT_EQ(record.m_nInquiryByte3High, 3);
        EXPECT_EQ(record.m_szSerialNumber, "None");
    }
    // An answer that ends inside the product field: its texts end with it.
    const auto full = InquiryAnswer("PLEXTOR ", "DVDR   PX-716A  ", "1.11", "2024/03/02");
    const std::vector<std::uint8_t> cut(full.begin(), full.begin() + 20);
    CDevice shortRecord;
    ASSERT_TRUE(shortRecord.TakeInquiry(cut.data(), cut.size()));
    EXPECT_EQ(shortRecord.m_strIdentity, "PLEXTOR DVDR");
    EXPECT_EQ(shortRecord.m_strFirmware, "");
    EXPECT_EQ(shortRecord.m_strVendorSpecific, "");

    CDevice record;
    const auto noText = InquiryAnswer("", "", "", "");
    EXPECT_FALSE(record.TakeInquiry(noText.data(), noText.size()));
    EXPECT_FALSE(record.TakeInquiry(noText.data(), 8));  // too short to hold any
}

TEST(DeviceRecord, MakerFamilyDrivesIdentifyAsTheirMakers)
{
    struct Case {
        const char* preset;
        const char* identityStart;  // compared without regard to case, as the program's model tests do
    };
    const Case cases[] = {
        {"plextor", "PLEXTOR DVDR   PX-716A"},
        {"pioneer", "PIONEER DVD-RW"},
        {"aopen", "AOPEN    DUW1608"},
        {"btc", "DVDRW   IDE10"},
        {"nec", "_NEC    DVD_RW"},
        {"optiarc", "OPTIARC"},
        {"liteon", "LITE-ON"},
        {"samsung", "TSSTCORP"},
        {"toshiba", "TOSHIBA"},
        {"ricoh", "RICOH"},
        {"benq", "BENQ"},
        {"cyberdrive", "CYBERDRV"},
        {"nu", "NU      DVDRW"},
        {"generic-f3", "PHILIPS"},
        {"ihas", "ATAPI   IHAS"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.preset);
        std::string error;
        auto drive = emu::MakeEmulatedDrive(test.preset, "dvd+r", std::make_shared<emu::ManualClock>(), &error);
        ASSERT_TRUE(drive) << error;
        auto opener = std::make_shared<EmulatedDeviceOpener>();
        opener->Add("emu0", drive);
        CScsiCommand channel(opener);
        ASSERT_TRUE(channel.associate("emu0"));
        std::uint8_t answer[kInquiryLength] = {};
        *channel.Cdb(0) = 0x12;
        *channel.Cdb(4) = kInquiryLength;
        *channel.Cdb(5) = 0;
        ASSERT_EQ(channel.ExecuteAndClose(DataDirection::In, answer, kInquiryLength), 0);
        CDevice record;
        ASSERT_TRUE(record.TakeInquiry(answer, kInquiryLength));
        EXPECT_EQ(Upper(record.m_strIdentity).rfind(test.identityStart, 0), 0u) << record.m_strIdentity;
    }
}
