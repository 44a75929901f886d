#pragma once

#include "gui/ui/Dialog.h"

// Asks how many bytes to save, 1 to 2048 (2048 at the start). OK with a valid
// size ends with IDOK and the size in m_dwSize; an invalid entry shows the
// range message and keeps the dialog open; closing it ends with IDCANCEL.
class CFileSizeRequest : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 210;
    static constexpr int IDC_SIZE = 1325;
    static constexpr unsigned kMaxSize = 2048;
    explicit CFileSizeRequest(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;

    unsigned m_dwSize = kMaxSize;
};
