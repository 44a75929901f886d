#pragma once

#include <QCursor>
#include <QImage>

#include <optional>

// The program's icon (window, application, tray).
constexpr unsigned IDR_MAINFRAME = 128;
// Icon ids of the small dialogs.
constexpr unsigned IDI_MESSAGE = 280;
constexpr unsigned IDI_WARNING = 184;

// Bitmaps, icons and cursors by resource id. A file shipped in the resource
// file as ":/bitmaps/<id>.png", ":/icons/<id>.png" or ":/cursors/<id>.png"
// is taken first; the character sheets of the dot-matrix displays and the
// dialog icons are drawn by the program itself. A null image (or nullopt)
// when the id has no artwork.
QImage LoadBitmapResource(unsigned id);
QImage LoadIconResource(unsigned id);
std::optional<QCursor> LoadCursorResource(unsigned id);

// The character sheet of a dot-matrix size preset, in the sheet's own
// three colours.
QImage RenderGlyphSheet(int preset);
