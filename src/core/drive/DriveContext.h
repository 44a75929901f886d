#pragma once

#include "core/app/WaitClock.h"
#include "core/drive/Device.h"
#include "core/drive/MmcTypes.h"
#include "core/drive/ScsiCommand.h"
#include "core/drive/VendorReply.h"
#include "platform/passthrough/EmulatedDrives.h"

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class EmulatedDeviceOpener;

// Where the drives come from: the system's block devices under two roots
// (fixture trees in tests) and the emulated drives, which are listed after
// the machine's optical drives unless their name stands in for one of them.
struct DriveSources {
    std::string sysBlockRoot = "/sys/block";
    std::string devRoot = "/dev";
    std::vector<NamedEmulatedDrive> emulated;
    std::vector<std::string> problems;  // items of the emulate setting that were left out
    std::uint32_t watchIntervalMs = 2000;  // how often the drive watcher looks; 0: only when asked

    // The machine's drives and those QUENZARIO_EMULATE asks for.
    static DriveSources FromEnvironment();
};

// What the user interface shows while the drives are listed.
struct DriveListHooks {
    // The start-up interrogation box: a message and a window title.
    std::function<void(const std::string& message, const std::string& title)> driveAdded;
    std::function<void(const std::string& text)> showWaitBox;
    std::function<void()> hideWaitBox;
    // The rest of a drive selection once the drive is current (MMC test,
    // media and configuration, page refresh).
    std::function<void(CDevice& device)> deviceSelected;
};

enum class SelectionOutcome { Selected, Refused, Fatal };

// The drive side of the main window: the command channel, the lists of
// optical drives and of disks, the current drive, the drive list's entries
// and selection, and the raw data buffer. The dialog shows what this holds.
class DriveContext {
public:
    explicit DriveContext(DriveSources sources = DriveSources::FromEnvironment());
    ~DriveContext();
    DriveContext(const DriveContext&) = delete;
    DriveContext& operator=(const DriveContext&) = delete;

    bool InitInterfaces();
    bool FillDeviceComboList();
    bool FillHDDComboList();
    CDevice* GetSelectedDevice();
    SelectionOutcome OnSelchangeDevicescombo(bool scanWindowOpen = false);
    void ReleaseDevices();

    // The disks the hard-disk test offers, and the removable ones the flash
    // test offers (empty, with the message to show, when there are none).
    std::vector<CDevice*> HddTestDrives() const;
    std::vector<CDevice*> FlashTestDrives(std::string& message) const;

    // The drive list as the combo box shows it: "identity (drive text)".
    const std::vector<std::string>& DeviceComboEntries() const { return m_deviceComboEntries; }
    int GetDeviceComboSel() const { return m_nDeviceComboSel; }
    void SetDeviceComboSel(int index);

    // Vendor-unique commands of the drive families (VendorCommands.cpp).
    VendorReply NecQueryCounterA();
    VendorReply NecQueryCounterB();
    // The book-type byte for a medium kind (0 write-once, 1 rewritable, 2
    // dual layer) from flash (setting 0) or the temporary setting (1).
    VendorReply NecQueryBookType(int settingSelector, int mediaSelector);
    VendorReply NuQsiQueryF30E();
    VendorReply QueryNuQsiStatus();
    // The book type the drive writes on DVD+RW (00) and DVD+R (10); -1 without
    // sending on drives that cannot write the format or that take the command
    // for something else.
    VendorReply RicohQueryBookType00();
    VendorReply RicohQueryBookType10();
    // BenQ service mode on (F1) and off (F2): the channel's result.
    int BenqSignatureF1();
    int BenqSignatureF2();
    VendorReply BenqQueryBookType00();
    VendorReply BenqQueryBookType10();
    VendorReply BenqSetBookTypeData(int selector, int value);
    VendorReply BenqSetBookType(int selector, int value);
    VendorReply VendorProbeFF09();
    VendorReply LiteonSetBookType(int selector, int value);
    VendorReply LiteonProbeDF1B();
    VendorReply LiteonQueryBookType();
    VendorReply GetVendorStatusDF10();
    VendorReply GetVendorStatusDF20();
    // 1 when the drive takes the Solid Burn sequence, else 0.
    VendorReply DetectForSolidBurn();

    const DriveSources& Sources() const { return m_sources; }
    // Opens drives by their drive text: the emulated ones and the machine's.
    std::shared_ptr<DeviceOpener> Opener() const;
    DriveListHooks& Hooks() { return m_hooks; }

    // MMC commands on the current drive, each a complete CDB of its standard
    // length. Unless said otherwise a result is the channel's: 0 done, 1
    // failed with the sense left in the channel for the sense report.

    // 1 when a disc is loaded and ready, else 0.
    int TestMediaPresent();
    // Asks up to 2 x seconds times, 500 ms apart: 0 ready, or no disc, or the
    // request itself failed without sense; 1 still not ready.
    int WaitForUnitReady(int seconds);
    // 1 when MODE SENSE answers with the capabilities page 2Ah, else 0.
    int TestMMCCompliant();
    // Progress of a long operation, 0-65535 (fractions of 65536); 0 when none.
    int GetProgress();
    // The Data Length of the configuration header; 0 on failure.
    int GetConfigurationDataLength();
    int GetConfiguration(int requestType, int startingFeature, std::uint8_t* buffer, std::uint32_t length);
    // true on success.
    bool ReadTrackInformation(std::uint8_t* buffer, std::uint32_t length, int track);
    int GetBDDiStruct(BDDiscInfo& info);
    // The last block address, sign-extended; 0 without a disc or on failure.
    std::int64_t ReadCapacity();
    // 1 without a disc (nothing sent), -1 for a buffer under kStructureBufferLength
    // (nothing sent, the notice says why).
    int ReadDVDStruct(std::uint32_t address, int layer, int format, int mediaType, std::uint32_t length,
                      std::uint8_t* buffer, WrapperNotice* notice = nullptr);
    int ReadDiscStructureNoCheck(std::uint32_t address, int layer, int format, std::uint32_t length,
                                 std::uint8_t* buffer);
    // The capacity list length on success, else 0 (the notice carries the status text).
    int GetFormatCapacities(std::uint8_t* buffer, std::uint32_t length, WrapperNotice* notice = nullptr);
    // READ(10) of count blocks at lba after the format capacities were
    // checked: the read's result, or -1 when refused before reading (the
    // notice carries the message unless quiet).
    int ReadBlocks(std::uint8_t* buffer, std::size_t bufferLength, std::int64_t lba, int count, bool quiet,
                   WrapperNotice* notice = nullptr);
    // The extent the disc's first performance descriptor ends at; half the
    // last block of a BD-ROM; 0 on failure.
    std::int64_t GetMediaCapacity();
    int SetCdSpeed(int index, int unitSpeed, int count, int step, int rotationControl);
    // Also keeps m_bTrayLocked: the tray counts as locked only when the drive took the lock.
    int PreventMediumRemoval(int prevent);
    // 1 when the mechanism reports its door open.
    int IsDoorOpen();
    static std::string GetRatedSpeedText(const std::string& mediaId);

    // What the loaded disc is (MediaIdentification.cpp).
    // The current profile from GET CONFIGURATION into `profile` (0 when the
    // command fails); the channel's result.
    int GetDriveProfile(int& profile);
    // The DVD book type 0-15; -1 without a disc or when it cannot be read.
    int GetBookType();
    // The media type of the DVD+R/RW media-ID table row of the disc; -2 when
    // its ID is empty or not in the table, -1 when the structure is refused.
    int LookupMediaIdCode();
    // The MediaType of the disc; 0 (as DVD-ROM) without one.
    int GetMediaType();
    // The medium's name ("NO MEDIA" without one); the current profile.
    int GetMediaTypeName(std::string& name);
    // 0 writes neither DVD+R nor DVD+RW, 1 one of them, 2 both.
    int GetPlusDriveGeneration();

    // What the drive can do, into the current record (DriveConfiguration.cpp).
    // False when the feature list could not be read; the notice says why when
    // the user is to be told.
    bool GetDriveConfiguration(WrapperNotice* notice = nullptr);
    bool DoModeSensePages(WrapperNotice* notice = nullptr);
    bool GetDriveSerialNumber();
    // MODE SENSE(10) of all pages: 252 bytes, then again with the length the
    // drive gives (at most `limit`), or 2048 bytes after a failure.
    int ReadAllModePages(std::vector<std::uint8_t>& answer, std::uint32_t limit, std::uint32_t* received = nullptr);

    // The main window's drive commands (MainWindowCommands.cpp).
    // REPORT KEY of the RPC state into the current record's region fields;
    // the channel's result (the fields keep their values on failure).
    int ReportRpcState();
    // Opens the tray when it is closed and closes it when it is open.
    int EjectOrCloseTray();
    // After a drive came or went: both lists again, keeping the selection
    // when its index still exists, else entry 0 (also remembered in
    // "SelectedDevice"). False when no optical drive is left.
    bool RebuildDeviceList();

    // The clock of the waits between commands (a virtual one in tests).
    void SetWaitClock(std::shared_ptr<WaitClock> clock);
    WaitClock& GetWaitClock() const { return *m_pWaitClock; }

    CScsiCommand m_ScsiCommand;
    std::vector<std::unique_ptr<CDevice>> m_DeviceList;
    std::vector<std::unique_ptr<CDevice>> m_HddList;
    CDevice* m_pCurrentDevice = nullptr;
    std::array<std::uint8_t, 4096> m_DataBuffer{};
    std::atomic<int> m_bTrayLocked{0};  // 1 while the program holds the drive's tray locked
    std::uint8_t m_nLoadingMechanism = 0;  // capabilities page byte 6, bits 7-5
    int m_nLightScribePageCount = 0;  // LightScribe pages the mode-page listing counted

private:
    int SendDiscStructure(int mediaType, std::uint32_t address, int layer, int format, std::uint32_t length,
                          std::uint8_t* buffer);
    int ReadDvdStructureOrAdip(std::vector<std::uint8_t>& answer, const char* fallbackLog);

    VendorReply BenqQueryBookType(std::uint8_t kind);
    VendorReply BenqSet(std::uint8_t selector, std::uint8_t value, bool withData);
    VendorReply LiteonStatus(std::uint8_t which);
    void WaitBeforeLiteonCommand();
    std::vector<std::string> OpticalDriveTexts() const;
    std::unique_ptr<CDevice> ProbeOpticalDrive(const std::string& driveText, int& answered,
                                               std::vector<std::string>& reasons);
    void SetCurrentDevice(CDevice* device);
    void ReportEmulationProblems() const;

    DriveSources m_sources;
    std::shared_ptr<EmulatedDeviceOpener> m_pOpener;
    DriveListHooks m_hooks;
    std::shared_ptr<WaitClock> m_pWaitClock = SystemWaitClock();
    std::vector<std::string> m_deviceComboEntries;
    int m_nDeviceComboSel = -1;
};
