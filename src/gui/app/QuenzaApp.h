#pragma once

#include <memory>

class CQuenzaDlg;

// The application: runs the main window modally and ends with it.
class CQuenzaApp {
public:
    // The whole run. Returns the process exit code: 0 after a normal run,
    // non-zero when start-up was refused.
    int InitInstance(int argc, const char* const* argv);

    CQuenzaDlg* MainDialog() const { return m_pMainDlg; }

private:
    CQuenzaDlg* m_pMainDlg = nullptr;
};
