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

void DcEraseControl::OnFullErase()
{
    if (m_worker.Running())
        return;
    m_nMediaType = m_drive.media.GetMediaType();
    if (!m_prompt
        || m_prompt->MessageBox("Full DC Erase can take a considerable time\n\nDo you wish to continue?", "Continue?",
                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            != IDYES)
        return;
    if (IsDvd(m_nMediaType)) {
        std::string why;
        const std::optional<std::int64_t> end = m_erase.FullEraseEnd(&why);
        if (!end) {  // no range is made up from a failed read
            m_sink.SetStatus("DC Erase failed - " + why);
            return;
        }
        StartEraseThread(kDcDvdStart, *end, false);
    } else if (IsCd(m_nMediaType)) {
        StartEraseThread(kDcCdFull, kDcCdFull, false);
    }
}

void DcEraseControl::OnQuickErase()
{
    if (m_worker.Running())
        return;
    m_nMediaType = m_drive.media.GetMediaType();
    if (IsDvd(m_nMediaType))
        StartEraseThread(kDcDvdStart, kDcDvdQuickEnd, true);
    else if (IsCd(m_nMediaType))
        StartEraseThread(kDcCdQuick, kDcCdQuick, true);
    else
        Tell(m_prompt, "Wrong media type for drive");
}

bool DcEraseControl::StartEraseThread(std::int64_t rangeStart, std::int64_t rangeEnd, bool quick)
{
    std::optional<ChannelClaim> claim = m_worker.Claim();
    if (!claim || RefusedInUse(m_drive, m_probe, m_prompt, m_sink))
        return false;
    m_sink.SetProgress(0);
    std::optional<DcErasePlan> plan = m_erase.Prepare(m_nMediaType, rangeStart, rangeEnd, quick, m_prompt);
    if (!plan)
        return false;
    if (!ConfirmedBeforeErase(plan->confirmation, m_probe, m_prompt, m_sink))
        return false;
    m_worker.Start(std::move(*claim),
                   [this, plan = *plan](const std::function<bool()>& stop) { return m_erase.DoErase(plan, stop); });
    return true;
}

}  // namespace erasing
