#include "platform/devices/BlockDevices.h"
#include "platform/passthrough/SgIo.h"
#include "platform/passthrough/SgIoPassThrough.h"
#include "platform/passthrough/SystemDeviceOpener.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>
#include <grp.h>
#include <unistd.h>

namespace fs = std::filesystem;

TEST(SgIo, TheRequestCarriesTheCommandTheBufferAndTheTimeOut)
{
    std::uint8_t cdb[10] = {0x28, 0, 0, 0, 0x10, 0, 0, 0, 32, 0};
    std::uint8_t data[65536];
    std::uint8_t sense[64];
    const sg_io_hdr_t read = BuildSgIoHeader(cdb, 10, DataDirection::In, data, sizeof data, sense, 64, 108000);
    EXPECT_EQ(read.interface_id, 'S');
    EXPECT_EQ(read.dxfer_direction, SG_DXFER_FROM_DEV);
    EXPECT_EQ(read.cmdp, cdb);
    EXPECT_EQ(read.cmd_len, 10);
    EXPECT_EQ(read.dxferp, data);
    EXPECT_EQ(read.dxfer_len, sizeof data);
    EXPECT_EQ(read.sbp, sense);
    EXPECT_EQ(read.mx_sb_len, 64);
    EXPECT_EQ(read.timeout, 108000000u);  // milliseconds: long erases never time out
    EXPECT_EQ(read.iovec_count, 0);

    EXPECT_EQ(BuildSgIoHeader(cdb, 6, DataDirection::Out, data, 2048, sense, 64, 30).dxfer_direction, SG_DXFER_TO_DEV);
    const sg_io_hdr_t none = BuildSgIoHeader(cdb, 6, DataDirection::None, data, 2048, sense, 64, 30);
    EXPECT_EQ(none.dxfer_direction, SG_DXFER_NONE);
    EXPECT_EQ(none.dxfer_len, 0u);
    EXPECT_EQ(none.dxferp, nullptr);
    EXPECT_EQ(BuildSgIoHeader(cdb, 6, DataDirection::In, nullptr, 0, sense, 64, 30).dxfer_direction, SG_DXFER_NONE);
    EXPECT_EQ(BuildSgIoHeader(cdb, 6, DataDirection::In, data, 8, sense, 64, UINT_MAX).timeout, UINT_MAX);
}

TEST(SgIo, DescriptorSenseBecomesFixedSense)
{
    const std::uint8_t descriptor[] = {0x72, 0x03, 0x11, 0x00, 0,    0,    0,    20,   0x00, 0x0A,
                                       0x80, 0,    0,    0,    0,    0,    0x00, 0x12, 0x34, 0x56,  // information
                                       0x02, 0x06, 0,    0,    0x80, 0x12, 0x34, 0};  // key specific
    std::uint8_t fixed[18] = {};
    ASSERT_EQ(ToFixedSense(descriptor, sizeof descriptor, fixed, sizeof fixed), 18u);
    const std::uint8_t expected[18] = {0xF0, 0, 0x03, 0x00, 0x12, 0x34, 0x56, 10,   0,
                                       0,    0, 0,    0x11, 0x00, 0,    0x80, 0x12, 0x34};
    EXPECT_EQ(0, std::memcmp(fixed, expected, 18));

    const std::uint8_t plain[] = {0x70, 0, 0x02, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x3A, 0x00, 0, 0, 0, 0};
    std::uint8_t copy[18] = {};
    EXPECT_EQ(ToFixedSense(plain, sizeof plain, copy, sizeof copy), 18u);
    EXPECT_EQ(0, std::memcmp(plain, copy, 18));

    const std::uint8_t truncated[] = {0x72, 0x05, 0x24, 0x00, 0, 0, 0, 40, 0x00, 0x0A};  // says more than it has
    EXPECT_EQ(ToFixedSense(truncated, sizeof truncated, copy, sizeof copy), 18u);
    EXPECT_EQ(copy[2], 0x05);
    const std::uint8_t garbage[] = {0x12, 0x34};
    EXPECT_EQ(ToFixedSense(garbage, sizeof garbage, copy, sizeof copy), 0u);
}

TEST(SgIo, OutcomesOfAFinishedRequest)
{
    struct Case {
        const char* name;
        int ioctlErrno;
        unsigned char status;
        unsigned short hostStatus;
        unsigned short driverStatus;
        unsigned char senseWritten;
        PassThroughError error;
        const char* reasonPart;
    };
    const Case cases[] = {
        {"good", 0, 0x00, 0, 0, 0, PassThroughError::None, ""},
        {"check condition with sense", 0, 0x02, 0, 0x08, 18, PassThroughError::None, ""},
        {"EPERM", EPERM, 0, 0, 0, 0, PassThroughError::KernelRefused, "CAP_SYS_RAWIO"},
        {"EACCES", EACCES, 0, 0, 0, 0, PassThroughError::KernelRefused, "/dev/sgN"},
        {"ioctl error", EIO, 0, 0, 0, 0, PassThroughError::Transport, "SG_IO failed: Input/output error"},
        {"host time-out", 0, 0x00, 0x03, 0, 0, PassThroughError::Transport, "did not answer in time"},
        {"driver time-out", 0, 0x00, 0, 0x06, 0, PassThroughError::Transport, "timed out"},
        {"check condition without sense", 0, 0x02, 0, 0, 0, PassThroughError::Transport, "without sense"},
        {"busy", 0, 0x08, 0, 0, 0, PassThroughError::Transport, "status 0x08"},
    };
    const std::uint8_t rawSense[18] = {0x70, 0, 0x05, 0, 0, 0, 0, 10, 0, 0, 0, 0, 0x24, 0x00, 0, 0, 0, 0};
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        sg_io_hdr_t header{};
        header.status = test.status;
        header.host_status = test.hostStatus;
        header.driver_status = test.driverStatus;
        header.sb_len_wr = test.senseWritten;
        header.resid = 512;
        std::uint8_t sense[20] = {};
        const PassThroughResult result = InterpretSgIo(header, test.ioctlErrno, rawSense, sense, 18);
        EXPECT_EQ(result.error, test.error);
        EXPECT_NE(result.reason.find(test.reasonPart), std::string::npos) << result.reason;
        EXPECT_EQ(result.senseLength, test.senseWritten ? 18u : 0u);
        EXPECT_EQ(sense[12], test.senseWritten ? 0x24 : 0x00);  // never invented sense
        EXPECT_EQ(result.residual, test.ioctlErrno == 0 ? 512u : 0u);
    }
}

TEST(SgIoPassThrough, NodesThatCannotServeAreRefusedWithTheReason)
{
    TempDir dir;
    DeviceOpenFailure failure;
    EXPECT_FALSE(SgIoPassThrough::Open(dir.File("sr0"), dir.Path(), failure));
    EXPECT_EQ(failure.errorNumber, ENOENT);
    EXPECT_EQ(failure.text, dir.File("sr0") + " does not exist");

    WriteFileText(dir.File("sr1"), "not a drive");
    EXPECT_FALSE(SgIoPassThrough::Open(dir.File("sr1"), dir.Path(), failure));
    EXPECT_EQ(failure.text, dir.File("sr1") + " is not a device node");

    SystemDeviceOpener opener(dir.Path(), dir.Path());
    EXPECT_FALSE(opener.Open("../sr1", failure));
    EXPECT_EQ(failure.text, "\"../sr1\" is not a drive name");
    EXPECT_FALSE(opener.OpenMediaChangeControl("sr0", failure));
}

TEST(SgIoPassThrough, APermissionFailureNamesTheGroupThatOwnsTheNode)
{
    TempDir dir;
    const std::string node = dir.File("sr0");
    WriteFileText(node, "");
    const group* daemon = getgrnam("daemon");
    ASSERT_NE(daemon, nullptr);
    ASSERT_EQ(chown(node.c_str(), static_cast<uid_t>(-1), daemon->gr_gid), 0);
    const std::string text = DescribeOpenFailure(node, EACCES);
    EXPECT_EQ(text,
              "cannot open " + node
                  + ": Permission denied (this user is not in the group \"daemon\" that owns it;"
                    " add the user to that group and log in again)");
}

TEST(SgIoPassThrough, SendsThroughSgIoAndChecksTheTransferLimitFirst)
{
    // /dev/null is a device node that does not take SG_IO: the real ioctl runs and fails.
    TempDir dev;
    TempDir sys;
    fs::create_symlink("/dev/null", dev.File("sr0"));
    fs::create_directories(sys.File("sr0/queue"));
    WriteFileText(sys.File("sr0/queue/max_hw_sectors_kb"), "64\n");
    SystemDeviceOpener opener(dev.Path(), sys.Path());
    DeviceOpenFailure failure;
    auto drive = opener.Open("sr0", failure);
    ASSERT_TRUE(drive) << failure.text;

    std::uint8_t cdb[10] = {0x28, 0, 0, 0, 0, 0, 0, 0, 32, 0};
    std::vector<std::uint8_t> buffer(128 * 1024);
    std::uint8_t sense[18] = {};
    const PassThroughResult tooLong = drive->Execute(cdb, 10, DataDirection::In, buffer.data(), 128 * 1024, sense, 18,
                                                     30);
    EXPECT_EQ(tooLong.error, PassThroughError::InvalidRequest);
    EXPECT_NE(tooLong.reason.find("64 KB, max_hw_sectors_kb"), std::string::npos) << tooLong.reason;

    const PassThroughResult sent = drive->Execute(cdb, 10, DataDirection::In, buffer.data(), 64 * 1024, sense, 18, 30);
    EXPECT_EQ(sent.error, PassThroughError::Transport);
    EXPECT_NE(sent.reason.find("SG_IO failed"), std::string::npos) << sent.reason;

    std::string error;
    EXPECT_FALSE(drive->DismountVolume(&error));
    EXPECT_FALSE(drive->UnlockVolume(&error));
    EXPECT_TRUE(drive->LockVolume(&error)) << error;
    EXPECT_TRUE(drive->DismountVolume(&error));
    EXPECT_TRUE(drive->UnlockVolume(&error));
}

TEST(SgIoPassThrough, FindsTheDrivesGenericNodeForTheCommandsTheBlockNodeMayNotPass)
{
    TempDir dev;
    TempDir sys;
    fs::create_symlink("/dev/null", dev.File("sr0"));
    fs::create_symlink("/dev/null", dev.File("sr1"));
    fs::create_directories(sys.File("sr0/device/scsi_generic/sg3"));
    SystemDeviceOpener opener(dev.Path(), sys.Path());
    DeviceOpenFailure failure;
    auto withGeneric = opener.Open("sr0", failure);
    ASSERT_TRUE(withGeneric) << failure.text;
    EXPECT_EQ(dynamic_cast<SgIoPassThrough&>(*withGeneric).GenericNode(), dev.File("sg3"));
    auto without = opener.Open("sr1", failure);
    ASSERT_TRUE(without) << failure.text;
    EXPECT_EQ(dynamic_cast<SgIoPassThrough&>(*without).GenericNode(), "");
}

TEST(SgIoPassThrough, MediaChangePollingIsSwitchedOffAndRestored)
{
    TempDir dev;
    TempDir sys;
    fs::create_symlink("/dev/null", dev.File("sr0"));
    fs::create_directories(sys.File("sr0"));
    fs::create_directories(sys.File("sr1"));
    fs::create_symlink("/dev/null", dev.File("sr1"));
    WriteFileText(sys.File("sr0/events_poll_msecs"), "2000\n");
    SystemDeviceOpener opener(dev.Path(), sys.Path());
    DeviceOpenFailure failure;
    {
        auto control = opener.OpenMediaChangeControl("sr0", failure);
        ASSERT_TRUE(control) << failure.text;
        std::string error;
        std::string note;
        EXPECT_TRUE(control->SetNotificationDisabled(true, &error, &note));
        EXPECT_EQ(ReadFileText(sys.File("sr0/events_poll_msecs")), "0");
        EXPECT_TRUE(control->SetNotificationDisabled(false, &error, &note));
        EXPECT_EQ(ReadFileText(sys.File("sr0/events_poll_msecs")), "2000\n");
        EXPECT_TRUE(control->SetNotificationDisabled(true, &error, &note));
        EXPECT_TRUE(note.empty()) << note;
    }
    EXPECT_EQ(ReadFileText(sys.File("sr0/events_poll_msecs")), "2000\n");  // restored when it goes

    // Without the attribute the kernel cannot be told: a no-op that says so.
    auto control = opener.OpenMediaChangeControl("sr1", failure);
    ASSERT_TRUE(control);
    std::string error;
    std::string note;
    EXPECT_TRUE(control->SetNotificationDisabled(true, &error, &note));
    EXPECT_NE(note.find("media change polling left as it is"), std::string::npos) << note;
}

// Runs against the machine's first optical drive; most build machines have none.
TEST(SgIoPassThrough, RealDriveAnswersInquiry)
{
    const std::vector<std::string> drives = ListOpticalDrives("/sys/block");
    if (drives.empty())
        GTEST_SKIP() << "no optical drive on this machine (no /sys/block/srN)";
    SystemDeviceOpener opener;
    DeviceOpenFailure failure;
    auto drive = opener.Open(drives.front(), failure);
    ASSERT_TRUE(drive) << failure.text;
    std::uint8_t cdb[6] = {0x12, 0, 0, 0, 96, 0};
    std::uint8_t answer[96] = {};
    std::uint8_t sense[18] = {};
    const PassThroughResult result = drive->Execute(cdb, 6, DataDirection::In, answer, sizeof answer, sense, 18, 30);
    ASSERT_TRUE(result.Delivered()) << result.reason;
    EXPECT_EQ(result.senseLength, 0u);
    EXPECT_EQ(answer[0] & 0x1F, 0x05);
    EXPECT_NE(answer[8], 0);
}
