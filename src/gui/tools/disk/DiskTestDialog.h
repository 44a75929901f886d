#pragma once

#include "core/tools/disk/DiskAccess.h"
#include "core/tools/disk/DiskDriveFields.h"
#include "core/tools/disk/DiskTestSink.h"
#include "gui/tools/disk/QtDiskTestSink.h"
#include "gui/ui/BaseDialog.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CHddGraphStatic;
class CTextProgressCtrl;
class QComboBox;

// What the hard-disk error test and the flash memory test windows share: the
// cell map, the drive combo and fields, the progress, the test's fields and
// the Start and Stop buttons, in one fixed-size window. A test's worker
// reaches the window through sink(), which takes every call over to the
// window's thread.
class CDiskTestDialog : public CBaseDialog, private DiskTestSink {
    Q_OBJECT

public:
    static constexpr int kWidth = 753;
    static constexpr int kHeight = 540;

    CHddGraphStatic& CellMap() const { return *m_CellMap; }
    CTextProgressCtrl& Progress() const { return *m_Progress; }
    QComboBox& DriveCombo() const { return *m_cbDrives; }

    void OnClose() override;
    void OnCancel() override { OnClose(); }
    void OnOK() override {}

protected:
    CDiskTestDialog(int templateId, const char* title, QWidget* parent);
    ~CDiskTestDialog() override;

    // The sink the test's worker is given.
    DiskTestSink& sink() { return m_sink; }
    // The map's colours from the profile, its size, the combo filled with
    // items (the first one chosen), the font.
    void InitCommon(const std::vector<std::string>& comboItems);
    void ShowDriveFields(const DiskDriveFields& fields);
    // While a chosen drive is probed: Start off and the progress says the
    // drive is being read; afterwards Start back and the progress's text as it was.
    void ShowProbing(bool probing);
    // A choice made: the combo on the item shown, ShowProbing while probed.
    void ShowChoice(int shownIndex, bool probing);
    // Places the controls both windows have; x of the drive combo.
    void LayoutCommon(int comboX);
    // Stops the worker and waits for its end.
    virtual void StopAndJoin() = 0;
    virtual void OnSelchangeDrive() = 0;
    virtual void OnStartTest() = 0;
    virtual void OnStopTest() = 0;
    // The idle window's choices back after a test (the slider, the test type).
    virtual void EnableChoices(bool enable) = 0;

private:
    // DiskTestSink, on the window's thread.
    void SetFieldText(int controlId, const std::string& text) override;
    void SetProgress(int position, const std::string& text) override;
    void EnableControl(int controlId, bool enabled) override;
    void ShowMessage(const std::string& text, const std::string& caption, unsigned type) override;
    void OnTestEnded() override;
    void CallOnWindow(std::function<void()> call) override { call(); }

    void SetGraphColours();

    CHddGraphStatic* m_CellMap;
    CTextProgressCtrl* m_Progress;
    QComboBox* m_cbDrives;
    QtDiskTestSink m_sink;
    std::optional<std::string> m_textBeforeProbe;  // the progress text a probe covers
};
