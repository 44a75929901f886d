#include "core/tools/erase/DcEraseControl.h"

#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/drive/MediaType.h"
#include "core/tools/erase/EraseMedia.h"

namespace erasing {

namespace {

constexpr int kNoAnswer = -1;

void Tell(UserPrompt* prompt, const std::string& text, const std::string& caption = std::string(),
          unsigned type = MB_OK)
{
    if (prompt)
        prompt->MessageBox(text, caption, type);
}

bool IsDvd(int mediaType)
{
    return mediaType == kMediaDvdMinusRw || mediaType == kMediaDvdPlusRw;
}

bool IsCd(int mediaType)
{
    return mediaType == kMediaCd || mediaType == kMediaCdRw;
}

}  // namespace

DcEraseControl::DcEraseControl(DriveContext& drive, EraseSink& sink, UserPrompt* prompt, DeviceUseProbe probe) :
    m_drive(drive),
    m_sink(sink),
    m_prompt(prompt),
    m_probe(std::move(probe)),
    m_erase(drive, sink),
    m_worker(drive, sink)
{
}

bool DcEraseControl::InitDialog()
{
    m_nMediaType = m_drive.media.GetMediaType();
    const CDevice* device = m_drive.list.m_pCurrentDevice;
    const bool nuQsi = m_drive.nuQsi.QueryNuQsiStatus().value != kNoAnswer;
    if (!nuQsi || !device || device->IdentityBeginsWith("PIONEER DVD-RW")) {
        Tell(m_prompt, "This function is only supported by Nu/QSI manufactured burners");
        return false;
    }
    if (m_drive.mmc.TestMediaPresent() == 0) {
        Tell(m_prompt, "No media present in the drive");
        return false;
    }
    return true;
}

bool DcEraseControl::OnFullErase()
{
    return StartErase(false);
}

bool DcEraseControl::OnQuickErase()
{
    return StartErase(true);
}

std::optional<DcEraseControl::Range> DcEraseControl::FullRange(int mediaType)
{
    if (!m_prompt
        || m_prompt->MessageBox("Full DC Erase can take a considerable time\n\nDo you wish to continue?", "Continue?",
                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES)
        return std::nullopt;
    if (IsDvd(mediaType)) {
        std::string why;
        const std::optional<std::int64_t> end = m_erase.FullEraseEnd(&why);
        if (!end) {  // no range is made up from a failed read
            m_sink.SetStatus("DC Erase failed - " + why);
            return std::nullopt;
        }
        return Range{kDcDvdStart, *end};
    }
    if (IsCd(mediaType))
        return Range{kDcCdFull, kDcCdFull};
    return std::nullopt;
}

std::optional<DcEraseControl::Range> DcEraseControl::QuickRange(int mediaType)
{
    if (IsDvd(mediaType))
        return Range{kDcDvdStart, kDcDvdQuickEnd};
    if (IsCd(mediaType))
        return Range{kDcCdQuick, kDcCdQuick};
    Tell(m_prompt, "Wrong media type for drive");
    return std::nullopt;
}

std::optional<DcErasePlan> DcEraseControl::Checks(bool quick)
{
    const int mediaType = m_drive.media.GetMediaType();
    const std::optional<Range> range = quick ? QuickRange(mediaType) : FullRange(mediaType);
    if (!range || RefusedInUse(m_drive, m_probe, m_prompt, m_sink))
        return std::nullopt;
    return m_erase.Prepare(mediaType, range->start, range->end, quick, m_prompt);
}

bool DcEraseControl::StartErase(bool quick)
{
    return m_worker.StartChecked(
        m_probe, m_prompt, [this, quick] { return Checks(quick); },
        [this](const DcErasePlan& plan, const std::function<bool()>& stop) { return m_erase.DoErase(plan, stop); });
}

}  // namespace erasing
