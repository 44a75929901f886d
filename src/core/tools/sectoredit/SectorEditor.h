#pragma once

#include "core/tools/disk/ChosenDisk.h"
#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskDriveFields.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class CDevice;

// The most the editor holds: 2048 sectors (1 MB) read, loaded or written.
constexpr std::uint64_t kMaxEditorSectors = 2048;

// The four edits of the editor, in the chosen radix.
struct SectorFields {
    std::string startSector = "0";
    std::string offset = "0";
    std::string value = "00";
    std::string count = "1";
};

// What the editor asks of its window. Called on the window's thread.
class SectorEditorPort {
public:
    virtual ~SectorEditorPort() = default;
    // The fields and the radix into the edits.
    virtual void ShowFields() = 0;
    virtual void ShowGrid(const std::string& text) = 0;
    virtual std::optional<std::string> ChooseFileToLoad() = 0;
    virtual std::optional<std::string> ChooseFileToSave() = 0;
    // "Which size do you want?": true for the file's original size.
    virtual bool AskOriginalSize() = 0;
    virtual void PutCaretAtEnd(int controlId) = 0;
};

// Where the buffer's bytes came from.
enum class BufferOrigin { None, Disk, File };

// The sector editor's logic (`CHddSectorReadWrite`), on the window's thread:
// reads a run of 512-byte sectors of a disk, or a ".bin" file, into a
// buffer, shows it as a hex grid, changes single bytes, and writes the
// buffer back or saves it. A buffer read from a disk is written back to
// exactly the sectors it was read from, of that disk; any other buffer only
// to the start sector the user typed, of the disk chosen. A Read that fails
// moves neither the start sector nor a target typed in it. Every write checks
// that the node still holds that disk and may be written, passes the
// confirmation gate (which refuses a mounted disk, the system's disk and a
// disk in use), asks once more for sectors 0 to 2047, is flushed, read back
// and compared.
class SectorEditor {
public:
    SectorEditor(DiskToolHost host, SectorEditorPort& port);

    std::vector<std::string> DriveComboItems() const { return ::DriveComboItems(m_host.drives); }
    // The drive fields (no size per plot) and the edits back to their start.
    DiskDriveFields OnSelchangeDrive(int comboIndex, int& shownIndex);

    void OnRead();
    void OnWrite();
    void OnLoad();
    void OnSave();
    void OnGet();
    void OnSet();
    void OnHexadecimal();
    void OnDecimal();
    // An edit's text changed (typed or set): checked, made upper case.
    void OnEditChange(int controlId, const std::string& text);
    // The user typed in "Start Sector LBA": it names a write's target.
    void OnStartSectorTyped() { m_bTargetNamed = true; }
    // A double click on the grid at (line, column).
    void PickAt(int line, int column);

    const std::vector<std::uint8_t>& Buffer() const { return m_buffer; }
    BufferOrigin Origin() const { return m_origin; }

    SectorFields fields;
    int m_nRadix = 0;  // 0 hexadecimal, 1 decimal
    CDevice* m_pDevice = nullptr;
    bool m_bFromFile = false;
    bool m_bChanged = false;
    std::uint64_t m_nFileLength = 0;

private:
    bool EnsureBuffer(std::uint64_t sectors);
    bool AskToLoseChanges();
    std::uint64_t FieldValue(const std::string& text) const;
    std::string NumberText(std::uint64_t value) const;
    // "sectors 900h to 901h (1.00 KB)", in the edits' radix.
    std::string SectorRangeText(std::uint64_t start, std::uint64_t count) const;
    std::string* FieldOf(int controlId);
    // The edits' numbers, read in the radix that was, written in the new one.
    void SwitchRadix(int radix);
    void ShowGridLines(std::size_t lines);
    // Checks that target still holds the disk it names, asks and writes.
    bool WriteTo(const ChosenDisk& target, std::uint64_t start, std::uint64_t count);

    DiskToolHost m_host;
    SectorEditorPort& m_port;
    std::vector<std::uint8_t> m_buffer;
    ChosenDisk m_chosen;  // the disk chosen in the list, as it was then
    BufferOrigin m_origin = BufferOrigin::None;
    ChosenDisk m_originDisk;  // of a buffer read from a disk
    std::uint64_t m_originStart = 0;
    std::uint64_t m_originCount = 0;
    bool m_bTargetNamed = false;
};
