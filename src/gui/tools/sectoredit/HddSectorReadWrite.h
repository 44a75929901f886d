#pragma once

#include "core/tools/sectoredit/SectorEditor.h"
#include "gui/ui/BaseDialog.h"

class CMyEdit;
class QComboBox;

// "Read / Write / Load / Save Hard Disk Sectors or Files": the sector editor.
// Reads a run of 512-byte sectors of a disk or a ".bin" file into a buffer,
// shows it as a hex grid (a double click picks a byte), changes single bytes
// (Get and Set) and writes the buffer back or saves it. Its logic is its
// SectorEditor, to which it is the port.
class CHddSectorReadWrite : public CBaseDialog, private SectorEditorPort {
    Q_OBJECT

public:
    static constexpr int IDD = 345;
    static constexpr int kWidth = 720;
    static constexpr int kHeight = 650;

    explicit CHddSectorReadWrite(DiskToolHost host, QWidget* parent = nullptr);
    ~CHddSectorReadWrite() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnClose() override;
    void OnCancel() override { OnClose(); }
    void OnOK() override {}

    SectorEditor& Editor() { return m_Editor; }
    CMyEdit& HexGrid() const { return *m_edHexGrid; }
    // The byte of the grid's text position (a double click's place).
    void PickAtTextPosition(int position);

private:
    // SectorEditorPort.
    void ShowFields() override;
    void ShowGrid(const std::string& text) override;
    std::optional<std::string> ChooseFileToLoad() override;
    std::optional<std::string> ChooseFileToSave() override;
    bool AskOriginalSize() override;
    void PutCaretAtEnd(int controlId) override;

    void OnSelchangeDrive();
    void OnHelp();
    void LayoutControls();

    CMyEdit* m_edHexGrid;
    QComboBox* m_cbDrives;
    bool m_bShowingFields = false;
    SectorEditor m_Editor;
};
