#include "gui/tools/disk/DiskFieldControls.h"

#include "core/tools/disk/DiskDriveFields.h"
#include "core/tools/disk/DiskToolIds.h"
#include "gui/ui/Dialog.h"

#include <QLabel>
#include <QLineEdit>

using namespace disktool;

namespace {

// clang-format off
constexpr DiskFieldRow kFieldRows[] = {
    {1209, IDC_DRIVELETTER, "Drive Letter"},
    {1210, IDC_DRIVEBRAND, "Drive Brand"},
    {1211, IDC_DRIVEMODEL, "Drive Model"},
    {1212, IDC_DRIVETYPE, "Drive Type"},
    {1544, IDC_INTERFACE, "Interface"},
    {1545, IDC_FIRMWARE, "Drive Firmware"},
    {1215, IDC_MAXSIZE, "Drive Max Size"},
    {1222, IDC_FORMATSIZE, "Drive Format Size"},
    {1223, IDC_FREESPACE, "Drive Free Space"},
    {1224, IDC_USEDSPACE, "Drive Used Space"},
    {1225, IDC_TESTINGSECTOR, "Testing Sector"},
    {1226, IDC_SECTORSREMAINING, "Sectors Remaining"},
    {1227, IDC_AMOUNTTESTED, "Amount Tested"},
    {1546, IDC_AMOUNTREMAINING, "Amount Remaining"},
    {1547, IDC_TOTALERRORS, "Total Errors"},
    {1548, IDC_AVERAGESPEED, "Average Speed"},
    {1549, IDC_SIZEPERPLOT, "Size per Plot"},
};
// clang-format on

}  // namespace

std::span<const DiskFieldRow> DiskFieldRows()
{
    return kFieldRows;
}

void AddFieldControls(CDialog& dialog, std::span<const DiskFieldRow> rows)
{
    for (const DiskFieldRow& row : rows) {
        dialog.BindControl(row.labelId, new QLabel(row.caption, &dialog));
        auto* value = new QLineEdit(&dialog);
        value->setReadOnly(true);
        dialog.BindControl(row.valueId, value);
    }
}

void ShowDiskDriveFields(CDialog& dialog, const DiskDriveFields& fields)
{
    dialog.SetDlgItemText(IDC_DRIVELETTER, fields.letter);
    dialog.SetDlgItemText(IDC_DRIVEBRAND, fields.brand);
    dialog.SetDlgItemText(IDC_DRIVEMODEL, fields.model);
    dialog.SetDlgItemText(IDC_FIRMWARE, fields.firmware);
    dialog.SetDlgItemText(IDC_FORMATSIZE, fields.formatSize);
    dialog.SetDlgItemText(IDC_FREESPACE, fields.freeSpace);
    dialog.SetDlgItemText(IDC_MAXSIZE, fields.maxSize);
    dialog.SetDlgItemText(IDC_USEDSPACE, fields.usedSpace);
    dialog.SetDlgItemText(IDC_DRIVETYPE, fields.driveType);
    dialog.SetDlgItemText(IDC_INTERFACE, fields.interfaceName);
    dialog.SetDlgItemText(IDC_SIZEPERPLOT, fields.sizePerPlot);
}
