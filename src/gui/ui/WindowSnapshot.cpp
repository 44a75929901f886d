#include "gui/ui/WindowSnapshot.h"

#include "core/base/AppProfile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "gui/app/FileDialogs.h"
#include "platform/files/SafeFile.h"

#include <QBuffer>
#include <QClipboard>
#include <QGuiApplication>
#include <QImageWriter>
#include <QWidget>

#include <gif_lib.h>

#include <vector>

namespace {

constexpr int kGifColours = 256;

int AppendToString(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<std::string*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

// 256 colours at most: Qt picks the palette, giflib writes the file.
bool EncodeGif(const QImage& image, std::string& bytes, std::string& error)
{
    QImage indexed = image.convertToFormat(QImage::Format_Indexed8, Qt::AutoColor | Qt::DiffuseDither);
    std::vector<GifColorType> colours(kGifColours, GifColorType{0, 0, 0});
    const QList<QRgb> table = indexed.colorTable();
    for (int i = 0; i < table.size() && i < kGifColours; ++i)
        colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(qRed(table[i])),
                                                static_cast<GifByteType>(qGreen(table[i])),
                                                static_cast<GifByteType>(qBlue(table[i]))};
    int status = 0;
    GifFileType* gif = EGifOpen(&bytes, AppendToString, &status);
    if (gif == nullptr) {
        error = GifErrorString(status);
        return false;
    }
    ColorMapObject* map = GifMakeMapObject(kGifColours, colours.data());
    bool written = map != nullptr && EGifPutScreenDesc(gif, indexed.width(), indexed.height(), 8, 0, map) == GIF_OK
        && EGifPutImageDesc(gif, 0, 0, indexed.width(), indexed.height(), false, nullptr) == GIF_OK;
    for (int y = 0; written && y < indexed.height(); ++y)
        written = EGifPutLine(gif, indexed.scanLine(y), indexed.width()) == GIF_OK;
    if (!written)
        error = GifErrorString(gif->Error);
    GifFreeMapObject(map);
    if (EGifCloseFile(gif, &status) != GIF_OK && written) {
        error = GifErrorString(status);
        written = false;
    }
    return written;
}

const char* QtFormatName(SnapshotFormat format)
{
    switch (format) {
    case SnapshotFormat::Jpeg: return "JPEG";
    case SnapshotFormat::Bmp: return "BMP";
    case SnapshotFormat::Png:
    case SnapshotFormat::Gif: break;
    }
    return "PNG";
}

}  // namespace

bool EncodeSnapshot(const QImage& image, SnapshotFormat format, std::string& bytes, std::string& error)
{
    bytes.clear();
    if (format == SnapshotFormat::Gif)
        return EncodeGif(image, bytes, error);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QtFormatName(format));
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        error = writer.errorString().toStdString();
        return false;
    }
    bytes.assign(encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}

void SaveWindowSnapshot(QWidget& window)
{
    const QImage picture = window.grab().toImage();
    const auto choice = ShowSaveFileDialog(&window, "Choose a FileName & File Type to save snapshot", kSnapshotFilter,
                                           "Last Save Directory", "png", GetAppProfileInt("SnapshotExt", 1));
    if (!choice)
        return;
    if (!ConfirmOverwrite(choice->path))
        return;
    const std::optional<SnapshotFormat> format = SnapshotFormatForPath(choice->path);
    if (!format) {
        AppMessageBox(kUnknownSnapshotTypeText);
        return;
    }
    WriteAppProfileInt("SnapshotExt", static_cast<int>(*format));
    std::string bytes;
    std::string error;
    if (!EncodeSnapshot(picture, *format, bytes, error) || !WriteFileAtomically(choice->path, bytes, &error))
        AppMessageBox("The snapshot could not be saved to " + choice->path + ": " + error, "Quenzario",
                      MB_OK | MB_ICONEXCLAMATION);
}

void CopyWindowToClipboard(QWidget& window)
{
    QGuiApplication::clipboard()->setImage(window.grab().toImage());
}
