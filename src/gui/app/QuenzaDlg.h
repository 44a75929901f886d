#pragma once

#include "core/app/MainDialogCore.h"
#include "gui/ui/Dialog.h"

#include <string>

// The main window.
class CQuenzaDlg : public CDialog {
    Q_OBJECT

public:
    explicit CQuenzaDlg(QWidget* parent = nullptr);
    // Drives from the given sources instead of the machine and the environment (tests).
    explicit CQuenzaDlg(DriveSources sources, QWidget* parent = nullptr);
    ~CQuenzaDlg() override;

    bool OnInitDialog() override;
    void OnClose() override;
    void OnExitProgram();

    int m_bPiPoActive = 0;
    std::string m_strCmdLine1;
    std::string m_strCmdLine2;
    MainDialogCore m_Core;
};
