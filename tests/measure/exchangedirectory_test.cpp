#include "measure/exchangedirectory.h"
#include "support/filebytes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

struct FieldCase {
    const char* bytes;
    const char* field; // nullptr: no field
};

class FirstField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(FirstField, ReadsLikeTheScoringSystemWritesIt)
{
    const FieldCase& c = GetParam();
    const auto field = FirstInputField(QByteArray(c.bytes));
    if (!c.field) {
        EXPECT_FALSE(field.has_value()) << field.value_or("").toStdString();
        return;
    }
    ASSERT_TRUE(field.has_value());
    EXPECT_EQ(*field, QString::fromLatin1(c.field));
}

INSTANTIATE_TEST_SUITE_P(
    Names, FirstField,
    ::testing::Values(FieldCase{"TestSkier, B\r\n", "TestSkier"}, FieldCase{"\"TestSkier, B\"\r\n", "TestSkier, B"},
                      FieldCase{"\"TestSkier, B\",x\r\n", "TestSkier, B"}, FieldCase{"   TestSkier\r\n", "TestSkier"},
                      FieldCase{"\r\n\r\n  \r\nAnn Lee,2\r\nBob", "Ann Lee"}, FieldCase{"TestSkier", "TestSkier"},
                      FieldCase{"TestSkier\nnext", "TestSkier"}, FieldCase{"\t\"Quoted", "Quoted"},
                      FieldCase{",Bob", ""}, FieldCase{"", nullptr},
                      FieldCase{"  \r\n \r\n", nullptr}));

// Latin-1 file bytes come back as the same characters.
TEST(FirstFieldLatin1, AccentsSurvive)
{
    EXPECT_EQ(*FirstInputField(QByteArray("Ren\xe9")), QString::fromUtf8("Ren\xc3\xa9"));
}

class Exchange : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ExchangeDirectory exchange{dir.filePath(QStringLiteral("qxio"))};

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("qxio")));
    }
    QString file(const char* name) const { return exchange.filePath(QString::fromLatin1(name)); }
};

TEST_F(Exchange, DefaultDirectoryIsAtTheRootOfTheProgramsDrive)
{
#ifdef Q_OS_WIN
    EXPECT_EQ(ExchangeDirectory::defaultDirectory("C:/Tools/Jump"), "C:\\qxio");
#else
    EXPECT_EQ(ExchangeDirectory::defaultDirectory("/opt/rampscope/bin"), "/qxio");
#endif
    EXPECT_NE(exchange.directory(), ExchangeDirectory::defaultDirectory(QDir::currentPath()));
    EXPECT_EQ(exchange.snapshotPath(), dir.filePath("qxio/snapshot.bmp"));
}

TEST_F(Exchange, SkierNameIsTheFirstField)
{
    write(file("qxskier.nam"), "TestSkier, B\r\n");
    EXPECT_EQ(exchange.readSkierName().value_or("<error>"), "TestSkier");
    write(file("qxskier.nam"), "\"TestSkier, B\"\r\n");
    EXPECT_EQ(exchange.readSkierName().value_or("<error>"), "TestSkier, B");
}

TEST_F(Exchange, SkierNameFailuresCarryTheReason)
{
    auto missing = exchange.readSkierName();
    ASSERT_FALSE(missing.has_value());
    QFile probe(file("qxskier.nam"));
    ASSERT_FALSE(probe.open(QIODevice::ReadOnly));
    EXPECT_FALSE(probe.errorString().isEmpty());
    EXPECT_EQ(missing.error(), "Error while reading SCORIX name file: " + probe.errorString());

    write(file("qxskier.nam"), "");
    auto empty = exchange.readSkierName();
    ASSERT_FALSE(empty.has_value());
    EXPECT_EQ(empty.error(), "Error while reading SCORIX name file: the file holds no skier name");

    ASSERT_TRUE(QDir(exchange.directory()).removeRecursively());
    auto noDirectory = exchange.readSkierName();
    ASSERT_FALSE(noDirectory.has_value());
    EXPECT_TRUE(noDirectory.error().startsWith("Error while reading SCORIX name file: "));
}

struct ResultCase {
    ExchangeStatus status;
    const char* metres;
    const char* feet;
    const char* jump;
    const char* skier;
    const char* result;
    const char* raw;
};

class ExchangeLines : public ::testing::TestWithParam<ResultCase> {};

TEST_P(ExchangeLines, MatchTheScoringSystemsLayout)
{
    const ResultCase& c = GetParam();
    const ExchangeResult r{c.status, c.metres, c.feet, c.jump, c.skier, QTime(14, 3, 11)};
    EXPECT_EQ(QxResultLine(r), c.result);
    EXPECT_EQ(QxRawLine(r), c.raw);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ExchangeLines,
    ::testing::Values(
        ResultCase{ExchangeStatus::OK, " 45.2", " 148", "1", "TestSkier", "OK,  45.2,  148, 1",
                   "14:03:11 ,TestSkier,OK,  45.2,  148, 1"},
        ResultCase{ExchangeStatus::Fall, "", "", " 2", "TestSkier", "Fall, 0, 0, 2", "14:03:11 ,TestSkier,Fall, 0, 0, 2"},
        ResultCase{ExchangeStatus::Pass, " 45.2", " 148", "4", "Ann", "Pass, 0, 0,4", "14:03:11 ,Ann,Pass, 0, 0,4"},
        ResultCase{ExchangeStatus::OK, "", "", "3", "TestSkier, B", "OK, , , 3", "14:03:11 ,TestSkier,OK, , , 3"},
        ResultCase{ExchangeStatus::OK, "45.2", "148 ", "1", "", "OK, 45.2, 148 , 1", "14:03:11 ,,OK, 45.2, 148 , 1"}));

TEST(ExchangeStatusFromComment, OnlyTheExactWords)
{
    EXPECT_EQ(ExchangeStatusFromComment("Fall"), ExchangeStatus::Fall);
    EXPECT_EQ(ExchangeStatusFromComment("Pass"), ExchangeStatus::Pass);
    EXPECT_EQ(ExchangeStatusFromComment("fall"), ExchangeStatus::OK);
    EXPECT_EQ(ExchangeStatusFromComment("Pass "), ExchangeStatus::OK);
    EXPECT_EQ(ExchangeStatusFromComment(""), ExchangeStatus::OK);
}

TEST_F(Exchange, ResultFileIsReplacedAndRawFileGrows)
{
    const ExchangeResult first{ExchangeStatus::OK, " 45.2", " 148", "1", "TestSkier", QTime(14, 3, 11)};
    const ExchangeResult second{ExchangeStatus::Fall, "", "", " 2", "TestSkier", QTime(14, 5, 0)};
    ASSERT_TRUE(exchange.writeResultFiles(first).has_value());
    ASSERT_TRUE(exchange.writeResultFiles(second).has_value());
    EXPECT_EQ(FileBytes(file("qxresult.dst")), "Fall, 0, 0, 2\r\n");
    EXPECT_EQ(FileBytes(file("qxraw.dst")),
              "14:03:11 ,TestSkier,OK,  45.2,  148, 1\r\n14:05:00 ,TestSkier,Fall, 0, 0, 2\r\n");
}

TEST_F(Exchange, MissingDirectoryFailsWithoutCreatingIt)
{
    ASSERT_TRUE(QDir(exchange.directory()).removeRecursively());
    const auto written = exchange.writeResultFiles({ExchangeStatus::OK, " 1", " 3", "1", "A", QTime(1, 2, 3)});
    ASSERT_FALSE(written.has_value());
    EXPECT_EQ(ExchangeDirectory::writeFailureMessage(written.error()),
              "Error while writing SCORIX result: " + written.error().reason);
    EXPECT_FALSE(written.error().reason.isEmpty());
    EXPECT_FALSE(QDir(exchange.directory()).exists());
}

TEST_F(Exchange, RawFileFailureIsReported)
{
    // A directory where qxraw.dst should be: the append fails after the
    // result file was replaced.
    ASSERT_TRUE(QDir(exchange.directory()).mkdir(QStringLiteral("qxraw.dst")));
    const auto written = exchange.writeResultFiles({ExchangeStatus::OK, " 1", " 3", "1", "A", QTime(1, 2, 3)});
    EXPECT_FALSE(written.has_value());
    EXPECT_EQ(FileBytes(file("qxresult.dst")), "OK,  1,  3, 1\r\n");
}

struct FlagCase {
    const char* name;
    const char* flag; // nullptr: no flag file
    bool taken;
    const char* after;
};

class ClipboardFlag : public Exchange, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(ClipboardFlag, TakesThePictureOnlyWhenReady)
{
    const FlagCase& c = GetParam();
    if (c.flag)
        write(file("clipflag.txt"), c.flag);
    int pictures = 0;
    EXPECT_EQ(exchange.pollClipboardFlag([&] { ++pictures; }), c.taken);
    EXPECT_EQ(pictures, c.taken ? 1 : 0);
    EXPECT_EQ(FileBytes(file("clipflag.txt")), c.after);

    // The flag is down now (or never was up): the next tick does nothing.
    EXPECT_FALSE(exchange.pollClipboardFlag([&] { ++pictures; }));
    EXPECT_EQ(pictures, c.taken ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Flags, ClipboardFlag,
    ::testing::Values(FlagCase{"Ready", "Ready\r\n", true, "  \r\n"},
                      FlagCase{"ReadyWithFields", "Ready,1,x\r\n", true, "  \r\n"},
                      FlagCase{"Quoted", "\"Ready\"\r\n", true, "  \r\n"},
                      FlagCase{"LowerCase", "ready\r\n", false, "ready\r\n"},
                      FlagCase{"Blanks", "  \r\n", false, "  \r\n"}, FlagCase{"Empty", "", false, ""},
                      FlagCase{"Missing", nullptr, false, "<missing>"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Exchange, ClipboardFlagWithoutDirectoryIsSilent)
{
    ASSERT_TRUE(QDir(exchange.directory()).removeRecursively());
    bool taken = false;
    EXPECT_FALSE(exchange.pollClipboardFlag([&] { taken = true; }));
    EXPECT_FALSE(taken);
    EXPECT_FALSE(QDir(exchange.directory()).exists());
}

TEST_F(Exchange, DeletesOnlyBitmaps)
{
    for (const char* name : {"snapshot.bmp", "b.BMP", "qxskier.nam", "clipflag.txt", "a.bmp.info"})
        write(file(name), "x");
    exchange.deleteConsumedPictures();
    EXPECT_EQ(QDir(exchange.directory()).entryList(QDir::Files, QDir::Name),
              QStringList({"a.bmp.info", "clipflag.txt", "qxskier.nam"}));

    ASSERT_TRUE(QDir(exchange.directory()).removeRecursively());
    exchange.deleteConsumedPictures(); // nothing to do, no failure
    EXPECT_FALSE(QDir(exchange.directory()).exists());
}

} // namespace
