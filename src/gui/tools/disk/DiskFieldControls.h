#pragma once

#include <cstddef>
#include <span>

class CDialog;
struct DiskDriveFields;

// A field of the disk tools' windows: its label and its read-only edit.
struct DiskFieldRow {
    int labelId;
    int valueId;
    const char* caption;
};

// The drive fields (the first ten) and the tests' fields, in the order the
// test windows show them top to bottom.
std::span<const DiskFieldRow> DiskFieldRows();
constexpr std::size_t kDriveFieldRows = 10;

// A label and a read-only edit bound to the dialog for each row.
void AddFieldControls(CDialog& dialog, std::span<const DiskFieldRow> rows);
// The drive fields into their edits (those the dialog has).
void ShowDiskDriveFields(CDialog& dialog, const DiskDriveFields& fields);
