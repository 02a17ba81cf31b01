#include "common/paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(Paths, ExistsByKind)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.txt"));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();

    EXPECT_TRUE(PathExistsByKind(file, 0));
    EXPECT_FALSE(PathExistsByKind(file, 1));
    EXPECT_TRUE(PathExistsByKind(dir.path(), 1));
    EXPECT_FALSE(PathExistsByKind(dir.path(), 0));
    EXPECT_FALSE(PathExistsByKind(dir.filePath(QStringLiteral("none")), 0));
    EXPECT_FALSE(PathExistsByKind(dir.filePath(QStringLiteral("none")), 1));
    EXPECT_FALSE(PathExistsByKind(QString(), 1));
    EXPECT_FALSE(PathExistsByKind(file, 3));
    EXPECT_TRUE(PathExistsByKind(QDir::rootPath(), 2));
    EXPECT_FALSE(PathExistsByKind(dir.path(), 2));
}

TEST(Paths, FileIsPresent)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("a.bmp"));
    EXPECT_FALSE(FileIsPresent(file));
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_TRUE(FileIsPresent(file));
    EXPECT_FALSE(FileIsPresent(dir.path()));
    EXPECT_FALSE(FileIsPresent(QString()));
}

TEST(Paths, StripsOneTrailingSeparator)
{
    EXPECT_EQ(StripOneTrailingSeparator(QStringLiteral("C:\\Videos\\")), QStringLiteral("C:\\Videos"));
    EXPECT_EQ(StripOneTrailingSeparator(QStringLiteral("/data/videos/")), QStringLiteral("/data/videos"));
    EXPECT_EQ(StripOneTrailingSeparator(QStringLiteral("/data//")), QStringLiteral("/data/"));
    EXPECT_EQ(StripOneTrailingSeparator(QStringLiteral("/data")), QStringLiteral("/data"));
    EXPECT_EQ(StripOneTrailingSeparator(QString()), QString());
}

TEST(Paths, JoinsWithoutDoublingSeparators)
{
    EXPECT_EQ(JoinPath(QStringLiteral("/v"), QStringLiteral("a.txt")), QStringLiteral("/v/a.txt"));
    EXPECT_EQ(JoinPath(QStringLiteral("/v/"), QStringLiteral("a.txt")), QStringLiteral("/v/a.txt"));
    EXPECT_EQ(JoinPath(QStringLiteral("C:\\v\\"), QStringLiteral("a.txt")), QStringLiteral("C:\\v\\a.txt"));
    EXPECT_EQ(JoinPath(QString(), QStringLiteral("a.txt")), QStringLiteral("a.txt"));
}

} // namespace
