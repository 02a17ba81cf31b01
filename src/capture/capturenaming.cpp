#include "capture/capturenaming.h"

#include "common/paths.h"
#include "common/val.h"

#include <cmath>

QString CaptureFilePath(const QString& videoDirectory, const QString& skierName, const QString& jumpText)
{
    return JoinPath(StripOneTrailingSeparator(videoDirectory),
                    skierName + QStringLiteral("jump") + jumpText.trimmed() + QStringLiteral(".avi"));
}

CaptureName FreeCaptureName(const QString& videoDirectory, const QString& skierName, const QString& jumpText,
                            const FileExists& exists)
{
    CaptureName name{skierName, jumpText, CaptureFilePath(videoDirectory, skierName, jumpText), false};
    while (exists(name.path)) {
        name.changed = true;
        name.skierName.prepend(QLatin1Char('X'));
        name.jumpText = QStringLiteral("1");
        name.path = CaptureFilePath(videoDirectory, name.skierName, name.jumpText);
    }
    return name;
}

CaptureName NextFreeJump(const QString& videoDirectory, const QString& skierName, const QString& jumpText,
                         const FileExists& exists)
{
    CaptureName name{skierName, jumpText, CaptureFilePath(videoDirectory, skierName, jumpText), false};
    while (exists(name.path)) {
        name.changed = true;
        name.jumpText = QString::number(int64_t(Val(name.jumpText)) + 1);
        name.path = CaptureFilePath(videoDirectory, name.skierName, name.jumpText);
    }
    return name;
}

int64_t MiddleOfRecording(const QString& rateText, double seconds)
{
    return int64_t(std::nearbyint(Val(rateText) * seconds / 2));
}
