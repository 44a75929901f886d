#pragma once

#include "core/info/booktype/BookTypeControl.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <QString>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <utility>
#include <vector>

class CXPStyleButtonST;
class QBoxLayout;
class QGridLayout;
class QGroupBox;
class QLineEdit;
class QPushButton;

// What the eight book-type dialogs share: they show what their control
// (core/info/booktype) holds, run its commands from their buttons and end
// when it says so. Texts are read-only edits, radio groups group boxes;
// the owner-drawn buttons share the dialog's theme helper.
class CBookTypeDialog : public CDialog {
    Q_OBJECT

public:
    CBookTypeDialog(int templateId, const char* caption, std::unique_ptr<BookTypeControl> control,
                    QWidget* parent = nullptr);
    ~CBookTypeDialog() override;

    BookTypeControl& Control() { return *m_pControl; }

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    // Runs a command of the control with the choices the dialog shows, then
    // shows what it left.
    void Run(const std::function<void()>& command);

protected:
    // Puts what the control holds into the controls; ends the dialog when
    // the control says so.
    void ShowControl();
    void OnHelp();
    // Media came or went: the refresh of the dialogs that follow the disc.
    LRESULT RefreshOnMediaChange(UINT message, WPARAM wParam, LPARAM lParam);

    // Building blocks of the layouts.
    QLineEdit* AddText(QGridLayout* grid, int row, const QString& label, int id);
    QGroupBox* AddRadioGroup(const QString& title, std::initializer_list<std::pair<int, QString>> buttons,
                             bool horizontal = false);
    QPushButton* AddButton(int id, const QString& caption, std::function<void()> command);
    CXPStyleButtonST* AddXPButton(int id, const QString& caption, std::function<void()> command, const char* tooltip);
    // The "DVD+RW", "DVD+R", "DVD-RW", "DVD-R", "DVD-ROM" group of the BenQ,
    // Ricoh-type and AOpen dialogs.
    QGroupBox* AddPlusBookGroup();
    // A Close button (IDCANCEL) and the Help button of the id.
    void AddCloseAndHelp(QBoxLayout* row, int helpId, bool closeOwnerDrawn, const char* closeTooltip,
                         const char* helpTooltip, const QString& closeCaption = "Close");

private:
    std::unique_ptr<BookTypeControl> m_pControl;
    std::map<int, std::vector<int>> m_groups;  // radio groups by their first id
    std::vector<std::pair<CXPStyleButtonST*, const char*>> m_ownerDrawn;
    CThemeHelperST m_ThemeHelper;
};
