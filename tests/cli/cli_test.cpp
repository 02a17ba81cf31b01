#include "cli/clicommands.h"
#include "independentsolve.h"
#include "support/filebytes.h"

#include "common/numbertext.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#endif

namespace {

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun run(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = RunCli(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QString exact(double v)
{
    return QString::number(v, 'g', 17);
}

bool closeRelative(double a, double b, double tolerance = 1e-9)
{
    return std::fabs(a - b) <= tolerance * std::max({std::fabs(a), std::fabs(b), 1e-300});
}

// The value after "name:" on its own line of the output.
QString valueOf(const QString& output, const QString& name)
{
    for (const QString& line : output.split(QLatin1Char('\n')))
        if (line.startsWith(name + QLatin1Char(':')))
            return line.mid(name.size() + 1);
    return {};
}

// A grid as seen from a shore tower: 640 x 480 frame, the far buoys closer
// together on the screen than the near ones.
class CliGrid : public ::testing::Test {
protected:
    const std::array<PointPair, 4> corners{{
        {7500, 2400, 25, 90},  // upper right
        {9000, 6600, 25, 30},  // lower right
        {2000, 2500, -25, 90}, // upper left
        {500, 6500, -25, 30},  // lower left
    }};
    std::array<double, 8> truth = IndependentCoefficients(corners);
    std::array<double, 2> checkScreen = IndependentSurveyToScreen(truth, 3.5, 60.25);
    QTemporaryDir dir;

    QString writeFields(const QStringList& skip = {}, const QStringList& extra = {})
    {
        const auto& ur = corners[0];
        const auto& lr = corners[1];
        const auto& ul = corners[2];
        const auto& ll = corners[3];
        QStringList lines{
            "upper_right_x=" + exact(ur.screenX), "upper_right_y=" + exact(ur.screenY),
            "ur_survey_x=" + exact(ur.surveyX), "ur_survey_y=" + exact(ur.surveyY),
            "lower_right_x=" + exact(lr.screenX), "lower_right_y=" + exact(lr.screenY),
            "lr_survey_x=" + exact(lr.surveyX), "lr_survey_y=" + exact(lr.surveyY),
            "upper_left_x=" + exact(ul.screenX), "upper_left_y=" + exact(ul.screenY),
            "ul_survey_x=" + exact(ul.surveyX), "ul_survey_y=" + exact(ul.surveyY),
            "lower_left_x=" + exact(ll.screenX), "lower_left_y=" + exact(ll.screenY),
            "ll_survey_x=" + exact(ll.surveyX), "ll_survey_y=" + exact(ll.surveyY),
            "jump_x=0", "jump_y=-2.5",
            "txtCheckX=3.5", "txtCheckY=60.25",
            "txtCheckXpix=" + exact(checkScreen[0]), "txtCheckYpix=" + exact(checkScreen[1]),
            "txtPicWidth=9600", "ipt_file_description_2=Site A, tower camera"};
        QStringList kept;
        for (const QString& line : lines)
            if (!skip.contains(line.section(QLatin1Char('='), 0, 0)))
                kept.append(line);
        kept.append(extra);
        const QString path = dir.filePath(QStringLiteral("fields.txt"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(kept.join(QLatin1Char('\n')).toLatin1());
        return path;
    }

    double independentDistance(double x, double y, double allowance) const
    {
        const double w = 1 + truth[3] * x + truth[4] * y;
        const double X = (truth[0] + truth[1] * x + truth[2] * y) / w;
        const double Y = (truth[5] + truth[6] * x + truth[7] * y) / w;
        return std::hypot(X - 0.0, Y - (-2.5)) + allowance;
    }
};

TEST_F(CliGrid, SolveAgreesWithAnIndependentSolution)
{
    const CliRun r = run({"solve", writeFields()});
    ASSERT_EQ(r.status, 0) << r.out.toStdString() << r.err.toStdString();
    const QStringList numbers = valueOf(r.out, "coefficients").split(QLatin1Char(' '), Qt::SkipEmptyParts);
    ASSERT_EQ(numbers.size(), 8) << r.out.toStdString();
    for (int i = 0; i < 8; ++i)
        EXPECT_TRUE(closeRelative(numbers[i].toDouble(), truth[i])) << "c" << i + 1 << " " << numbers[i].toStdString();
    EXPECT_FALSE(valueOf(r.out, "fov").isEmpty());
    // |9000 - 500| * 100 / 9600
    EXPECT_TRUE(closeRelative(valueOf(r.out, "front ratio").toDouble(), 8500.0 / 96.0, 1e-12));
    EXPECT_TRUE(closeRelative(valueOf(r.out, "back ratio").toDouble(), 5500.0 / 96.0, 1e-12));
}

TEST_F(CliGrid, SaveThenMeasureAgreesWithAnIndependentDistance)
{
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", writeFields(), "--save", ipt}).status, 0);
    ASSERT_TRUE(QFile::exists(ipt));
    ASSERT_TRUE(QFile::exists(ipt + ".cb"));

    struct Case {
        const char* type;
        double allowance;
    };
    for (const Case c : {Case{"normal", 2.1}, Case{"sitski", 1.9}, Case{"barefoot", 0.0}}) {
        for (const auto& [x, y] : {std::pair{4000.0, 4000.0}, std::pair{6120.0, 3405.0}, std::pair{900.0, 6400.0}}) {
            const CliRun r = run({"measure", ipt, exact(x), exact(y), "--type", c.type});
            ASSERT_EQ(r.status, 0) << r.err.toStdString();
            const double expected = independentDistance(x, y, c.allowance);
            EXPECT_TRUE(closeRelative(valueOf(r.out, "distance").toDouble(), expected, 1e-9))
                << c.type << " " << r.out.toStdString();
            EXPECT_DOUBLE_EQ(valueOf(r.out, "meters").toDouble(), std::floor(expected * 10 + 0.5) / 10);
            const double feet = std::string(c.type) == "normal" ? std::floor(expected / 0.3048 + 0.5)
                                                               : std::floor(expected / 0.03048 + 0.5) / 10;
            EXPECT_DOUBLE_EQ(valueOf(r.out, "feet").toDouble(), feet);
            EXPECT_TRUE(valueOf(r.out, "survey").contains(QLatin1Char('/')));
        }
    }
}

TEST_F(CliGrid, MeasureAtTheCheckBuoyFindsItsSurveyPoint)
{
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", writeFields(), "--save", ipt}).status, 0);
    const CliRun r = run({"measure", ipt, exact(checkScreen[0]), exact(checkScreen[1])});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(valueOf(r.out, "survey").toStdString(), " 3.5/ 60.25");
}

TEST_F(CliGrid, MeasurePrintsTheResultLineOfARecording)
{
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", writeFields(), "--save", ipt}).status, 0);
    EXPECT_TRUE(valueOf(run({"measure", ipt, "6120.4", "3405"}).out, "result line").isEmpty());

    struct Case {
        const char* type;
        double allowance;
        const char* barefoot;
    };
    for (const Case c : {Case{"normal", 2.1, ""}, Case{"sitski", 1.9, ""}, Case{"barefoot", 0.0, " BAREFOOT "}}) {
        const CliRun r
            = run({"measure", ipt, "6120.4", "3405", "--type", c.type, "--skier", "Ann Lee", "--jump", " 2"});
        ASSERT_EQ(r.status, 0) << r.err.toStdString();
        const QString line = valueOf(r.out, "result line");
        EXPECT_TRUE(QRegularExpression("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d ").match(line).hasMatch())
            << line.toStdString();
        const double d = independentDistance(6120.4, 3405, c.allowance);
        const QString tail = "Ann Lee  jump  2 - " + valueOf(r.out, "meters") + "m  (IWSF)" + valueOf(r.out, "feet")
            + "ft  (AWSA)" + c.barefoot + " (" + valueOf(r.out, "survey") + ") ( 6120/ 3405) ("
            + NumberText(std::floor(d * 10000 + 0.5) / 10000) + ")";
        EXPECT_EQ(line.mid(20), tail) << c.type;
    }

    const CliRun lone = run({"measure", ipt, "1", "2", "--skier", "Ann"});
    EXPECT_EQ(lone.status, 2);
    EXPECT_EQ(lone.err, "rampscope-cli: --skier and --jump go together\n");
}

TEST_F(CliGrid, IncompleteFieldsPrintTheOperatorsMessage)
{
    const CliRun r = run({"solve", writeFields({"jump_y"})});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.out.startsWith("Warning - Not all parameters have been set up on grid\n")) << r.out.toStdString();
    EXPECT_TRUE(valueOf(r.out, "coefficients").isEmpty());
}

TEST_F(CliGrid, InputErrorsGiveOneLineAndStatusTwo)
{
    const QString fields = writeFields();
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", fields, "--save", ipt}).status, 0);
    QFile::remove(ipt + ".cb");

    struct Case {
        QStringList args;
        const char* errorStart;
    };
    const Case cases[] = {
        {{}, "usage: rampscope-cli"},
        {{"frobnicate"}, "rampscope-cli: unknown command frobnicate"},
        {{"solve", dir.filePath("missing.txt")}, "rampscope-cli: cannot read"},
        {{"solve", fields, "--grid", "4"}, "rampscope-cli: --grid must be 1, 2 or 3"},
        {{"solve", fields, "--grid", "2", "--grids", "1"}, "rampscope-cli: --grid 2 is beyond --grids 1"},
        {{"solve", fields, "--bogus", "1"}, "rampscope-cli: unknown option --bogus"},
        {{"measure", dir.filePath("none.ipt"), "1", "2"}, "rampscope-cli: cannot read"},
        {{"measure", ipt, "12x", "2"}, "rampscope-cli: X and Y must be numbers"},
        {{"measure", ipt, "1", "2", "--type", "wakeboard"}, "rampscope-cli: --type must be"},
        {{"measure", ipt, "1", "2"}, "rampscope-cli: Error in load - no check buoy found - setup grid again"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.startsWith(QLatin1String(c.errorStart))) << r.err.toStdString();
        EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << r.err.toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    }
}

TEST_F(CliGrid, EveryFailureEndsWithOneLineOnErrAndAStatusThatIsNotZero)
{
    const QString gone = dir.filePath(QStringLiteral("gone/results.txt"));
    const QString taken = dir.filePath(QStringLiteral("taken.ipt"));
    ASSERT_TRUE(QDir().mkdir(taken + QStringLiteral(".cb")));
    // writeFields always writes the same file.
    const auto keptAs = [this](const QString& written, const QString& name) {
        const QString kept = dir.filePath(name);
        EXPECT_TRUE(QFile::rename(written, kept));
        return kept;
    };
    const QString incomplete = keptAs(writeFields({"jump_y"}), QStringLiteral("incomplete.txt"));
    const QString noWidth = keptAs(writeFields({"txtPicWidth"}, {"txtPicWidth=0"}), QStringLiteral("nowidth.txt"));
    const QString fields = writeFields();
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", fields, "--save", ipt}).status, 0);

    struct Case {
        const char* name;
        QStringList args;
        int status;
        QString err; // the whole line, or its start when it ends with "..."
    };
    const Case cases[] = {
        {"SolveNotReady", {"solve", incomplete}, 1,
         "rampscope-cli: the grid is not ready: Warning - Not all parameters have been set up on grid\n"},
        {"SolveReportNotWritten", {"solve", fields, "--results", gone}, 2,
         "rampscope-cli: Cannot write the set-up report to " + gone + ": ..."},
        {"SolveCheckBuoyFileNotWritten", {"solve", fields, "--save", taken}, 2,
         "rampscope-cli: Cannot write the check buoy file " + taken + ".cb: it is a folder. The grid was not saved.\n"},
        {"SolveRatiosNotComputed", {"solve", noWidth}, 2,
         "rampscope-cli: Calculation error (division by zero) while computing the front and back ratios. Nothing "
         "was changed.\n"},
        {"MeasureReportNotWritten", {"measure", ipt, "4000", "4000", "--results", gone}, 2,
         "rampscope-cli: Cannot write the set-up report to " + gone + ": ..."},
        {"MeasureWithoutCoordinates", {"measure", ipt}, 2,
         "usage: rampscope-cli measure FILE.ipt X Y [--type normal|sitski|barefoot] [--results FILE] [--skier NAME "
         "--jump TEXT]\n"},
        {"UnknownCommand", {"frobnicate"}, 2,
         "rampscope-cli: unknown command frobnicate; the commands are solve, measure, accuracy, info, extract, devices and record\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.name;
        if (c.err.endsWith(QLatin1String("..."))) {
            EXPECT_TRUE(r.err.startsWith(c.err.chopped(3))) << c.name << ": " << r.err.toStdString();
            EXPECT_EQ(r.err.count(QLatin1Char('\n')), 1) << c.name << ": " << r.err.toStdString();
        } else {
            EXPECT_EQ(r.err, c.err) << c.name;
        }
    }
    EXPECT_FALSE(QFile::exists(taken));
}

TEST(CliArguments, AreTakenAsTheSystemNamesFilesOrRefused)
{
    struct Case {
        const char* name;
        std::vector<const char*> argv;
        QStringList args; // empty: refused
    };
    const Case cases[] = {
        {"Plain", {"rampscope-cli", "measure", "g.ipt", "1", "2"}, {"measure", "g.ipt", "1", "2"}},
        {"Utf8", {"rampscope-cli", "measure", "Trib\xc3\xbcne.ipt"}, {"measure", QString::fromUtf8("Trib\u00fcne.ipt")}},
        {"NotUtf8", {"rampscope-cli", "measure", "Trib\xfcne.ipt"}, {}},
    };
    for (const Case& c : cases) {
        const auto args = CliArguments(int(c.argv.size()), c.argv.data());
        if (c.args.isEmpty()) {
            ASSERT_FALSE(args) << c.name;
            EXPECT_TRUE(args.error().startsWith(QLatin1String("argument 2 "))) << args.error().toStdString();
        } else {
            ASSERT_TRUE(args) << c.name;
            EXPECT_EQ(*args, c.args) << c.name;
        }
    }
}

#ifdef Q_OS_UNIX
// The shell hands the program the name's bytes as they are, which a
// QStringList argument of QProcess could not.
TEST_F(CliGrid, TheRealExecutableRefusesANameItCouldNotSaveUnderAndAnOutputItCannotWrite)
{
    QProcess process;
    process.setWorkingDirectory(dir.path());
    process.start(QStringLiteral("/bin/sh"), {"-c", "exec \"$0\" solve \"$1\" --save \"$(printf 'g\\377.ipt')\"",
                                              QStringLiteral(RAMPSCOPE_CLI_PATH), writeFields()});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    const QByteArray err = process.readAllStandardError();
    EXPECT_TRUE(err.startsWith("rampscope-cli: argument 4 ")) << err.toStdString();
    EXPECT_EQ(err.count('\n'), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("fields.txt")});

    if (!QFile::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(RAMPSCOPE_CLI_PATH), {"solve", writeFields()});
    ASSERT_TRUE(full.waitForFinished(30000));
    EXPECT_EQ(full.exitCode(), 2);
    EXPECT_EQ(full.readAllStandardError(), "rampscope-cli: the output could not be written\n");
}

// The disk fills up while the new set-up file is written: the old pair
// stays, and the run says so instead of ending with status 0.
TEST_F(CliGrid, ASaveOnAFullDiskKeepsTheOldFilesAndFails)
{
    const QString fields = writeFields();
    const QString ipt = dir.filePath(QStringLiteral("tower.ipt"));
    ASSERT_EQ(run({"solve", fields, "--save", ipt}).status, 0);
    const QByteArray oldSetup = FileBytes(ipt);
    const QByteArray oldCheckBuoy = FileBytes(ipt + ".cb");

    QProcess process;
    process.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{300, 300};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    process.start(QStringLiteral(RAMPSCOPE_CLI_PATH),
                  {"solve", fields, "--save", ipt, "--results", dir.filePath(QStringLiteral("results.txt"))});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_EQ(process.readAllStandardError().count('\n'), 1);
    EXPECT_EQ(FileBytes(ipt), oldSetup);
    EXPECT_EQ(FileBytes(ipt + ".cb"), oldCheckBuoy);
    EXPECT_EQ(QDir(dir.path()).entryList({"tower.ipt*"}, QDir::Files),
              (QStringList{QStringLiteral("tower.ipt"), QStringLiteral("tower.ipt.cb")}));
}
#endif

TEST_F(CliGrid, UnknownFieldNameIsRefused)
{
    const CliRun r = run({"solve", writeFields({}, {"uper_left_x=3"})});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(r.err.contains("unknown field 'uper_left_x'")) << r.err.toStdString();
}

TEST_F(CliGrid, TheRealExecutableRuns)
{
    QProcess process;
    process.start(QStringLiteral(RAMPSCOPE_CLI_PATH), {"solve", writeFields()});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    EXPECT_TRUE(process.readAllStandardOutput().contains("coefficients:"));
}

} // namespace
