#include "core/tools/erase/EraseControl.h"

#include "core/base/LogFile.h"
#include "core/tools/erase/EraseDialogIds.h"
#include "core/tools/erase/EraseMedia.h"

namespace erasing {

bool EraseDialogState::Enabled(int id) const
{
    const auto found = enabled.find(id);
    return found == enabled.end() || found->second;
}

EraseControl::EraseControl(DriveContext& drive, EraseSink& sink, UserPrompt* prompt, DeviceUseProbe probe) :
    m_drive(drive),
    m_sink(sink),
    m_prompt(prompt),
    m_probe(std::move(probe)),
    m_format(drive, sink),
    m_worker(drive, sink)
{
}

void EraseControl::Enable(std::initializer_list<int> ids, bool enable)
{
    for (int id : ids)
        m_state.enabled[id] = enable;
}

void EraseControl::InitDialog()
{
    EraseChecks& checks = m_state.checks;
    switch (m_nMediaKind) {
    case kKindDvdPlusRw:
        m_state.caption = "Format DVD+RW media in current drive.";
        Enable({IDC_ERASE_OPTION, IDC_QUICK, IDC_RESTART}, false);
        Enable({IDC_COMPATIBLE_CLOSE}, true);
        checks.fastFormat = 1;
        checks.fullFormat = checks.restart = 0;
        checks.erase = 0;  // kept exclusive with Fast Format
        break;
    case kKindDvdMinusRw:
        m_state.caption = "Format/Erase DVD-RW media in current drive.";
        Enable({IDC_RESTART, IDC_COMPATIBLE_CLOSE}, false);
        break;
    case kKindCdRw:
        m_state.caption = "Format/Erase CD-RW media in current drive.";
        m_nMediaKind = kKindDvdMinusRw;
        Enable({IDC_RESTART, IDC_COMPATIBLE_CLOSE, IDC_FAST_FORMAT, IDC_FULL_FORMAT}, false);
        break;
    case kKindBdRe:
        m_state.title = m_state.caption = "Blu-Ray Erase";
        Enable({IDC_RESTART, IDC_COMPATIBLE_CLOSE, IDC_FAST_FORMAT, IDC_FULL_FORMAT, IDC_QUICK}, false);
        Enable({IDC_ERASE_OPTION}, true);
        break;
    default:
        m_state.caption = "Erase DVD-RAM media in current drive.";
        Enable({IDC_ERASE_OPTION}, true);
        Enable({IDC_QUICK, IDC_RESTART, IDC_COMPATIBLE_CLOSE, IDC_FAST_FORMAT, IDC_FULL_FORMAT}, false);
        break;
    }
}

void EraseControl::OnFullFormat()
{
    EraseChecks& checks = m_state.checks;
    checks.fullFormat = 1;
    checks.erase = checks.fastFormat = 0;
    Enable({IDC_COMPATIBLE_CLOSE, IDC_QUICK}, false);
    if (m_nMediaKind == kKindDvdPlusRw)
        Enable({IDC_RESTART}, true);
}

void EraseControl::OnEraseOption()
{
    EraseChecks& checks = m_state.checks;
    checks.erase = checks.quick = 1;
    checks.fullFormat = checks.fastFormat = checks.restart = 0;
    Enable({IDC_QUICK}, true);
    Enable({IDC_COMPATIBLE_CLOSE, IDC_RESTART}, false);
}

void EraseControl::OnFastFormat()
{
    EraseChecks& checks = m_state.checks;
    checks.fastFormat = 1;
    checks.fullFormat = checks.erase = checks.restart = 0;
    Enable({IDC_QUICK}, false);
    if (m_nMediaKind == kKindDvdPlusRw) {
        Enable({IDC_COMPATIBLE_CLOSE}, true);
        Enable({IDC_RESTART}, false);
    }
}

void EraseControl::OnRestart()
{
    EraseChecks& checks = m_state.checks;
    checks.fullFormat = 1;
    checks.erase = checks.fastFormat = 0;
}

bool EraseControl::Go()
{
    return m_worker.StartChecked(
        m_probe, m_prompt,
        [this, operation = OperationFor(m_nMediaKind, m_state.checks),
         checks = m_state.checks]() -> std::optional<ErasePlan> {
            if (RefusedInUse(m_drive, m_probe, m_prompt, m_sink))
                return std::nullopt;
            return m_format.Prepare(operation, m_nDiscKind, checks, m_prompt, clearReport);
        },
        [this](const ErasePlan& plan, const std::function<bool()>& stop) { return m_format.Run(plan, stop); });
}

}  // namespace erasing
