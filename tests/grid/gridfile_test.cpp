#include "common/textfile.h"
#include "grid/gridfile.h"
#include "support/filebytes.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>

namespace {

// A grid seen from a shore tower: the far (upper) buoys close together.
GridFileContents knownGrid()
{
    GridFileContents g;
    g.description = QStringLiteral("Tower view, left bank");
    g.corners[slotIndex(CornerSlot::UpperRight)] = {9000, 1500, 20.5, 150};
    g.corners[slotIndex(CornerSlot::LowerRight)] = {10500, 6000, 15.25, 60};
    g.corners[slotIndex(CornerSlot::UpperLeft)] = {1500, 1200, -20.5, 150.75};
    g.corners[slotIndex(CornerSlot::LowerLeft)] = {750, 6600, -12.125, 60};
    g.coefficients = {-12.5, 0.0021, 0.0003, 1.2e-6, 3.4e-5, 80, 0.0002, -0.0095};
    g.jumpX = 0.5;
    g.jumpY = -3;
    g.reservedA = 10;
    g.reservedB = 2;
    g.gridNumber = 2;
    return g;
}

const QByteArray knownGridBytes = "Initialization Points for file: /data/setup/grid2.ipt\r\n"
                                  "Tower view, left bank\r\n"
                                  " 9000 , 1500 , 20.5 , 150 \r\n"
                                  " 10500 , 6000 , 15.25 , 60 \r\n"
                                  " 1500 , 1200 ,-20.5 , 150.75 \r\n"
                                  " 750 , 6600 ,-12.125 , 60 \r\n"
                                  "-12.5 \r\n"
                                  " .0021 \r\n"
                                  " .0003 \r\n"
                                  " 1.2E-06 \r\n"
                                  " 3.4E-05 \r\n"
                                  " 80 \r\n"
                                  " .0002 \r\n"
                                  "-.0095 \r\n"
                                  " .5 \r\n"
                                  "-3 \r\n"
                                  " 10 \r\n"
                                  " 2 \r\n"
                                  " 2 \r\n";

std::expected<GridFileContents, GridFileError> readBytes(const QByteArray& bytes,
                                                         const QString& path = QStringLiteral("g.ipt"))
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    return readGridFile(buffer, path);
}

std::expected<CheckBuoyFileContents, GridFileError> readCheckBytes(const QByteArray& bytes)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    return readCheckBuoyFile(buffer, QStringLiteral("g.ipt.cb"));
}

TEST(GridFile, WritesTheNineteenLinesByteForByte)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("grid2.ipt"));
    ASSERT_TRUE(writeGridFile(path, knownGrid()));

    QByteArray expected = knownGridBytes;
    expected.replace("/data/setup/grid2.ipt", path.toLatin1());
    EXPECT_EQ(FileBytesOrEmpty(path), expected);
    EXPECT_EQ(EncodeLines(GridFileLines(QStringLiteral("/data/setup/grid2.ipt"), knownGrid())),
              knownGridBytes);
}

TEST(GridFile, WritesTheCheckBuoyFileWithTheTextsAsTyped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = CheckBuoyFilePath(dir.filePath(QStringLiteral("grid2.ipt")));
    EXPECT_TRUE(path.endsWith(QStringLiteral("grid2.ipt.cb")));
    ASSERT_TRUE(writeCheckBuoyFile(path, 5250, 3000.5, QStringLiteral("1.50"), QStringLiteral(" -40.25")));
    EXPECT_EQ(FileBytesOrEmpty(path), QByteArray(" 5250 \r\n 3000.5 \r\n1.50\r\n -40.25\r\n"));
}

TEST(GridFile, CheckBuoyTextThatIsNotANumberIsWrittenAsItReads)
{
    // "12.5m" and the placeholder would make a file that never loads again.
    EXPECT_EQ(CheckBuoyFileLines(15, -30, QStringLiteral("12.5m"), QStringLiteral("CheckY")),
              (QStringList{QStringLiteral(" 15 "), QStringLiteral("-30 "), QStringLiteral(" 12.5 "),
                           QStringLiteral(" 0 ")}));
}

TEST(GridFile, ADescriptionWithALineBreakKeepsTheFileShape)
{
    GridFileContents g = knownGrid();
    g.description = QStringLiteral("two\r\nlines");
    const QStringList lines = GridFileLines(QStringLiteral("p"), g);
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.at(1), QStringLiteral("two  lines"));
}

TEST(GridFile, ValuesThatAreNotFiniteAreNotWritten)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("g.ipt"));
    GridFileContents g = knownGrid();
    g.coefficients[3] = std::numeric_limits<double>::infinity();
    const auto written = writeGridFile(path, g);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().path, path);
    EXPECT_FALSE(QFile::exists(path));

    EXPECT_FALSE(writeCheckBuoyFile(path + QStringLiteral(".cb"), std::nan(""), 0, QStringLiteral("1"),
                                    QStringLiteral("2")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".cb")));
}

struct ReadBackCase {
    const char* name;
    double value;
    bool readsBack;
};

void PrintTo(const ReadBackCase& c, std::ostream* os)
{
    *os << c.name;
}

class FilePrintReadBack : public testing::TestWithParam<ReadBackCase> {};

// What FilePrintReadsBack accepts, the set-up file reader gives back: the
// same value to 15 digits (subnormals exactly, having fewer).
TEST_P(FilePrintReadBack, AgreesWithTheReader)
{
    const ReadBackCase& c = GetParam();
    EXPECT_EQ(FilePrintReadsBack(c.value), c.readsBack);
    GridFileContents g = knownGrid();
    g.jumpY = c.value;
    const auto read = readBytes(EncodeLines(GridFileLines(QStringLiteral("p"), g)));
    ASSERT_EQ(bool(read), c.readsBack);
    if (c.readsBack) {
        EXPECT_LE(std::abs(read->jumpY - c.value), 5e-15 * std::abs(c.value)) << read->jumpY;
    }
}

constexpr double largest = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Values, FilePrintReadBack,
    testing::Values(ReadBackCase{"Largest", largest, false}, ReadBackCase{"NegativeLargest", -largest, false},
                    ReadBackCase{"LargestWithFifteenDigits", 1.79769313486231e308, true},
                    ReadBackCase{"Infinity", std::numeric_limits<double>::infinity(), false},
                    ReadBackCase{"NotANumber", std::nan(""), false},
                    ReadBackCase{"SmallestNormal", -std::numeric_limits<double>::min(), true},
                    ReadBackCase{"Subnormal", 1e-310, true},
                    ReadBackCase{"SmallestSubnormal", std::numeric_limits<double>::denorm_min(), true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridFile, ALineBreakInTheFilesOwnNameKeepsTheFileShape)
{
    const QStringList lines = GridFileLines(QStringLiteral("/data/two\nlines.ipt"), knownGrid());
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.at(0), QStringLiteral("Initialization Points for file: /data/two lines.ipt"));
}

struct PairCase {
    const char* name;
    void (*spoil)(GridFileContents&, CheckBuoyEntry&, const QString& checkBuoyPath);
    bool checkBuoyAtFault;
};

void PrintTo(const PairCase& c, std::ostream* os)
{
    *os << c.name;
}

class GridFilePair : public testing::TestWithParam<PairCase> {};

// Whatever fails, fails before either file is touched: the old set-up file
// never stands beside a new check buoy or the other way round.
TEST_P(GridFilePair, AFailureLeavesBothFilesAsTheyWere)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid2.ipt"));
    const QString checkBuoyPath = CheckBuoyFilePath(path);
    const QByteArray oldSetup("old set-up\r\n");
    const QByteArray oldCheckBuoy("old check buoy\r\n");
    ASSERT_TRUE(WriteFileBytes(path, oldSetup));
    ASSERT_TRUE(WriteFileBytes(checkBuoyPath, oldCheckBuoy));

    GridFileContents g = knownGrid();
    CheckBuoyEntry checkBuoy{5250, 3000, QStringLiteral("1.5"), QStringLiteral("102.25")};
    GetParam().spoil(g, checkBuoy, checkBuoyPath);
    const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    const auto written = writeGridFiles(path, g, checkBuoy);
    ASSERT_FALSE(written);
    EXPECT_EQ(written.error().path, GetParam().checkBuoyAtFault ? checkBuoyPath : path);
    EXPECT_EQ(FileBytes(path), oldSetup);
    if (QFileInfo(checkBuoyPath).isFile()) {
        EXPECT_EQ(FileBytes(checkBuoyPath), oldCheckBuoy);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, GridFilePair,
    testing::Values(
        PairCase{"JumpAboveWhatTheFileCanHold",
                 [](GridFileContents& g, CheckBuoyEntry&, const QString&) { g.jumpY = largest; }, false},
        PairCase{"CheckBuoyNotANumber",
                 [](GridFileContents&, CheckBuoyEntry& cb, const QString&) { cb.screenX = std::nan(""); }, true},
        PairCase{"CheckBuoySurveyTooLarge",
                 [](GridFileContents&, CheckBuoyEntry& cb, const QString&) { cb.surveyYText = QStringLiteral("1e999"); },
                 true},
        PairCase{"CheckBuoyPathIsAFolder",
                 [](GridFileContents&, CheckBuoyEntry&, const QString& checkBuoyPath) {
                     QFile::remove(checkBuoyPath);
                     QDir().mkdir(checkBuoyPath);
                 },
                 true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(GridFile, ThePairIsWrittenWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("grid2.ipt"));
    ASSERT_TRUE(writeGridFiles(path, knownGrid(), {5250, 3000.5, QStringLiteral("1.50"), QStringLiteral(" -40.25")}));
    QByteArray expected = knownGridBytes;
    expected.replace("/data/setup/grid2.ipt", path.toLatin1());
    EXPECT_EQ(FileBytes(path), expected);
    EXPECT_EQ(FileBytes(CheckBuoyFilePath(path)), QByteArray(" 5250 \r\n 3000.5 \r\n1.50\r\n -40.25\r\n"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);
}

TEST(GridFile, ReadsTheKnownFile)
{
    const auto read = readBytes(knownGridBytes);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(*read, knownGrid());
}

TEST(GridFile, RoundTripKeepsFifteenSignificantDigits)
{
    GridFileContents g = knownGrid();
    g.description = QStringLiteral("  Grid 3, from the boat house; 2nd try  ");
    g.corners[0] = {1234.5678901234567, 98.76543210987654, -0.1 / 3, 2.0 / 3};
    g.coefficients = {std::acos(-1.0) * 1000, 1.0 / 7, -2.0 / 3, 1.23456789012345678e-7,
                      -9.87654321098765e-9,   1e20,    -1e-20,   0.1 + 0.2};
    g.jumpX = 123.456789012345678;
    g.jumpY = -0.000123456789012345;

    const auto read = readBytes(EncodeLines(GridFileLines(QStringLiteral("p"), g)));
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(read->description, g.description);
    const auto near = [](double a, double b) { return std::abs(a - b) <= 1e-14 * std::abs(b); };
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(near(read->corners[i].screenX, g.corners[i].screenX)) << i;
        EXPECT_TRUE(near(read->corners[i].screenY, g.corners[i].screenY)) << i;
        EXPECT_TRUE(near(read->corners[i].surveyX, g.corners[i].surveyX)) << i;
        EXPECT_TRUE(near(read->corners[i].surveyY, g.corners[i].surveyY)) << i;
    }
    for (std::size_t i = 0; i < 8; ++i)
        EXPECT_TRUE(near(read->coefficients[i], g.coefficients[i])) << "c" << i + 1;
    EXPECT_TRUE(near(read->jumpX, g.jumpX));
    EXPECT_TRUE(near(read->jumpY, g.jumpY));
    EXPECT_EQ(read->gridNumber, 2);
}

TEST(GridFile, CheckBuoyRoundTrip)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("g.ipt.cb"));
    ASSERT_TRUE(writeCheckBuoyFile(path, 4567.5, 2345.25, QStringLiteral("3.125"), QStringLiteral("-47.5")));
    const auto read = readCheckBuoyFile(path);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(*read, (CheckBuoyFileContents{4567.5, 2345.25, 3.125, -47.5}));
}

TEST(GridFile, AcceptsLineFeedOnlyFilesAndIgnoresWhatFollowsTheGridNumber)
{
    QByteArray bytes = knownGridBytes;
    bytes.replace("\r\n", "\n");
    bytes.append("written by hand afterwards, not a number\n");
    const auto read = readBytes(bytes);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(*read, knownGrid());
}

TEST(GridFile, ReadsADescriptionWithCommasWhole)
{
    const auto read = readBytes(knownGridBytes);
    ASSERT_TRUE(read);
    EXPECT_EQ(read->description, QStringLiteral("Tower view, left bank"));
}

TEST(GridFile, FieldsMayRunOverLineEndsAsTheListReaderTakesThem)
{
    // The list reader separates fields by commas or line ends alike.
    QByteArray bytes = knownGridBytes;
    bytes.replace(" 9000 , 1500 , 20.5 , 150 \r\n", " 9000 , 1500\r\n 20.5 , 150 \r\n");
    const auto read = readBytes(bytes);
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(*read, knownGrid());
}

struct MalformedCase {
    const char* name;
    QByteArray bytes;
    int line;
    const char* message;
};

QByteArray withLine(int line, const QByteArray& text)
{
    QList<QByteArray> lines = knownGridBytes.split('\n');
    lines[line - 1] = text + "\r";
    return lines.join('\n');
}

QByteArray withoutLastLine()
{
    QByteArray bytes = knownGridBytes;
    bytes.chop(QByteArray(" 2 \r\n").size());
    return bytes;
}

class MalformedGridFile : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedGridFile, NamesTheFileAndTheLine)
{
    const MalformedCase& c = GetParam();
    const auto read = readBytes(c.bytes, QStringLiteral("/data/setup/grid2.ipt"));
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, GridFileKind::SetupFile);
    EXPECT_EQ(read.error().line, c.line);
    EXPECT_EQ(read.error().message(), QString::fromLatin1(c.message));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedGridFile,
    testing::Values(
        MalformedCase{"ShortByOneLine", withoutLastLine(), 18,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: it ends after line 18 "
                      "with 28 of the 29 numbers it needs. Nothing was changed."},
        MalformedCase{"LetterInLine9", withLine(9, " .0003x "), 9,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 9 is not a "
                      "number. Nothing was changed."},
        MalformedCase{"EmptyLine3", withLine(3, ""), 3,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 3 is empty. "
                      "Nothing was changed."},
        MalformedCase{"BlankLine15", withLine(15, "   "), 15,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 15 is empty. "
                      "Nothing was changed."},
        MalformedCase{"CornerLineOneFieldShort", withLine(4, " 10500 , 6000 , 15.25 "), 19,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: it ends after line 19 "
                      "with 28 of the 29 numbers it needs. Nothing was changed."},
        MalformedCase{"EmptyFieldBetweenCommas", withLine(5, " 1500 ,, 1200 ,-20.5 , 150.75 "), 5,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 5 has an empty "
                      "field. Nothing was changed."},
        MalformedCase{"LetterInACornerField", withLine(6, " 750 , 66OO ,-12.125 , 60 "), 6,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 6 has a field "
                      "that is not a number. Nothing was changed."},
        MalformedCase{"TwoNumbersInOneField", withLine(16, "-3 4"), 16,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: line 16 is not a "
                      "number. Nothing was changed."},
        MalformedCase{"EmptyFile", QByteArray(), 0,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: it is empty. Nothing "
                      "was changed."},
        MalformedCase{"HeaderOnly", QByteArray("Initialization Points for file: x\r\n"), 1,
                      "The set-up file /data/setup/grid2.ipt cannot be loaded: it ends after line 1 "
                      "with 0 of the 29 numbers it needs. Nothing was changed."}),
    [](const testing::TestParamInfo<MalformedCase>& info) { return std::string(info.param.name); });

struct MalformedCheckCase {
    const char* name;
    QByteArray bytes;
    int line;
    const char* reason;
};

class MalformedCheckBuoyFile : public testing::TestWithParam<MalformedCheckCase> {};

TEST_P(MalformedCheckBuoyFile, NamesTheFileAndTheLine)
{
    const MalformedCheckCase& c = GetParam();
    const auto read = readCheckBytes(c.bytes);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().kind, GridFileKind::CheckBuoyFile);
    EXPECT_EQ(read.error().line, c.line);
    EXPECT_EQ(read.error().message(), QStringLiteral("The check buoy file g.ipt.cb cannot be loaded: ")
                                          + QString::fromLatin1(c.reason)
                                          + QStringLiteral(". Nothing was changed."));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MalformedCheckBuoyFile,
    testing::Values(
        MalformedCheckCase{"ThreeLines", " 5250 \r\n 3000 \r\n1.5\r\n", 3,
                           "it ends after line 3 with 3 of the 4 numbers it needs"},
        MalformedCheckCase{"LetterInLine2", " 5250 \r\nabc\r\n1.5\r\n2\r\n", 2, "line 2 is not a number"},
        MalformedCheckCase{"CommaDecimal", " 5250 \r\n 3000 \r\n12,5\r\n2\r\n", 3,
                           "line 3 is not a number"},
        MalformedCheckCase{"EmptyLine4", " 5250 \r\n 3000 \r\n1.5\r\n\r\n", 4, "line 4 is empty"},
        MalformedCheckCase{"Empty", "", 0, "it is empty"}),
    [](const testing::TestParamInfo<MalformedCheckCase>& info) { return std::string(info.param.name); });

TEST(GridFile, CheckBuoyFileAcceptsLineFeedsAndIgnoresExtraLines)
{
    const auto read = readCheckBytes(" 0 \n 3000 \n 1.5\n-2 \nextra\n");
    ASSERT_TRUE(read) << read.error().message().toStdString();
    EXPECT_EQ(*read, (CheckBuoyFileContents{0, 3000, 1.5, -2}));
}

TEST(GridFile, AMissingFileIsReportedWithoutALine)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("none.ipt"));
    const auto read = readGridFile(path);
    ASSERT_FALSE(read);
    EXPECT_EQ(read.error().line, 0);
    EXPECT_TRUE(read.error().message().startsWith(QStringLiteral("The set-up file ") + path
                                                  + QStringLiteral(" cannot be loaded: ")));
}

} // namespace
