#pragma once

#include "core/tools/settings/SettingsValues.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/ThemeHelperST.h"

#include <cstdint>
#include <map>
#include <string>

class CXPStyleButtonST;
class QMouseEvent;

// The options dialog: start-up and window behaviour, logging, update
// notices, the tray icon, the displays' colour scheme, the report, graph and
// LED colours, the skins and the translucency; it repairs the file
// association and opens its help page. The values are read when it opens and
// written only by OK (IDOK); Cancel and Escape end it with IDCANCEL and
// write nothing. The owner re-reads what it needs after IDOK.
class CSettings : public CDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 133;
    explicit CSettings(QWidget* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    const SettingsValues& Values() const { return m_values; }
    bool Changed() const { return m_bChanged != 0; }

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    CXPStyleButtonST* AddButton(int id, const char* caption, const char* tooltip);
    void ReadControls();
    void ShowValues();
    void ShowColours();
    void OnCheck(int id);
    void OnColourButton(int id);
    void OnLoadSkin(std::string& path, const char* title);
    void OnTranslucency(int position);
    void OnRepairAssociations();
    void OnSettingsHelp();

    CThemeHelperST m_ThemeHelper;
    std::map<int, CXPStyleButtonST*> m_buttons;
    std::map<int, std::string> m_tooltips;
    SettingsValues m_values;
    COLORREF m_crButtonFace;
    std::uint8_t m_bChanged = 0;
};
