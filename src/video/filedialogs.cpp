#include "video/filedialogs.h"

#include <QFileInfo>

FileDialogFilter FileDialogFilterFor(int kind)
{
    switch (static_cast<FileDialogKind>(kind)) {
    case FileDialogKind::Pictures:
        return {QStringLiteral("All Supported Types|*.bmp;*.jpg;*.pic|BMP Files|*.bmp|JPEG Files|*.jpg|"
                               "ePIC Files|*.pic|"),
                QStringLiteral("jpg")};
    case FileDialogKind::Avi:
        return {QStringLiteral("AVI File|*.avi|"), QStringLiteral("avi")};
    case FileDialogKind::Recordings:
        return {QStringLiteral("All Recordings|*.avi;*.mp4;*.mov;*.mkv|AVI File|*.avi|MP4 File|*.mp4|"
                               "QuickTime File|*.mov|Matroska File|*.mkv|"),
                QStringLiteral("avi")};
    case FileDialogKind::CaptureProfile:
        return {QStringLiteral("CapturePro 3.0 profile (.cpf)|*.cpf|"), QStringLiteral("cpf")};
    }
    return {};
}

// The dialogs take the initial folder with the proposed name, so the whole
// initial path is handed over; the dialog shows its folder and preselects
// the name.
QString ShowOpenFileDialog(OperatorDialogs& dialogs, const QString& initialPath, int kind)
{
    const QString chosen = dialogs.openFile(initialPath, FileDialogFilterFor(kind).filter, 1);
    return chosen.isEmpty() ? initialPath : chosen;
}

QString ShowSaveFileDialog(OperatorDialogs& dialogs, const QString& initialPath, int kind)
{
    const FileDialogFilter filter = FileDialogFilterFor(kind);
    QString chosen = dialogs.saveFile(initialPath, filter.filter, 1);
    if (chosen.isEmpty())
        return initialPath;
    if (!filter.defaultExtension.isEmpty() && QFileInfo(chosen).suffix().isEmpty())
        chosen += QLatin1Char('.') + filter.defaultExtension;
    return chosen;
}
