#include "common/textfile.h"
#include "support/filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(TextFile, AppendCreatesThenAppendsWithCrLf)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("log.txt"));
    ASSERT_TRUE(AppendLines(path, {QStringLiteral("one")}));
    ASSERT_TRUE(AppendLines(path, {QStringLiteral("two"), QString()}));
    EXPECT_EQ(FileBytes(path), QByteArray("one\r\ntwo\r\n\r\n"));
}

TEST(TextFile, WritesSingleByteLatin1)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("names.txt"));
    ASSERT_TRUE(AppendLines(path, {QString::fromUtf8("Bj\u00f6rn \u20ac")}));
    EXPECT_EQ(FileBytes(path), QByteArray("Bj\xf6rn ?\r\n"));
}

TEST(TextFile, AppendToMissingDirectoryFailsAndNamesThePath)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("missing/log.txt"));
    const auto result = AppendLines(path, {QStringLiteral("x")});
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().path, path);
    EXPECT_FALSE(result.error().reason.isEmpty());
    EXPECT_TRUE(result.error().describe(QStringLiteral("Cannot write")).startsWith(
        QStringLiteral("Cannot write ") + path + QStringLiteral(": ")));
    EXPECT_FALSE(QFile::exists(path));
}

TEST(TextFile, ReplaceOverwritesWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.ipt"));
    ASSERT_TRUE(ReplaceLines(path, {QStringLiteral("a much longer first version")}));
    ASSERT_TRUE(ReplaceLines(path, {QStringLiteral("b")}));
    EXPECT_EQ(FileBytes(path), QByteArray("b\r\n"));
    // No temporary file is left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);
}

TEST(TextFile, ReplaceInMissingDirectoryFails)
{
    QTemporaryDir dir;
    EXPECT_FALSE(ReplaceLines(dir.filePath(QStringLiteral("no/such/file.txt")), {QStringLiteral("x")}));
}

TEST(TextFile, DecodeAcceptsEveryLineEnd)
{
    EXPECT_EQ(DecodeLines("a\r\nb\nc\rd"), (QStringList{"a", "b", "c", "d"}));
    EXPECT_EQ(DecodeLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_EQ(DecodeLines(""), QStringList{});
    EXPECT_EQ(DecodeLines("\xe9"), QStringList{QString(QChar(0xe9))});
}

TEST(TextFile, ReadMissingFileFails)
{
    QTemporaryDir dir;
    EXPECT_FALSE(ReadLines(dir.filePath(QStringLiteral("nothing.txt"))));
}

} // namespace
