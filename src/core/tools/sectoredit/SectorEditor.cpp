#include "core/tools/sectoredit/SectorEditor.h"

#include "core/base/ConfirmationGate.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/Device.h"
#include "core/tools/disk/ChosenDisk.h"
#include "core/tools/disk/DiskSizeText.h"
#include "core/tools/disk/DiskToolIds.h"
#include "core/tools/sectoredit/HexGrid.h"
#include "platform/files/SafeFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>

using namespace disktool;

namespace {

constexpr std::uint64_t kSectorBytes = 512;
// Sectors below this hold the partition table and the boot code.
constexpr std::uint64_t kBootAreaSectors = 2048;

constexpr const char* kNothingToSave = "You did not make any changes, there is nothing to save";
constexpr const char* kWriteError = "Error writing disk sectors";

std::string ToUpper(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

SectorEditor::SectorEditor(DiskToolHost host, SectorEditorPort& port) : m_host(std::move(host)), m_port(port)
{
}

DiskDriveFields SectorEditor::OnSelchangeDrive(int comboIndex, int& shownIndex)
{
    const DiskChoice choice = GetSelectedDisk("CHddErrorTest", comboIndex, m_host.drives);
    shownIndex = choice.selection;
    m_pDevice = choice.device;
    DiskDriveFields drive;
    if (m_pDevice) {
        const std::string node = m_host.access.NodeOf(*m_pDevice);
        const OpenedDisk disk = OpenDisk(m_host.access, node, BlockAccess::Read);
        // A disk that may not be opened still shows the size the system lists.
        const std::uint64_t size = disk.device ? disk.geometry.sizeBytes : m_host.access.ListedBytes(*m_pDevice);
        drive = MakeDriveFields(*m_pDevice, size, m_host.access.freeBytes(node));
        drive.sizePerPlot.clear();
        m_chosen = ChooseDisk(m_host.access, *m_pDevice, disk);
    }
    fields = SectorFields();
    m_bTargetNamed = false;
    m_port.ShowFields();
    return drive;
}

std::uint64_t SectorEditor::FieldValue(const std::string& text) const
{
    return std::strtoull(text.c_str(), nullptr, m_nRadix == 0 ? 16 : 10);
}

std::string SectorEditor::NumberText(std::uint64_t value) const
{
    return Format(m_nRadix == 0 ? "%llX" : "%llu", static_cast<unsigned long long>(value));
}

std::string SectorEditor::SectorRangeText(std::uint64_t start, std::uint64_t count) const
{
    const char* mark = m_nRadix == 0 ? "h" : "";  // as the edits show them
    return "sectors " + NumberText(start) + mark + " to " + NumberText(start + count - 1) + mark + " ("
        + FormatSize(count * kSectorBytes) + ")";
}

bool SectorEditor::AskToLoseChanges()
{
    if (!m_bChanged)
        return true;
    return AppMessageBox("Are you sure you want to lose current changes?", "Lose changes?",
                         MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
        == IDYES;
}

bool SectorEditor::EnsureBuffer(std::uint64_t sectors)
{
    // Exactly the sectors asked for, all zero: nothing of an earlier, longer
    // buffer is shown, saved or written with it.
    try {
        m_buffer.assign(static_cast<std::size_t>(sectors * kSectorBytes), 0);
    } catch (const std::bad_alloc&) {
        std::vector<std::uint8_t>().swap(m_buffer);
        AppMessageBox("Error allocating memory");
        return false;
    }
    return true;
}

void SectorEditor::ShowGridLines(std::size_t lines)
{
    m_port.ShowGrid(HexGridText(FormatHexLines(m_buffer.data(), m_buffer.size(), lines)));
}

void SectorEditor::OnRead()
{
    m_bFromFile = false;
    m_nFileLength = 0;
    if (!AskToLoseChanges())
        return;
    m_bChanged = false;
    const std::uint64_t count = FieldValue(fields.count);
    const std::uint64_t start = FieldValue(fields.startSector);
    if (count > kMaxEditorSectors) {
        AppMessageBox(Format("Error, at most %llu sectors (%s) can be read at once",
                             static_cast<unsigned long long>(kMaxEditorSectors),
                             FormatSize(kMaxEditorSectors * kSectorBytes).c_str()));
        return;
    }
    if (!EnsureBuffer(count))
        return;
    m_origin = BufferOrigin::None;
    std::string failure;
    if (m_pDevice == nullptr) {
        failure = "No disk is chosen.";
    } else if (start > std::numeric_limits<std::uint64_t>::max() / kSectorBytes - count) {
        failure = "The start sector lies beyond any disk.";
    } else if (count > 0) {
        const std::string node = m_host.access.NodeOf(*m_pDevice);
        const OpenedDisk disk = OpenDisk(m_host.access, node, BlockAccess::Read);
        if (!disk.device) {
            failure = disk.failure;
        } else {
            const std::size_t bytes = static_cast<std::size_t>(count * kSectorBytes);
            const BlockIo io = disk.device->ReadAt(start * kSectorBytes, m_buffer.data(), bytes);
            if (!io.Ok())
                failure = node + ": " + ErrnoText(io.error);
            else if (io.bytes != bytes)
                failure = Format("%s ends at sector %llu.", node.c_str(),
                                 static_cast<unsigned long long>(disk.geometry.sizeBytes / kSectorBytes));
            else {
                m_origin = BufferOrigin::Disk;
                m_originDisk = ChooseDisk(m_host.access, *m_pDevice, disk);
                m_originStart = start;
                m_originCount = count;
            }
        }
    }
    ShowGridLines(static_cast<std::size_t>(count * 32));
    if (!failure.empty()) {
        // The start sector, and a target typed in it, stay for another try
        // or a write over the sectors that would not read.
        AppMessageBox("Error reading disk sectors\n\n" + failure);
        return;
    }
    m_bTargetNamed = false;  // the buffer's place is where it was read from
    fields.startSector = NumberText(start + count);
    m_port.ShowFields();
}

void SectorEditor::OnWrite()
{
    if (!m_bChanged) {
        AppMessageBox(kNothingToSave);
        return;
    }
    if (m_origin == BufferOrigin::Disk) {
        WriteTo(m_originDisk, m_originStart, m_originCount);
        return;
    }
    // A loaded or new buffer has no place of its own on the disk.
    if (!m_bTargetNamed) {
        AppMessageBox("The buffer was not read from the disk: type the sector to write it to in \"Start Sector "
                      "LBA\", then press Write again.");
        return;
    }
    const std::uint64_t count = FieldValue(fields.count);
    if (count == 0 || m_buffer.size() < count * kSectorBytes) {
        AppMessageBox("Error, buffer is smaller than requested write size");
        return;
    }
    if (m_pDevice == nullptr) {
        AppMessageBox(std::string(kWriteError) + "\n\nNo disk is chosen.");
        return;
    }
    WriteTo(m_chosen, FieldValue(fields.startSector), count);
}

bool SectorEditor::WriteTo(const ChosenDisk& target, std::uint64_t start, std::uint64_t count)
{
    const std::string& node = target.node;
    std::uint64_t diskBytes = 0;
    {
        const OpenedDisk disk = OpenChosenDisk(m_host.access, target, BlockAccess::Read);
        if (!disk.device) {
            AppMessageBox(std::string(kWriteError) + "\n\n" + disk.failure);
            return false;
        }
        diskBytes = disk.geometry.sizeBytes;
    }
    const std::uint64_t diskSectors = diskBytes / kSectorBytes;
    if (start >= diskSectors || count > diskSectors - start) {
        AppMessageBox(Format("%s\n\n%s has %llu sectors: %s lie beyond its end.", kWriteError, node.c_str(),
                             static_cast<unsigned long long>(diskSectors), SectorRangeText(start, count).c_str()));
        return false;
    }
    DestructiveOperation operation;
    operation.action = "Are you sure you want to write this sector to the Hard Disk?";
    operation.deviceNode = node;
    SplitBrandModel(target.name, operation.vendor, operation.model);
    operation.medium = FormatSize(diskBytes) + " disk";
    operation.loss = "What " + SectorRangeText(start, count) + " hold will be replaced by the edited buffer.";
    if (!ConfirmDiskWrite(m_host.access, target, operation).Confirmed())
        return false;
    if (start < kBootAreaSectors) {
        UserPrompt* prompt = GetUserPrompt();
        const std::string question = "The write reaches sectors 0 to 2047 of " + node
            + ", where the partition table and the boot code are kept. A wrong byte there can make the whole disk "
              "unreadable.\n\nWrite to them anyway?";
        if (prompt == nullptr
            || prompt->MessageBox(question, "Partition table and boot area",
                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)
                != IDYES)
            return false;
    }
    const OpenedDisk disk = OpenChosenDisk(m_host.access, target, BlockAccess::ReadWrite);
    if (!disk.device) {
        AppMessageBox(std::string(kWriteError) + "\n\n" + disk.failure);
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(count * kSectorBytes);
    const std::uint64_t offset = start * kSectorBytes;
    std::string failure;
    BlockIo io = disk.device->WriteAt(offset, m_buffer.data(), bytes);
    if (!io.Ok()) {
        failure = node + ": " + ErrnoText(io.error);
    } else if (const int error = disk.device->Flush(); error != 0) {
        failure = node + ": " + ErrnoText(error);
    } else {
        std::vector<std::uint8_t> readBack(bytes);
        io = disk.device->ReadAt(offset, readBack.data(), bytes);
        if (!io.Ok() || io.bytes != bytes || std::memcmp(readBack.data(), m_buffer.data(), bytes) != 0)
            failure = "The sectors read back from " + node + " are not what was written.";
    }
    if (!failure.empty()) {
        LogEntry("Sector editor: the write of " + SectorRangeText(start, count) + " failed: " + failure);
        AppMessageBox(std::string(kWriteError) + "\n\n" + failure);
        return false;
    }
    LogEntry("Sector editor: wrote " + SectorRangeText(start, count) + " of " + node);
    m_bChanged = false;
    m_origin = BufferOrigin::Disk;
    m_originDisk = target;
    m_originStart = start;
    m_originCount = count;
    return true;
}

void SectorEditor::OnLoad()
{
    if (!AskToLoseChanges())
        return;
    m_bChanged = false;
    std::vector<std::uint8_t>().swap(m_buffer);
    m_bFromFile = false;
    m_nFileLength = 0;
    m_origin = BufferOrigin::None;
    const std::optional<std::string> path = m_port.ChooseFileToLoad();
    if (!path)
        return;
    std::string content;
    std::string error;
    const ReadFileResult read = ReadRegularFile(*path, kMaxEditorSectors * kSectorBytes, content, &error);
    if (read != ReadFileResult::Ok) {
        AppMessageBox(read == ReadFileResult::TooLarge ? "Error reading file\n\nThe file is larger than "
                              + FormatSize(kMaxEditorSectors * kSectorBytes) + ", the most the editor holds."
                                                       : "Error reading file\n\n" + error);
        return;
    }
    m_nFileLength = content.size();
    m_bFromFile = true;
    const std::uint64_t sectors = (m_nFileLength + kSectorBytes - 1) / kSectorBytes;
    if (!EnsureBuffer(sectors))
        return;
    std::memcpy(m_buffer.data(), content.data(), content.size());
    m_origin = BufferOrigin::File;
    m_bTargetNamed = false;
    fields.count = NumberText(sectors);
    m_port.ShowFields();
    ShowGridLines(m_buffer.size() / 16);
}

void SectorEditor::OnSave()
{
    if (!m_bChanged) {
        AppMessageBox(kNothingToSave);
        return;
    }
    std::uint64_t size = FieldValue(fields.count) * kSectorBytes;
    if (m_bFromFile && m_port.AskOriginalSize())
        size = m_nFileLength;
    if (m_buffer.size() < size) {
        AppMessageBox("Error, buffer is smaller than requested save size");
        return;
    }
    const std::optional<std::string> path = m_port.ChooseFileToSave();
    if (!path)
        return;
    std::string error;
    const std::string_view bytes(reinterpret_cast<const char*>(m_buffer.data()), static_cast<std::size_t>(size));
    if (!WriteFileAtomically(*path, bytes, &error)) {
        AppMessageBox("Error opening file for write\n\n" + error);
        return;
    }
    AppMessageBox("File write successful");
    m_bChanged = false;
}

void SectorEditor::OnGet()
{
    if (m_buffer.empty() && !EnsureBuffer(1))
        return;
    const std::uint64_t offset = FieldValue(fields.offset);
    if (offset < m_buffer.size()) {
        const unsigned value = m_buffer[static_cast<std::size_t>(offset)];
        fields.value = Format(m_nRadix == 0 ? "%02X" : "%02u", value);
        m_port.ShowFields();
    }
    ShowGridLines(m_buffer.size() / 16);
}

void SectorEditor::OnSet()
{
    if (m_buffer.empty() && !EnsureBuffer(1))
        return;
    const std::uint64_t offset = FieldValue(fields.offset);
    if (offset < m_buffer.size()) {
        m_buffer[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(FieldValue(fields.value) & 0xFF);
        m_bChanged = true;
    }
    ShowGridLines(m_buffer.size() / 16);
}

void SectorEditor::OnHexadecimal()
{
    SwitchRadix(0);
}

void SectorEditor::OnDecimal()
{
    SwitchRadix(1);
}

void SectorEditor::SwitchRadix(int radix)
{
    if (m_nRadix == radix)
        return;
    const int base = m_nRadix == 0 ? 16 : 10;
    const auto number = [base](const std::string& text) { return std::strtoull(text.c_str(), nullptr, base); };
    const bool hex = radix == 0;
    fields.startSector = Format(hex ? "%llX" : "%llu", number(fields.startSector));
    fields.offset = Format(hex ? "%08llX" : "%08llu", number(fields.offset));
    fields.value = Format(hex ? "%02llX" : "%02llu", number(fields.value));
    fields.count = Format(hex ? "%llX" : "%llu", number(fields.count));
    m_nRadix = radix;
    m_port.ShowFields();
}

std::string* SectorEditor::FieldOf(int controlId)
{
    switch (controlId) {
    case IDC_STARTSECTOR: return &fields.startSector;
    case IDC_BUFFEROFFSET: return &fields.offset;
    case IDC_VALUE: return &fields.value;
    case IDC_SECTORCOUNT: return &fields.count;
    default: return nullptr;
    }
}

void SectorEditor::OnEditChange(int controlId, const std::string& text)
{
    std::string* field = FieldOf(controlId);
    if (field == nullptr || *field == text)
        return;
    const std::string upper = ToUpper(text);
    if (m_nRadix == 1 && upper.find_first_of("ABCDEF") != std::string::npos) {
        AppMessageBox("Error, you have options set to Decimal, you cannot use Hexadecimal characters.");
        *field = "0";
        m_port.ShowFields();
        return;
    }
    *field = upper;
    if (upper != text)
        m_port.ShowFields();
    if (controlId == IDC_BUFFEROFFSET || controlId == IDC_VALUE)
        m_port.PutCaretAtEnd(controlId);
}

void SectorEditor::PickAt(int line, int column)
{
    const std::optional<std::size_t> byte = HexGridByteAt(line, column, m_buffer.size());
    if (!byte)
        return;
    fields.value = Format(m_nRadix == 0 ? "%02X" : "%02u", static_cast<unsigned>(m_buffer[*byte]));
    fields.offset = Format(m_nRadix == 0 ? "%zX" : "%zu", *byte);
    m_port.ShowFields();
}
