#pragma once

#include "core/base/ReportText.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/info/DriveInfoPage.h"

#include <cstdint>
#include <string>

// What the drive work of a drive selection found.
struct SelectionFacts {
    int mmcCompliant = 0;
    bool mediaPresent = false;
    std::string mediaTypeName;  // "NO MEDIA" without a disc
    std::string mediaId;  // empty without a disc or an ID that can be read
    WrapperNotice notice;  // what the configuration reading would tell the user
};

// What the drive information page shows, found by its drive work.
struct DriveInfoFacts {
    DriveInfoPage page;
    WrapperNotice notice;
};

// The Qt-free half of the main window: its drive side and its text, and the
// operations that need both. The window owns one and shows what it holds.
class MainDialogCore {
public:
    explicit MainDialogCore(DriveSources sources = DriveSources::FromEnvironment());

    // Tells why the last command failed, from the channel's sense data: a
    // status text for the common refusals, else line 0 of the report and a
    // message box.
    void ReportSenseError(int opcode);
    // The same for a failure taken from the channel when it happened.
    void ReportSenseError(int opcode, const ChannelFailure& failure);

    // The drive's profiles and features, or its mode pages, listed in the
    // report. The mode-page listing also counts the LightScribe pages.
    void ListDriveFeaturesProfiles();
    void ListDriveModePages();

    // Drive work of the main window; each runs off the window's thread and
    // leaves what the window shows in its result, the report and the status.
    // The current drive is tested, its disc named and its capabilities read.
    SelectionFacts InterrogateSelectedDrive();
    // The drive information page: capabilities, region state and the disc.
    DriveInfoFacts InterrogateDriveInfo();
    // The status line of the drive information page: the loaded disc, or none.
    void ShowMediaStatus();

    // The disc-hash page: the block range of the disc (from block 0); false
    // without a disc.
    bool SetUpDiscHashRange();
    // One block read for the byte view into the data buffer and shown as a
    // 32-line dump; the read's result (-1 when refused before reading). A
    // read that fails changes neither and gives the drive's reason (its
    // sense key) in failure; the whole sense goes to the log.
    int ReadSectorForView(std::int64_t lba, WrapperNotice& notice, std::string* failure = nullptr);
    // The report as the clipboard takes it on a text page: the lines up to
    // the last one with content; without their offsets where the page copies
    // bytes so (the media code).
    std::string ClipboardText(int page);
    // The first `count` bytes of the data buffer into a file.
    bool SaveDataBuffer(const std::string& path, std::size_t count, std::string& error);

    std::int64_t m_nHashStartLba = 0;
    std::int64_t m_nHashEndLba = 0;

    DriveContext m_Drives;
    ReportText m_Report;
};
