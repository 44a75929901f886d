#include "core/pipo/ScanSlots.h"

#include "platform/text/Trim.h"

namespace {

constexpr const char* kUnknown = "N/A";

}  // namespace

std::string RestoredDriveText(int slot, const ScanSlotRecord& record, const ScanSlotRecord& slot1)
{
    if (slot == 2 && TrimText(record.driveDisplay).empty())
        return slot1.driveDisplay;
    return record.driveDisplay;
}

void RestoreMediaTexts(const ScanMediaTexts& stored, ScanMediaTexts& shown)
{
    for (auto field : {&ScanMediaTexts::mediaName, &ScanMediaTexts::midCode, &ScanMediaTexts::bookType})
        if (stored.*field != kUnknown)
            shown.*field = stored.*field;
}

ScanFile ScanFileFromWindow(const ScanWindowFileState& state)
{
    ScanFile file;
    file.ranges = state.ranges;
    file.displays = DisplayValuesFromTexts(state.displays);
    file.show = state.show;
    file.status = state.status;
    file.midCode = state.media.midCode;
    file.mediaType = state.media.mediaName;
    file.bookType = state.media.bookType;
    file.driveDisplay = state.driveDisplay;
    return file;
}

ScanWindowFileState WindowStateFromFile(const ScanFile& file)
{
    ScanWindowFileState state;
    state.ranges = file.ranges;
    state.displays = DisplayTextsFromValues(file.displays);
    state.show = file.show;
    state.status = file.status;
    state.driveDisplay = file.driveDisplay;
    state.media.midCode = file.midCode;
    state.media.mediaName = file.mediaType;
    state.media.bookType = file.bookType;
    return state;
}
