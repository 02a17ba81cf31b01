#include "app/configexit.h"
#include "app/skierlist.h"
#include "support/filebytes.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(SkierList, ListInputFieldsFollowCommasLineEndsAndQuotes)
{
    struct Case {
        const char* text;
        QStringList fields;
    };
    const Case cases[] = {
        {"Ann, Bob\r\nCy\r\n", {"Ann", "Bob", "Cy"}},
        {"\"Smith, Ann\" , Bob\n\n  Cy  ", {"Smith, Ann", "Bob", "Cy"}},
        {"\" Ann \",,\r\n", {" Ann "}},
        {"O\"Brien", {"O\"Brien"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ListInputFields(QString::fromLatin1(c.text)), c.fields) << c.text;
}

TEST(SkierList, ImportReplacesTheListWithTheChosenFilesText)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("SkierNames.txt"));
    struct Case {
        const char* name;
        QByteArray bytes;
        QByteArray written;
        const char* firstName;
    };
    const Case cases[] = {
        {"plain.txt", "Smith,Ann,B\nCy", "Smith,Ann,B\r\nCy\r\n", "Smith Ann B"},
        {"utf8.txt", "\xEF\xBB\xBFM\xC3\xBCller, Jo\r\n", "M\xFCller, Jo\r\n", "M\xFCller  Jo"},
        {"latin1.txt", "M\xFCller\r\r", "M\xFCller\r\n\r\n", "M\xFCller"},
        {"list.rtf", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Lee,Kim\\par Bo\\par}", "Lee,Kim\r\nBo\r\n", "Lee Kim"},
    };
    for (const Case& c : cases) {
        const QString chosen = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteFileBytes(chosen, c.bytes));
        const auto first = ImportSkierList(chosen, list);
        ASSERT_TRUE(first) << c.name;
        EXPECT_EQ(*first, QString::fromLatin1(c.firstName)) << c.name;
        EXPECT_EQ(FileBytes(list), c.written) << c.name;
    }

    // A file that cannot be read, or a damaged rich-text file, leaves the
    // list as it was.
    const QByteArray before = FileBytes(list);
    ASSERT_TRUE(WriteFileBytes(dir.filePath(QStringLiteral("broken.rtf")), "{\\rtf1 Lee\\par"));
    for (const char* name : {"missing.txt", "broken.rtf"}) {
        const QString chosen = dir.filePath(QString::fromLatin1(name));
        const auto failed = ImportSkierList(chosen, list);
        ASSERT_FALSE(failed) << name;
        EXPECT_EQ(failed.error().path, chosen);
        EXPECT_EQ(FileBytes(list), before) << name;
    }
}

TEST(SkierList, PickerListsEveryNonEmptyLineWithCommasFolded)
{
    QTemporaryDir dir;
    const QString list = dir.filePath(QStringLiteral("SkierNames.txt"));
    ASSERT_TRUE(WriteFileBytes(list, "Smith,Ann\r\n\r\nCy\r\n"));
    EXPECT_EQ(ReadSkierList(list).value_or(QStringList{"unreadable"}), (QStringList{"Smith Ann", "Cy"}));
    EXPECT_FALSE(ReadSkierList(dir.filePath(QStringLiteral("none.txt"))));
}

TEST(ConfigExit, NewConfigurationLineAndCapturesSeparator)
{
    EXPECT_EQ(NewConfigurationLine(QDateTime(QDate(2026, 7, 3), QTime(21, 5, 9)), QStringLiteral("Moomba Open")),
              QStringLiteral("New Configuration: 07-03-2026  21:05:09 Moomba Open"));
    const QString sep = QDir::separator();
    struct Case {
        QString typed;
        QString stored;
    };
    const Case cases[] = {
        {QStringLiteral("/pics"), QStringLiteral("/pics") + sep},
        {QStringLiteral("/pics/  "), QStringLiteral("/pics/")},
        {QStringLiteral("C:\\pics\\"), QStringLiteral("C:\\pics\\")},
        {QStringLiteral(" /pics "), QStringLiteral(" /pics") + sep},
        {QStringLiteral("   "), QString()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CapturesDirectoryWithSeparator(c.typed), c.stored) << c.typed.toStdString();
}

TEST(ConfigExit, SkierNameFileNeedsAtLeastOneName)
{
    QTemporaryDir dir;
    const QString names = dir.filePath(QStringLiteral("names.txt"));
    ASSERT_TRUE(WriteFileBytes(names, "Ann, Bob\r\nCy\r\n"));
    EXPECT_EQ(ReadSkierNameFile(names).value_or(QStringList{}), (QStringList{"Ann", "Bob", "Cy"}));
    ASSERT_TRUE(WriteFileBytes(names, " , \r\n"));
    EXPECT_FALSE(ReadSkierNameFile(names));
    EXPECT_FALSE(ReadSkierNameFile(dir.filePath(QStringLiteral("none.txt"))));
}

} // namespace
