#pragma once

#include "core/pipo/ScanLbaRange.h"
#include "gui/ui/Dialog.h"

#include <cstdint>
#include <string>

class QSlider;

// "Set Logical Block Addresss": the custom scan range, by sliders, by LBA in
// hexadecimal or decimal, or in megabytes. The result texts ("%X") stay
// empty unless "&Accept" takes a valid range.
class CSetLogicalBlockAddress : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 347;
    static constexpr int IDC_START_LBA = 1610;
    static constexpr int IDC_END_LBA = 1609;
    static constexpr int IDC_START_MB = 1651;
    static constexpr int IDC_END_MB = 1652;
    static constexpr int IDC_START_SLIDER = 1655;
    static constexpr int IDC_END_SLIDER = 1659;
    static constexpr int IDC_HEXADECIMAL = 1634;
    static constexpr int IDC_DECIMAL = 1635;
    static constexpr int IDC_DEFAULT = 1647;

    explicit CSetLogicalBlockAddress(QWidget* parent = nullptr);

    void SetLowestLba(std::int32_t lba) { m_nLowest = lba; }
    void SetHighestLba(std::int32_t lba) { m_nHighest = lba; }
    const std::string& GetStartText() const { return m_strResultStart; }
    const std::string& GetEndText() const { return m_strResultEnd; }
    const ScanLbaRange& Range() const { return m_Range; }

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override { EndDialog(IDCANCEL); }

private:
    void CreateControls();
    // The model's values into the controls; their change notices are not
    // taken back meanwhile.
    void ShowRange();
    void Tell(const std::optional<std::string>& message);
    void OnEdit(int id);
    void OnSlider(bool start);

    std::int32_t m_nLowest = 0;
    std::int32_t m_nHighest = 0;
    ScanLbaRange m_Range{0, 0};
    std::string m_strResultStart;
    std::string m_strResultEnd;
    QSlider* m_pStartSlider = nullptr;
    QSlider* m_pEndSlider = nullptr;
    bool m_bShowing = false;
};
