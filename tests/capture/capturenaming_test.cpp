#include "capture/capturenaming.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

TEST(CaptureNaming, NeverOverAnExistingRecording)
{
    const struct {
        const char* directory;
        const char* name;
        const char* jump;
        QSet<QString> existing;
        const char* freePath; // the "X" rule before a recording
        const char* freeJump;
        const char* nextPath; // the jump-number rule of the first showing
    } cases[] = {
        {"/v", "Skier1", "1", {}, "/v/Skier1jump1.avi", "1", "/v/Skier1jump1.avi"},
        {"/v/", "Skier1", " 2 ", {}, "/v/Skier1jump2.avi", " 2 ", "/v/Skier1jump2.avi"},
        {"/v", "Skier1", "1", {"/v/Skier1jump1.avi", "/v/XSkier1jump1.avi"}, "/v/XXSkier1jump1.avi", "1",
         "/v/Skier1jump2.avi"},
        // The "X" starts the jump number again at 1.
        {"/v", "Skier1", "2", {"/v/Skier1jump2.avi", "/v/Skier1jump3.avi"}, "/v/XSkier1jump1.avi", "1",
         "/v/Skier1jump4.avi"},
    };
    for (const auto& c : cases) {
        const FileExists exists = [&](const QString& path) { return c.existing.contains(path); };
        const CaptureName free = FreeCaptureName(QString::fromLatin1(c.directory), QString::fromLatin1(c.name),
                                                 QString::fromLatin1(c.jump), exists);
        EXPECT_EQ(free.path, QString::fromLatin1(c.freePath));
        EXPECT_EQ(free.jumpText, QString::fromLatin1(c.freeJump));
        EXPECT_EQ(free.changed, !c.existing.isEmpty());
        const CaptureName next = NextFreeJump(QString::fromLatin1(c.directory), QString::fromLatin1(c.name),
                                              QString::fromLatin1(c.jump), exists);
        EXPECT_EQ(next.path, QString::fromLatin1(c.nextPath));
    }
}

TEST(CaptureNaming, MiddleOfRecordingRoundsHalfToEven)
{
    EXPECT_EQ(MiddleOfRecording(QStringLiteral("30"), 6), 90);
    EXPECT_EQ(MiddleOfRecording(QStringLiteral("25"), 5), 62); // 62.5
    EXPECT_EQ(MiddleOfRecording(QStringLiteral("25"), 3), 38); // 37.5
    EXPECT_EQ(MiddleOfRecording(QStringLiteral("abc"), 5), 0);
}

} // namespace
