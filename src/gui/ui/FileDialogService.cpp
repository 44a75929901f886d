#include "gui/ui/FileDialogService.h"

#include <QFileDialog>
#include <QStringList>

namespace {

class QtFileDialogService : public FileDialogService {
public:
    std::optional<FileDialogAnswer> GetOpenFileName(const FileDialogRequest& request) override
    {
        return Run(request, QFileDialog::AcceptOpen);
    }
    std::optional<FileDialogAnswer> GetSaveFileName(const FileDialogRequest& request) override
    {
        return Run(request, QFileDialog::AcceptSave);
    }
    std::optional<std::string> BrowseForFolder(const FileDialogRequest& request) override
    {
        QFileDialog dialog(request.owner, QString::fromStdString(request.title),
                           QString::fromStdString(request.folder));
        dialog.setFileMode(QFileDialog::Directory);
        // Folders only, typed or picked; no new folders made from here.
        dialog.setOptions(QFileDialog::ShowDirsOnly | QFileDialog::ReadOnly);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        const QString folder = dialog.selectedFiles().first();
        if (folder.isEmpty())
            return std::nullopt;
        return folder.toStdString();
    }

private:
    static std::optional<FileDialogAnswer> Run(const FileDialogRequest& request, QFileDialog::AcceptMode mode)
    {
        QFileDialog dialog(request.owner, QString::fromStdString(request.title),
                           QString::fromStdString(request.folder));
        dialog.setAcceptMode(mode);
        dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
        // The caller asks before overwriting, as the program always has.
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
        const QStringList filters = QString::fromStdString(request.filter).split(";;", Qt::SkipEmptyParts);
        dialog.setNameFilters(filters);
        if (request.filterIndex >= 1 && request.filterIndex <= filters.size())
            dialog.selectNameFilter(filters.at(request.filterIndex - 1));
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        FileDialogAnswer answer;
        answer.path = dialog.selectedFiles().first().toStdString();
        answer.filterIndex = static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1;
        if (answer.filterIndex < 1)
            answer.filterIndex = 1;
        return answer;
    }
};

FileDialogService* g_service = nullptr;

}  // namespace

FileDialogService& GetFileDialogService()
{
    static QtFileDialogService qtService;
    return g_service ? *g_service : qtService;
}

void SetFileDialogService(FileDialogService* service)
{
    g_service = service;
}
