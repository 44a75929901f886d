#include "gui/info/booktype/BookTypeNEC.h"

#include "core/info/booktype/BookTypeControls.h"
#include "core/info/booktype/NecBookTypeControl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace booktype_ids::nec;

CBookTypeNEC::CBookTypeNEC(BookTypeSession& session, QWidget* parent) :
    CBookTypeDialog(IDD, "NEC DVD Book Type Setting", std::make_unique<NecBookTypeControl>(session), parent)
{
    auto* texts = new QGridLayout;
    AddText(texts, 0, "+RDL Default", IDC_DL_DEFAULT);
    AddText(texts, 1, "+RDL Temporary", IDC_DL_TEMPORARY);
    AddText(texts, 2, "+R Default", IDC_R_DEFAULT);
    AddText(texts, 3, "+R Temporary", IDC_R_TEMPORARY);
    AddText(texts, 4, "+RW Default", IDC_RW_DEFAULT);
    AddText(texts, 5, "+RW Temporary", IDC_RW_TEMPORARY);
    AddText(texts, 6, "Changes Remaining", IDC_CHANGES_LEFT);

    const auto kindColumn = [this](QGroupBox* group, int temporaryId, const char* temporaryCaption,
                                   const char* temporaryTip, NecBookTypeControl::Kind kind, int defaultId,
                                   const char* defaultCaption, const char* defaultTip) {
        auto* column = new QVBoxLayout;
        column->addWidget(group);
        column->addWidget(AddXPButton(
            temporaryId, temporaryCaption, [this, kind] { Logic().OnSetTemporary(kind); }, temporaryTip));
        column->addWidget(AddXPButton(
            defaultId, defaultCaption, [this, kind] { Logic().OnSetDefault(kind); }, defaultTip));
        column->addStretch();
        return column;
    };
    auto* kinds = new QHBoxLayout;
    kinds->addLayout(kindColumn(AddRadioGroup("DVD+R DL", {{kDlRadios[0], "DVD+R DL"}, {kDlRadios[1], "DVD-ROM"}}),
                                IDC_SET_TEMP_DL, "Set Temp DL", "Set Drive Temporary book for Dual(Double) Layer Media",
                                NecBookTypeControl::kDualLayer, IDC_SET_DEFAULT_DL, "Set Default DL",
                                "Set Drive Default book for Dual (Double) Layer Media"));
    kinds->addLayout(
        kindColumn(AddRadioGroup("DVD+R", {{kRRadios[0], "DVD+R"}, {kRRadios[1], "DVD-R"}, {kRRadios[2], "DVD-ROM"}}),
                   IDC_SET_TEMP_R, "Set Temp R", "Set Drive Temporary book for R Media", NecBookTypeControl::kPlusR,
                   IDC_SET_DEFAULT_R, "Set Default R", "Set Drive Default book for R Media"));
    kinds->addLayout(kindColumn(
        AddRadioGroup("DVD+RW", {{kRwRadios[0], "DVD+RW"}, {kRwRadios[1], "DVD-RW"}, {kRwRadios[2], "DVD-ROM"}}),
        IDC_SET_TEMP_RW, "Set Temp RW", "Set Drive Temporary book for RW Media", NecBookTypeControl::kPlusRw,
        IDC_SET_DEFAULT_RW, "Set Default RW", "Set Drive Default book for RW Media"));

    auto* version = new QLabel(this);
    BindControl(IDC_VERSION, version);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(
        AddRadioGroup("", {{kUseRadios[0], "Use Temp Settings"}, {kUseRadios[1], "Use Flash Settings"}}, true));
    AddCloseAndHelp(bottom, IDC_HELP, true, "Cancels the window", "Opens help document");
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(texts);
    layout->addLayout(kinds);
    layout->addWidget(version);
    layout->addWidget(new QLabel("For complete bitsetting capability Command Version 4 is required.", this));
    layout->addLayout(bottom);
}

NecBookTypeControl& CBookTypeNEC::Logic()
{
    return static_cast<NecBookTypeControl&>(Control());
}

void CBookTypeNEC::OnCancel()
{
    UpdateData(true);
    Logic().OnClosing();
    CBookTypeDialog::OnCancel();
}
