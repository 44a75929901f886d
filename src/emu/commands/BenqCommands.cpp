#include "emu/MediumGeometry.h"
#include "emu/commands/BookTypes.h"
#include "scsi/Profiles.h"
#include "emu/commands/Commands.h"
#include "emu/commands/Measurement.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"
#include "scsi/VendorSignatures.h"

#include <algorithm>
#include <cmath>

namespace emu {

namespace {

enum ServiceCommand : std::uint8_t {
    kVendorModeOn = 0x11,  // the older models' vendor mode; also the first step of Solid Burn
    kVendorModeOff = 0x12,
    kSolidBurnRead = 0x1B,
    kServiceModeOn = 0xF1,
    kServiceModeOff = 0xF2,
};
enum BookSelector : std::uint8_t { kCurrentMedium = 0x02, kPlusRwDefault = 0x04, kPlusRDefault = 0x05 };

// FDh: service mode, the older vendor mode and the Solid Burn state, behind
// the family's signature.
void BenqServiceCommand(CommandContext& command)
{
    if (!CdbHolds(command, 2, vendor_signature::kBenq)) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BenqSettings& benq = command.drive.vendorSettings.benq;
    switch (command.Byte(1)) {
    case kServiceModeOn:
        if (!benq.serviceModeAllowed)
            break;
        benq.serviceMode = true;
        return;
    case kServiceModeOff: benq.serviceMode = false; return;
    case kVendorModeOn:
        if (!benq.vendorModeAllowed)
            break;
        benq.vendorMode = true;
        return;
    case kVendorModeOff: benq.vendorMode = false; return;
    case kSolidBurnRead:
        if (benq.solidBurn && benq.serviceMode) {
            command.Answer({0x01, 0x16, 0x01, 0x04, 0, 0, 0, 0, 0, 0, 0, 0}, 12);
            return;
        }
        break;
    default: break;
    }
    command.Fail(sense::kInvalidFieldInCdb);
}

// The protected commands are hidden outside service mode.
bool InServiceMode(CommandContext& command)
{
    if (command.drive.vendorSettings.benq.serviceMode)
        return true;
    command.Fail(sense::kInvalidOpcode);
    return false;
}

// FFh 00h / 10h: the book type written on DVD+RW / DVD+R, in the high
// nibble of answer byte 0.
void BenqReadBookType(CommandContext& command)
{
    if (!InServiceMode(command))
        return;
    const BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    std::vector<std::uint8_t> answer(8, 0);
    if (command.Byte(1) == 0x00 && command.Byte(11) == 0) {
        answer[0] = static_cast<std::uint8_t>(books.InUse(BookKind::PlusRw) << 4);
    } else if (command.Byte(1) == 0x10 && command.Byte(11) == 0) {
        answer[0] = static_cast<std::uint8_t>(books.InUse(BookKind::PlusR) << 4);
    } else {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    command.Answer(answer, command.Be16(7));
}

// FEh: the book type in byte 2's high nibble becomes that of the drive's
// DVD+RW or DVD+R writes, or of the DVD+RW in the drive.
void BenqSetBookType(CommandContext& command)
{
    if (!InServiceMode(command))
        return;
    const auto book = BookTypeOfByte(command.Byte(2));
    if (!book) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    BookTypeSettings& books = command.drive.vendorSettings.bookTypes;
    switch (command.Byte(1)) {
    case kPlusRwDefault: books.SetDefault(BookKind::PlusRw, *book); return;
    case kPlusRDefault: books.SetDefault(BookKind::PlusR, *book); return;
    case kCurrentMedium:
        if (MediumDescription* disc = DiscOfKind(command, {BookKind::PlusRw}))
            disc->bookType = *book;
        return;
    default: command.Fail(sense::kInvalidFieldInCdb);
    }
}

// The newer models' parameter blocks (F9h), each answered through F8h.
enum ParameterBlock : std::uint16_t {
    kSetSpeed = 0xD20A,
    kStatisticsMode = 0xC899,
    kStartAddress = 0xD491,
    kResetAddress = 0xD418,
    kErrorStatistics = 0xC19A,
};
constexpr std::size_t kSettingAnswer = 2;
constexpr std::size_t kStatisticsAnswer = 258;
constexpr std::uint32_t kDataStartPsn = 0x030000;
constexpr std::uint32_t kSectorsPerSample = 8 * kEccBlockSectors;
constexpr std::uint64_t kEmptyAnswerUs = 2000;  // an answer without new data
constexpr std::uint32_t kMiddleZoneSectors = 0x8000;
enum StatisticsStatus : std::uint8_t { kData = 0x00 };

// What the speed codes of the speed block set: times 1x, CAV; 0 the fastest.
std::optional<double> SpeedOfCode(std::uint8_t code)
{
    switch (code) {
    case 0: return 0.0;
    case 2: return 4.0;
    case 4: return 6.0;
    case 5: return 8.0;
    default: return std::nullopt;
    }
}

bool NewerModelInServiceMode(CommandContext& command)
{
    if (command.drive.vendorSettings.benq.newerModel)
        return InServiceMode(command);
    command.Fail(sense::kInvalidOpcode);
    return false;
}

// Physical sector numbers of a DVD: the first layer from 30000h on, then
// its middle zone; the second layer (opposite track path) from the
// complement of the first layer's last sector on. The LBA a physical sector
// holds, and whether the drive finds anything to measure there.
struct DiscPlace {
    std::uint64_t lba = 0;
    bool readable = false;
};

DiscPlace PlaceOf(const MediumDescription& disc, std::uint32_t psn)
{
    const std::uint64_t layerZero = LayerZeroBlocks(disc);
    if (disc.layers > 1) {
        const std::uint32_t layerOneStart = ~static_cast<std::uint32_t>(kDataStartPsn + layerZero - 1) & 0xFFFFFF;
        if (psn >= layerOneStart) {
            const std::uint64_t lba = layerZero + (psn - layerOneStart);
            return {lba, lba < disc.capacityBlocks};
        }
    }
    if (psn < kDataStartPsn)
        return {0, false};
    const std::uint64_t lba = psn - kDataStartPsn;
    const std::uint64_t end = disc.layers > 1 ? layerZero + kMiddleZoneSectors : disc.capacityBlocks;
    return {lba, lba < end};
}

// The raw jitter word of the statistics for a jitter in tenths of a percent.
std::uint16_t RawJitter(std::uint32_t tenths)
{
    const double percent = tenths / 1000.0;
    return static_cast<std::uint16_t>(std::ceil((percent * percent * 1024 + 2.83) * 16));
}

// The statistics of the next 128 sectors: status 0, "dvd", the read speed in
// tenths of x, the physical sector of the first, five PI words (two ECC
// blocks each, the last two one each), the PIF word, the PO failure word and
// the raw jitter. Without anything to measure, an empty answer.
std::vector<std::uint8_t> MeasureStatistics(CommandContext& command)
{
    DriveState& drive = command.drive;
    BenqSettings& benq = drive.vendorSettings.benq;
    std::vector<std::uint8_t> answer(kStatisticsAnswer, 0);
    const MediumDescription& disc = drive.medium->description;
    const DiscPlace place = PlaceOf(disc, benq.statisticsPsn);
    if (!place.readable) {
        drive.clock->Spend(kEmptyAnswerUs);
        return answer;
    }
    drive.measuring.position = place.lba;
    const std::uint64_t first = place.lba;
    const auto measured = MeasureNext(command, kSectorsPerSample);
    if (!measured)
        return {};
    const std::uint64_t moved = drive.measuring.position - first;
    const std::uint32_t psn = static_cast<std::uint32_t>(benq.statisticsPsn + measured->position - first);
    benq.statisticsPsn += static_cast<std::uint32_t>(moved);
    answer[1] = 'd';
    answer[2] = 'v';
    answer[3] = 'd';
    answer[6] = static_cast<std::uint8_t>(std::min(255.0, drive.ReadPlan().SpeedAt(first) * 10));
    scsi::PutBe24(&answer[7], psn);
    const std::uint32_t parts[] = {0, 32, 64, 96, 112, 128};
    for (int i = 0; i < 5; ++i) {
        const ErrorSum part = MeasureSectors(disc.errors, first + parts[i], parts[i + 1] - parts[i]);
        scsi::PutBe16(&answer[12 + 2 * i], std::min<std::uint32_t>(part.total.pi, 0xFFFF));
    }
    scsi::PutBe16(&answer[22], std::min<std::uint32_t>(measured->errors.total.pif, 0xFFFF));
    scsi::PutBe16(&answer[56], std::min<std::uint32_t>(measured->errors.total.pof, 0xFFFF));
    scsi::PutBe16(&answer[59], RawJitter(measured->errors.total.jitter));
    return answer;
}

// A fault in force answers instead of the measurement: its status, or an
// empty answer, until its answers or its time are used up.
std::optional<std::vector<std::uint8_t>> FaultAnswer(DriveState& drive)
{
    BenqSettings& benq = drive.vendorSettings.benq;
    if (!benq.activeFault && drive.medium) {
        const DiscPlace place = PlaceOf(drive.medium->description, benq.statisticsPsn);
        const auto due = std::find_if(benq.faults.begin(), benq.faults.end(), [&](const BenqStatisticsFault& fault) {
            return place.readable && place.lba + kSectorsPerSample > fault.lba && place.lba <= fault.lba;
        });
        if (due != benq.faults.end()) {
            benq.activeFault = *due;
            benq.faultSinceMs = drive.clock->NowMs();
            benq.faults.erase(due);
        }
    }
    if (!benq.activeFault)
        return std::nullopt;
    BenqStatisticsFault& fault = *benq.activeFault;
    if (fault.stallMs ? drive.clock->NowMs() >= benq.faultSinceMs + fault.stallMs : fault.answers == 0) {
        benq.activeFault.reset();
        return std::nullopt;
    }
    if (fault.answers > 0)
        --fault.answers;
    std::vector<std::uint8_t> answer(kStatisticsAnswer, 0);
    answer[0] = fault.status;
    drive.clock->Spend(kEmptyAnswerUs);
    return answer;
}

// Arming the statistics again ends a fault that waits for it.
void Rearm(BenqSettings& benq)
{
    if (benq.activeFault && benq.activeFault->answers < 0 && benq.activeFault->stallMs == 0)
        benq.activeFault.reset();
}

// F9h: a parameter block; byte 8 its length. The drive takes it at once and
// keeps its answer for F8h.
void BenqSendF9(CommandContext& command)
{
    if (!NewerModelInServiceMode(command))
        return;
    if (!command.TransferIs(command.Byte(8)))
        return;
    std::size_t length = 0;
    const std::uint8_t* block = command.DataOut(length);
    if (!block || length < 4) {
        command.Fail(sense::kParameterListLengthError);
        return;
    }
    DriveState& drive = command.drive;
    BenqSettings& benq = drive.vendorSettings.benq;
    std::vector<std::uint8_t> answer(kSettingAnswer, 0);
    switch (scsi::GetBe16(block)) {
    case kSetSpeed: {
        const auto speed = SpeedOfCode(block[2]);
        if (!speed) {
            command.Fail(sense::kInvalidFieldInParameterList);
            return;
        }
        benq.speedCode = block[2];
        drive.readSpeedKBps = static_cast<std::uint16_t>(*speed * 1385);
        drive.rotationControl = *speed > 0 ? 1 : 0;
        break;
    }
    case kStatisticsMode:
        if (length < 10) {
            command.Fail(sense::kParameterListLengthError);
            return;
        }
        benq.statisticsMode = block[2];
        Rearm(benq);
        break;
    case kStartAddress:
    case kResetAddress:
        if (length < 6) {
            command.Fail(sense::kParameterListLengthError);
            return;
        }
        if (block[1] == 0x91)
            benq.statisticsPsn = scsi::GetBe24(&block[2]) & ~(kEccBlockSectors - 1);
        Rearm(benq);
        break;
    case kErrorStatistics:
        if (!HasReadyMedium(command))
            return;
        if (benq.statisticsMode == 0) {
            answer.assign(kStatisticsAnswer, 0);
            answer[0] = 0x22;  // not initialised
        } else if (auto fault = FaultAnswer(drive)) {
            answer = std::move(*fault);
        } else {
            answer = MeasureStatistics(command);
            if (command.Failed())
                return;
        }
        break;
    default: command.Fail(sense::kInvalidFieldInParameterList); return;
    }
    benq.pendingAnswer = std::move(answer);
}

// F8h: the answer to the last parameter block, as long as bytes 7-8 ask.
void BenqReadF8(CommandContext& command)
{
    if (!NewerModelInServiceMode(command))
        return;
    BenqSettings& benq = command.drive.vendorSettings.benq;
    if (benq.pendingAnswer.empty()) {
        command.Fail(sense::kCommandSequenceError);
        return;
    }
    command.Answer(benq.pendingAnswer, command.Be16(7));
    benq.pendingAnswer.clear();
}

// F0h: the older models' reads of the range from bytes 2-5 up to the one in
// bytes 6-9, in their vendor mode: with 04h in byte 11 PI (doubled) in
// answer bytes 0-3 and PIF in 4-7; with 00h the mean jitter in byte 2.
void BenqReadF0(CommandContext& command)
{
    DriveState& drive = command.drive;
    const BenqSettings& benq = drive.vendorSettings.benq;
    if (benq.newerModel || !benq.vendorMode) {
        command.Fail(sense::kInvalidOpcode);
        return;
    }
    const std::uint32_t first = command.Be32(2);
    const std::uint32_t end = command.Be32(6);
    const std::uint8_t kind = command.Byte(11);
    if (command.Byte(10) != 0x03 || (kind != 0x00 && kind != 0x04) || end <= first) {
        command.Fail(sense::kInvalidFieldInCdb);
        return;
    }
    if (!HasReadyMedium(command))
        return;
    if (end > drive.medium->description.capacityBlocks + kEccBlockSectors * 16) {
        command.Fail(sense::kLbaOutOfRange);
        return;
    }
    drive.measuring.position = first;
    const auto measured = MeasureNext(command, end - first);
    if (!measured)
        return;
    std::vector<std::uint8_t> answer(8, 0);
    if (kind == 0x04) {
        scsi::PutBe32(&answer[0], measured->errors.total.pi * 2);
        scsi::PutBe32(&answer[4], measured->errors.total.pif);
    } else {
        answer[2] = static_cast<std::uint8_t>(std::min<std::uint32_t>(measured->errors.total.jitter, 255));
    }
    command.Answer(answer, 8);
}

}  // namespace

void RegisterBenqCommands(CommandTable& table)
{
    table.Register(
        {.opcode = vendor_opcode::kBenqReadF0, .name = "BENQ READ F0", .cdbLength = 12, .handler = BenqReadF0});
    table.Register(
        {.opcode = vendor_opcode::kBenqReadF8, .name = "BENQ READ F8", .cdbLength = 12, .handler = BenqReadF8});
    table.Register(
        {.opcode = vendor_opcode::kBenqSendF9, .name = "BENQ SEND F9", .cdbLength = 12, .handler = BenqSendF9});
    table.Register({.opcode = vendor_opcode::kBenqService,
                    .name = "BENQ SERVICE FD",
                    .cdbLength = 12,
                    .handler = BenqServiceCommand});
    table.Register({.opcode = vendor_opcode::kBenqSetBookType,
                    .name = "BENQ SET BOOK TYPE FE",
                    .cdbLength = 12,
                    .handler = BenqSetBookType});
    table.Register({.opcode = vendor_opcode::kBenqReadBookType,
                    .name = "BENQ READ BOOK TYPE FF",
                    .cdbLength = 12,
                    .handler = BenqReadBookType});
}

}  // namespace emu
