#include "common/textfile.h"
#include "support/filebytes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

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

QStringList filesIn(const QTemporaryDir& dir)
{
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

#ifdef Q_OS_UNIX
// Runs save in a child process whose files may not grow beyond limitBytes,
// as on a disk that fills up during the write. SIGXFSZ is ignored there, so
// the write fails with "File too large" instead of killing the child.
// Returns 0 when the save reported success, 1 when it reported a failure
// with a reason, 2 when it failed without one.
int saveWithSizeLimit(rlim_t limitBytes, const std::function<std::expected<void, FileError>()>& save)
{
    const pid_t child = fork();
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{limitBytes, limitBytes};
        setrlimit(RLIMIT_FSIZE, &limit);
        const auto saved = save();
        _exit(saved ? 0 : saved.error().reason.isEmpty() ? 2 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + WTERMSIG(status);
}

struct FullDiskCase {
    const char* name;
    rlim_t limitBytes;
};

void PrintTo(const FullDiskCase& c, std::ostream* os)
{
    *os << c.name;
}


class ReplaceOnAFullDisk : public testing::TestWithParam<FullDiskCase> {};

TEST_P(ReplaceOnAFullDisk, KeepsTheOldFileAndReportsTheFailure)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid.ipt"));
    const QByteArray old("the good set-up\r\n");
    ASSERT_TRUE(ReplaceFile(path, old));
    const QByteArray next(600, 'x');

    EXPECT_EQ(saveWithSizeLimit(GetParam().limitBytes, [&] { return ReplaceFile(path, next); }), 1);
    EXPECT_EQ(FileBytes(path), old);
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("grid.ipt")});
}

// Nothing fits, the write is cut in the middle, the last byte does not fit.
INSTANTIATE_TEST_SUITE_P(Limits, ReplaceOnAFullDisk,
                         testing::Values(FullDiskCase{"NothingFits", 0}, FullDiskCase{"CutShort", 100},
                                         FullDiskCase{"LastByteMissing", 599}),
                         [](const auto& info) { return std::string(info.param.name); });

// A results file on a full disk: the lines that do not fit whole are not
// left half written, where the next result line would be joined to them.
TEST(TextFile, AnAppendThatDoesNotFitIsTakenBack)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("results.txt"));
    const QByteArray old("07-03-2026 14:05:09 Ann  jump  1 -  45.2m\r\n");
    for (const rlim_t limit : {rlim_t(old.size()), rlim_t(old.size() + 10)}) {
        ASSERT_TRUE(WriteFileBytes(path, old));
        EXPECT_EQ(saveWithSizeLimit(limit, [&] { return AppendLines(path, {QStringLiteral("a whole result line")}); }),
                  1);
        EXPECT_EQ(FileBytes(path), old) << limit;
    }
}

TEST(FileReplacementSet, ASecondFileThatDoesNotFitLeavesBothAsTheyWere)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("g.ipt"));
    const QString second = dir.filePath(QStringLiteral("g.ipt.cb"));
    ASSERT_TRUE(ReplaceFile(first, "old grid"));
    ASSERT_TRUE(ReplaceFile(second, "old buoy"));

    const int status = saveWithSizeLimit(300, [&]() -> std::expected<void, FileError> {
        FileReplacementSet set;
        if (auto added = set.add(first, QByteArray(200, 'g')); !added)
            return added;
        if (auto added = set.add(second, QByteArray(400, 'b')); !added)
            return added;
        return set.commit();
    });

    EXPECT_EQ(status, 1);
    EXPECT_EQ(FileBytes(first), QByteArray("old grid"));
    EXPECT_EQ(FileBytes(second), QByteArray("old buoy"));
    EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral("g.ipt"), QStringLiteral("g.ipt.cb")}));
}

TEST(TextFile, ReplacingALinkReplacesTheFileItPointsAtWithItsPermissions)
{
    QTemporaryDir dir;
    const QString real = dir.filePath(QStringLiteral("real.ipt"));
    const QString link = dir.filePath(QStringLiteral("link.ipt"));
    ASSERT_TRUE(ReplaceFile(real, "old"));
    const auto permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
    ASSERT_TRUE(QFile::setPermissions(real, permissions));
    ASSERT_TRUE(QFile::link(real, link));

    ASSERT_TRUE(ReplaceFile(link, "new"));
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(FileBytes(real), QByteArray("new"));
    EXPECT_EQ(QFile::permissions(real) & 0x7077, permissions); // owner, group, others
}
#endif

TEST(FileReplacementSet, AFailedRenamePutsBackTheFilesAlreadyReplaced)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("g.ipt"));
    const QString second = dir.filePath(QStringLiteral("g.ipt.cb"));
    ASSERT_TRUE(ReplaceFile(first, "old grid"));
    {
        FileReplacementSet set;
        ASSERT_TRUE(set.add(first, "new grid"));
        ASSERT_TRUE(set.add(second, "new buoy"));
        // Something takes the second name after the checks: a folder, which
        // no file can be renamed over.
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("g.ipt.cb")));
        const auto committed = set.commit();
        ASSERT_FALSE(committed);
        EXPECT_EQ(committed.error().path, second);
    }
    EXPECT_EQ(FileBytes(first), QByteArray("old grid"));
    EXPECT_EQ(filesIn(dir), QStringList{QStringLiteral("g.ipt")});
}

TEST(FileReplacementSet, AFileThatWasNotThereIsRemovedAgainWhenTheUnitFails)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("g.ipt"));
    FileReplacementSet set;
    ASSERT_TRUE(set.add(first, "new grid"));
    ASSERT_TRUE(set.add(dir.filePath(QStringLiteral("g.ipt.cb")), "new buoy"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("g.ipt.cb")));
    EXPECT_FALSE(set.commit());
    EXPECT_EQ(FileBytes(first), QByteArray("<missing>"));
}

TEST(TextFile, ReplacingAFolderIsRefusedBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("g.ipt.cb")));
    const auto replaced = ReplaceFile(dir.filePath(QStringLiteral("g.ipt.cb")), "x");
    ASSERT_FALSE(replaced);
    EXPECT_EQ(replaced.error().reason, QStringLiteral("it is a folder"));
    EXPECT_TRUE(filesIn(dir).isEmpty());
}

TEST(TextFile, ASaveRemovesWhatAKilledSaveOfTheSameFileLeftBehind)
{
    QTemporaryDir dir;
    const auto put = [&](const char* name, int ageSeconds) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(WriteFileBytes(path, "left over"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-ageSeconds),
                                     QFileDevice::FileModificationTime));
    };
    put("g.ipt.saving-Ab12Cd", 3600);
    put("g.ipt.previous-Ef34Gh", 3600);
    put("g.ipt.saving-Fresh1", 0);      // may be another save's, running now
    put("g.ipt.saving-notOurs", 3600);  // not a name a save gives
    put("other.ipt.saving-Ab12Cd", 3600);

    ASSERT_TRUE(ReplaceFile(dir.filePath(QStringLiteral("g.ipt")), "grid"));
    EXPECT_EQ(filesIn(dir), (QStringList{QStringLiteral("g.ipt"), QStringLiteral("g.ipt.saving-Fresh1"),
                                         QStringLiteral("g.ipt.saving-notOurs"),
                                         QStringLiteral("other.ipt.saving-Ab12Cd")}));
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
