#pragma once

#include "common/operatordialogs.h"

#include <QString>

// Which files a capture-file dialog offers.
enum class FileDialogKind {
    Pictures = 0,
    Avi = 1,
    CaptureProfile = 2,
    Recordings = 3, // recordings to open: AVI and the files of phones and action cameras
};

// The filter pairs of a dialog kind in the "Label|pattern|" form of the
// operator dialogs, and the extension given to a typed name without one.
// An unknown kind offers no filter and no extension.
struct FileDialogFilter {
    QString filter;
    QString defaultExtension;
};
FileDialogFilter FileDialogFilterFor(int kind);

// Open and save dialogs starting at initialPath: its part up to the last
// separator is the folder shown, the rest the proposed file name. Return the
// chosen path, or initialPath unchanged when the operator cancels. A saved
// name typed without an extension gets the kind's default extension.
QString ShowOpenFileDialog(OperatorDialogs& dialogs, const QString& initialPath, int kind);
QString ShowSaveFileDialog(OperatorDialogs& dialogs, const QString& initialPath, int kind);
