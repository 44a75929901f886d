#include "core/drive/CapabilityWalks.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using Flag = int CDevice::*;

struct Feature {
    std::uint16_t code;
    Bytes data;  // after the 4-byte header
};

void PutBe(Bytes& bytes, std::size_t at, std::uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * (width - 1 - i)));
}

// A GET CONFIGURATION answer as a drive gives it: header, the profile list,
// the features, and a data length that counts them.
Bytes Configuration(const std::vector<std::uint16_t>& profiles, const std::vector<Feature>& features = {})
{
    Bytes answer(8, 0);
    answer.insert(answer.end(), {0x00, 0x00, 0x03, static_cast<std::uint8_t>(4 * profiles.size())});
    for (std::uint16_t profile : profiles)
        answer.insert(answer.end(),
                      {static_cast<std::uint8_t>(profile >> 8), static_cast<std::uint8_t>(profile), 0, 0});
    for (const Feature& feature : features) {
        answer.insert(answer.end(),
                      {static_cast<std::uint8_t>(feature.code >> 8), static_cast<std::uint8_t>(feature.code), 0x01,
                       static_cast<std::uint8_t>(feature.data.size())});
        answer.insert(answer.end(), feature.data.begin(), feature.data.end());
    }
    PutBe(answer, 0, answer.size() - 4, 4);
    return answer;
}

// A MODE SENSE(10) answer: 8-byte header, then the pages.
Bytes ModePages(const std::vector<Bytes>& pages)
{
    Bytes answer(8, 0);
    for (const Bytes& page : pages)
        answer.insert(answer.end(), page.begin(), page.end());
    PutBe(answer, 0, answer.size() - 2, 2);
    return answer;
}

Bytes CapabilitiesPage(std::uint8_t read, std::uint8_t write, std::uint8_t media, std::uint8_t cdda,
                       std::uint8_t mechanism)
{
    Bytes page(32, 0);
    page[0] = 0x2A;
    page[1] = 30;
    page[2] = read;
    page[3] = write;
    page[4] = media;
    page[5] = cdda;
    page[6] = mechanism;
    PutBe(page, 10, 256, 2);  // volume levels
    PutBe(page, 12, 2048, 2);  // buffer KB
    return page;
}

std::vector<Flag> RaisedOf(const CDevice& device, std::initializer_list<Flag> candidates)
{
    std::vector<Flag> raised;
    for (Flag flag : candidates)
        if (device.*flag)
            raised.push_back(flag);
    return raised;
}

}  // namespace

TEST(CapabilityWalks, EachProfileRaisesItsFlags)
{
    struct Case {
        std::uint16_t profile;
        std::vector<Flag> flags;
    };
    const Case cases[] = {
        {0x0009, {&CDevice::m_bCdRWrite, &CDevice::m_bCdRRead}},
        {0x0014, {&CDevice::m_bDvdMinusRwWrite, &CDevice::m_bDvdMinusRwRead}},
        {0xFF53, {&CDevice::m_bDvdMinusRDlRead, &CDevice::m_bDvdMinusRDlWrite}},
        {0x0018, {&CDevice::m_bQFlix}},
        {0x0040, {&CDevice::m_bBdRRead, &CDevice::m_bBdRRrmRead, &CDevice::m_bBdReRead, &CDevice::m_bBdRomRead}},
        {0x0052, {&CDevice::m_bHdDvdRamRead, &CDevice::m_bHdDvdRamWrite}},
        {0x0082, {&CDevice::m_bHdBurnWrite}},
        {0x0001, {}},  // no profile the program knows
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.profile);
        CDevice device;
        EXPECT_TRUE(ApplyProfileList(device, Configuration({test.profile})));
        const auto raised = RaisedOf(device,
                                     {&CDevice::m_bCdRWrite, &CDevice::m_bCdRRead, &CDevice::m_bDvdMinusRwWrite,
                                      &CDevice::m_bDvdMinusRwRead, &CDevice::m_bDvdMinusRDlRead,
                                      &CDevice::m_bDvdMinusRDlWrite, &CDevice::m_bQFlix, &CDevice::m_bBdRRead,
                                      &CDevice::m_bBdRRrmRead, &CDevice::m_bBdReRead, &CDevice::m_bBdRomRead,
                                      &CDevice::m_bHdDvdRamRead, &CDevice::m_bHdDvdRamWrite, &CDevice::m_bHdBurnWrite});
        EXPECT_EQ(raised, test.flags);
    }

    // Every profile of a list counts, the last one too.
    CDevice device;
    ASSERT_TRUE(ApplyProfileList(device, Configuration({0x0008, 0x0010, 0x001A})));
    EXPECT_TRUE(device.m_bCdRom && device.m_bDvdRom && device.m_bDvdPlusRwRead);

    CDevice tooShort;
    EXPECT_FALSE(ApplyProfileList(tooShort, Bytes{0, 0, 0, 8, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(CapabilityWalks, FeatureBodiesDecideTheirWriteFlags)
{
    CDevice device;
    device.m_bDvdPlusRDlWrite = 1;  // stored from its bit, so a clear bit clears it
    ApplyFeatureDescriptors(device,
                            Configuration({},
                                          {
                                              {0x0001, {0, 0, 0, 7, 0x01, 0, 0, 0}},
                                              {0x002A, {0x00, 0, 0, 0}},  // DVD+RW read, no write
                                              {0x002B, {0x01, 0, 0, 0}},
                                              {0x003A, {0x01, 0, 0, 0}},  // DVD+RW DL without DVD+R DL
                                              {0x003B, {0x00, 0, 0, 0}},
                                              {0x0040, Bytes{0, 0, 0, 0, 0, 0, 0,    0,    0, 0, 0, 0, 0, 0,
                                                             0, 0, 0, 0, 0, 0, 0x80, 0x80, 0, 0, 0, 0, 0, 0}},
                                              {0x0041, Bytes{0, 0, 0, 0, 0x00, 0x02, 0, 0, 0, 0, 0, 0}},
                                              {0x0051, {0x01, 0, 0x00, 0}},
                                              {0x0106, {}},
                                          }));
    EXPECT_EQ(device.m_nPhysicalInterface, 7);
    EXPECT_EQ(device.m_bDvdPlusRwRead, 1);
    EXPECT_EQ(device.m_bDvdPlusRwWrite, 0);
    EXPECT_EQ(device.m_bDvdPlusRRead + device.m_bDvdPlusRWrite, 2);
    EXPECT_EQ(device.m_bDvdPlusRwDlRead + device.m_bDvdPlusRwDlWrite, 2);
    EXPECT_EQ(device.m_bDvdPlusRDlRead, 1);
    EXPECT_EQ(device.m_bDvdPlusRDlWrite, 0);
    EXPECT_EQ(device.m_bBdRomRead, 0);  // 80h + 80h is 0 in 8 bits
    EXPECT_EQ(device.m_bBdRWrite, 1);
    EXPECT_EQ(device.m_bHdDvdMinusRRead + device.m_bHdDvdMinusRWrite, 2);
    EXPECT_EQ(device.m_bHdDvdRamRead + device.m_bHdDvdRamWrite, 0);
    EXPECT_EQ(device.m_bCssCppm, 1);

    CDevice minusWriter;  // writing both DVD- formats reads both DVD+ formats
    ApplyFeatureDescriptors(minusWriter, Configuration({}, {{0x002F, {0x40, 0, 0, 0}}}));
    ApplyCrossRules(minusWriter);
    EXPECT_EQ(minusWriter.m_bDvdPlusRRead + minusWriter.m_bDvdPlusRwRead, 2);
}

TEST(CapabilityWalks, HostileConfigurationAnswersAreReadOnlyWithinTheBuffer)
{
    // Each answer sits in a buffer of exactly its size, so the sanitizer sees any read past it.
    struct Case {
        const char* name;
        Bytes answer;
    };
    Bytes hugeLength = Configuration({0x0010}, {{0x001F, {0x01, 0, 0, 0}}});
    hugeLength[0] = hugeLength[1] = hugeLength[2] = hugeLength[3] = 0xFF;
    Bytes listPastTheEnd = Configuration({0x0010});
    listPastTheEnd[11] = 0xFC;  // 63 profiles claimed, one given
    Bytes cutDescriptor = Configuration({}, {{0x0040, Bytes(28, 0x11)}});
    cutDescriptor.resize(cutDescriptor.size() - 20);  // the BD read classes are cut off
    Bytes cutHeader = Configuration({}, {{0x0001, {0, 0, 0, 2, 0, 0, 0, 0}}});
    cutHeader.resize(10);
    const Case cases[] = {
        {"data length far past the buffer", hugeLength},
        {"profile list longer than the answer", listPastTheEnd},
        {"descriptor cut by the buffer", cutDescriptor},
        {"zero-length descriptors only", Configuration({}, {{0x0040, {}}, {0x0041, {}}, {0x0051, {}}, {0x0001, {}}})},
        {"header cut", cutHeader},
        {"nothing", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CDevice device;
        ApplyProfileList(device, test.answer);
        ApplyFeatureDescriptors(device, test.answer);
        EXPECT_EQ(SerialNumberFromFeature(test.answer), "None");
        EXPECT_EQ(device.m_bBdRomRead + device.m_bBdRWrite + device.m_nPhysicalInterface, 0);
    }
    CDevice cut;
    ApplyFeatureDescriptors(cut, cutDescriptor);
    EXPECT_EQ(cut.m_bBdRomRead, 0);  // its bytes 24-31 were never given
    CDevice huge;
    ApplyFeatureDescriptors(huge, hugeLength);
    EXPECT_EQ(huge.m_bDvdRom, 1);  // what the buffer holds is still read
}

TEST(CapabilityWalks, TheCapabilitiesPageSetsFlagsClassAndNumbers)
{
    struct Case {
        const char* name;
        std::uint8_t read;
        std::uint8_t write;
        int dvdDrive;
        int cdDrive;
        int cdReader;
        int cdWriter;
    };
    const Case cases[] = {
        {"DVD writer", 0x3F, 0x37, 1, 0, 1, 1},        {"CD reader", 0x07, 0x00, 0, 1, 1, 0},
        {"CD-RW reader only", 0x02, 0x00, 0, 1, 1, 0}, {"CD writer", 0x03, 0x03, 0, 1, 1, 1},
        {"neither", 0x00, 0x00, 0, 0, 0, 0},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        CDevice device;
        ModePageFindings findings;
        ApplyModePages(device,
                       ModePages({{0x01, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                                  CapabilitiesPage(test.read, test.write, 0xF1, 0xE0, 0x29)}),
                       0, findings);
        EXPECT_TRUE(findings.capabilitiesPageFound);
        EXPECT_EQ(findings.loadingMechanism, 0x20);
        EXPECT_EQ(device.m_bDvdDrive, test.dvdDrive);
        EXPECT_EQ(device.m_bCdDrive, test.cdDrive);
        EXPECT_EQ(device.m_bCdReader, test.cdReader);
        EXPECT_EQ(device.m_bCdWriter, test.cdWriter);
        EXPECT_EQ(device.m_nBufferSizeKB, 2048);
        EXPECT_EQ(device.m_nVolumeLevels, 256);
        EXPECT_EQ(device.m_bAudioPlay + device.m_bMultiSession + device.m_bBufferUnderrun, 3);
        EXPECT_EQ(device.m_bCompositeOut, 0);
        EXPECT_EQ(device.m_bIsrcRead + device.m_bUpcRead + device.m_bBarCodeRead, 3);
    }
}

TEST(CapabilityWalks, LabelPagesAndTheDriveClassClearWhatTheFeaturesClaimed)
{
    const Bytes answer = ModePages({CapabilitiesPage(0x07, 0x00, 0, 0, 0), {0x2D, 0x02, 0, 0}, {0x31, 0x02, 0, 0}});
    CDevice counted;
    ModePageFindings findings;
    ApplyModePages(counted, answer, 2, findings);
    EXPECT_EQ(counted.m_bLabelFlash + counted.m_bLightScribe, 2);
    CDevice notCounted;
    ApplyModePages(notCounted, answer, 1, findings);
    EXPECT_EQ(notCounted.m_bLightScribe, 0);

    // A CD reader whose feature list claimed DVD writing keeps none of it.
    CDevice device;
    device.m_bDvdPlusRWrite = device.m_bDvdRom = device.m_bCdRwWrite = 1;
    ApplyModePages(device, answer, 0, findings);
    SettleDriveClass(device);
    EXPECT_EQ(device.m_bDvdPlusRWrite + device.m_bDvdRom + device.m_bDvdDrive, 0);
    EXPECT_EQ(device.m_bCdRRead + device.m_bCdWriter + device.m_bCdRwWrite, 3);  // profile 0Ah made it a CD writer

    // Without page 2Ah every CD and DVD flag goes.
    CDevice noPage;
    noPage.m_bCdRRead = noPage.m_bCdMethod2 = noPage.m_bDvdPlusRRead = 1;
    ModePageFindings none;
    ApplyModePages(noPage, ModePages({{0x01, 0x0A, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}}), 0, none);
    SettleDriveClass(noPage);
    EXPECT_FALSE(none.capabilitiesPageFound);
    EXPECT_EQ(noPage.m_bCdRRead + noPage.m_bCdMethod2 + noPage.m_bDvdPlusRRead, 0);
}

TEST(CapabilityWalks, HostileModePageAnswersAreReadOnlyWithinTheBuffer)
{
    Bytes cutPage = ModePages({CapabilitiesPage(0x3F, 0x37, 0xFF, 0xFF, 0xFF)});
    cutPage.resize(8 + 6);  // page 2Ah cut after byte 5
    Bytes longerThanBuffer = ModePages({CapabilitiesPage(0x3F, 0, 0, 0, 0)});
    longerThanBuffer[0] = 0xFF;
    Bytes zeroLengthPages = ModePages({{0x05, 0x00}, {0x2A, 0x00}, {0x2A, 0x00}});
    for (const Bytes& answer : {cutPage, zeroLengthPages, Bytes{0x00}, Bytes{}}) {
        CDevice device;
        ModePageFindings findings;
        ApplyModePages(device, answer, 2, findings);
        EXPECT_EQ(device.m_nBufferSizeKB, 0);  // never read from beyond the page
    }
    CDevice cut;
    ModePageFindings findings;
    ApplyModePages(cut, cutPage, 0, findings);
    EXPECT_EQ(cut.m_bDvdDrive + cut.m_bBarCodeRead, 2);  // what was given counts
    EXPECT_EQ(findings.loadingMechanism, 0);
    CDevice whole;
    ApplyModePages(whole, longerThanBuffer, 0, findings);
    EXPECT_EQ(whole.m_nBufferSizeKB, 2048);  // what the buffer holds is still read
}

TEST(CapabilityWalks, SerialNumberIsThePrintableTextUpToTheFirstBlank)
{
    struct Case {
        const char* name;
        Bytes text;
        const char* serial;
    };
    const auto text = [](const std::string& s) { return Bytes(s.begin(), s.end()); };
    const Case cases[] = {
        {"plain", text("QDW20400001 "), "QDW20400001"},
        {"blank inside", text("AB12 CD34"), "AB12"},
        {"empty", text("    "), "None"},
        {"leading blank", text(" AB12"), "None"},
        {"unprintable first",
         text("\x01"
              "AB1"),
         "None"},
        {"DEL ends it",
         text("AB\x7F"
              "C"),
         "AB"},
        {"60 characters", text(std::string(60, 'S')), "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        Bytes answer = Configuration({}, {{0x0108, test.text}});
        answer.erase(answer.begin() + 8, answer.begin() + 12);  // no profile list: asked from 0108h on
        PutBe(answer, 0, answer.size() - 4, 4);
        EXPECT_EQ(SerialNumberFromFeature(answer), test.serial);
    }
    // A drive without the feature answers with the next one: that is no serial number.
    Bytes other = Configuration({}, {{0x010A, text("ABCD")}});
    other.erase(other.begin() + 8, other.begin() + 12);
    PutBe(other, 0, other.size() - 4, 4);
    EXPECT_EQ(SerialNumberFromFeature(other), "None");
}

TEST(CapabilityWalks, ModelCorrectionsGoByTheIdentityWithoutRegardToCase)
{
    struct Case {
        const char* identity;
        std::vector<Flag> raised;
    };
    const Case cases[] = {
        {"PIONEER DVD-RW  DVR-105", {&CDevice::m_bDvdPlusRRead, &CDevice::m_bDvdPlusRwRead}},
        {"pioneer dvd-rom dvd-105S", {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead}},
        {"RICOH   DVD+RW MP5125A", {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead}},
        {"AOPEN   16XDVD-ROM/AMH", {&CDevice::m_bDvdMinusRRead, &CDevice::m_bDvdMinusRwRead}},
        {"PHILIPS DVD+-RW SDVD8412", {&CDevice::m_bDvdPlusRDlWrite}},
        {"PHILIPS DVD+-RW SDVD841", {}},  // one character short of the model
        {"PLEXTOR DVDR   PX-716A", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.identity);
        CDevice device;
        device.m_strIdentity = test.identity;
        ApplyModelCorrections(device);
        EXPECT_EQ(RaisedOf(device,
                           {&CDevice::m_bDvdPlusRRead, &CDevice::m_bDvdPlusRwRead, &CDevice::m_bDvdMinusRRead,
                            &CDevice::m_bDvdMinusRwRead, &CDevice::m_bDvdPlusRDlWrite}),
                  test.raised);
    }
    CDevice nec;
    nec.m_strIdentity = "_NEC    DVD+-RW ND-6650A";
    ApplyProfileList(nec, Configuration({0x0010}));
    EXPECT_EQ(nec.m_bDvdMinusRDlRead + nec.m_bDvdMinusRDlWrite, 2);
    CDevice sony;
    sony.m_strIdentity = "SONY    DVD RW DW-D56A";
    sony.m_bDvdRamRead = sony.m_bDvdRamWritePage = 1;
    ApplyModePageCorrections(sony);
    EXPECT_EQ(sony.m_bDvdRamRead + sony.m_bDvdRamWritePage, 0);
}
