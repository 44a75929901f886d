#pragma once

#include "core/ui/SnapshotFormat.h"

#include <QImage>

#include <string>

class QWidget;

// The snapshot and clipboard buttons of every window (the main window, the
// graph windows, the scan window): a picture of the whole window saved as
// PNG, JPEG, BMP or GIF (chosen by the extension the user gives), or put on
// the clipboard.

// Asks for a file ("Choose a FileName & File Type to save snapshot"), asks
// before overwriting, keeps the format in "SnapshotExt" and writes the file
// through a temporary name. Says why when the format is unknown or the file
// cannot be written.
// What a name whose extension names no picture type is told.
constexpr const char* kUnknownSnapshotTypeText
    = "Snapshots are saved as PNG, JPEG, BMP or GIF:\nend the name in .png, .jpg, .jpeg, .bmp or .gif.";

void SaveWindowSnapshot(QWidget& window);
void CopyWindowToClipboard(QWidget& window);

// The image encoded in the format; false with the reason when it cannot be.
bool EncodeSnapshot(const QImage& image, SnapshotFormat format, std::string& bytes, std::string& error);
