#pragma once

#include "gui/ui/BaseDialog.h"

#include <string>

// The modeless please-wait box. Its owner creates it, changes its text as
// the work goes on and destroys it at the end.
class CWaitBox : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 323;
    explicit CWaitBox(QWidget* parent = nullptr);

    void SetText(const std::string& text);
    void DoDataExchange(CDataExchange& dx) override;

    std::string m_strText = "Initialising Quenzario Please Wait ...";
};
