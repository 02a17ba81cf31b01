#include "cli/clicommands.h"

#include "grid/gridfile.h"
#include "support/qtprinters.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

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

// The tower grid of the accuracy tests, saved as a set-up file with its
// check buoy: 50 m x 60 m seen from a shore tower, jump point 2.5 m in front
// of the near buoys' line.
class CliAccuracy : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString setupFile;

    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        setupFile = QDir(dir.path()).absoluteFilePath(QStringLiteral("tower.ipt"));
        GridFileContents contents;
        contents.description = QStringLiteral("Site A, tower camera");
        contents.corners = {{{7500, 2400, 25, 90}, {9000, 6600, 25, 30}, {2000, 2500, -25, 90}, {500, 6500, -25, 30}}};
        contents.coefficients = {-68.72117048234198,     0.01449618300790504,    0.0002713267062224269,
                                 1.5504788379518806e-05, 0.00021240397251199808, 181.49073530381483,
                                 0.0007395833892547939,  -0.016955258543524587};
        contents.jumpX = 0;
        contents.jumpY = -2.5;
        contents.gridNumber = 1;
        ASSERT_TRUE(writeGridFile(setupFile, contents).has_value());
        ASSERT_TRUE(writeCheckBuoyFile(CheckBuoyFilePath(setupFile), 4321, 3456.5, "3.5", "60.25").has_value());
    }
};

TEST_F(CliAccuracy, PrintsTheReportThenTheLabelTable)
{
    const CliRun r = run({"accuracy", setupFile, "--width", "9600"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.err.isEmpty()) << r.err.toStdString();
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    // 25 header lines, 49 point lines, the closing line and its empty line,
    // 7 table rows and the end of the last row.
    ASSERT_EQ(lines.size(), 25 + 49 + 2 + 7 + 1) << r.out.toStdString();
    EXPECT_TRUE(QRegularExpression("^\\d\\d-\\d\\d-\\d{4}  \\d\\d:\\d\\d:\\d\\d Accuracy Check$").match(lines.at(0)).hasMatch())
        << lines.at(0).toStdString();
    const QStringList header{
        "Grid Set-up for accuracy check",
        setupFile,
        "Site A, tower camera",
        "Grid Number:  1 ",
        " ",
        "Front Ratio:  88",
        "Back Ratio:  57",
        "Upper Left X,Y Pixels:  2000   2500",
        "Upper Left X,Y Survey: -25   90",
        " ",
        "Lower Left X,Y Pixels:  500   6500",
        "Lower Left X,Y Survey: -25   30",
        " ",
        "Upper Right X,Y Pixels:  7500   2400",
        "Upper Right X,Y Survey:  25   90",
        " ",
        "Lower Right X,Y Pixels:  9000   6600",
        "Lower Right X,Y Survey:  25   30",
        " ",
        "Jump X,Y Survey:  0  -2.5",
        " ",
        "Check Buoy X,Y Pixels:  4321    3456.5 ",
        "Check Buoy X,Y Survey:  3.5   60.25",
        " ",
    };
    EXPECT_EQ(lines.mid(1, 24), header);
    EXPECT_EQ(lines.at(25),
              "xpix:  2000  ypix:  2500  x: -24.95  y:  89.65  distance:  97.92  v inc:  97.57  h inc:  97.88  delta:  .35");
    EXPECT_EQ(lines.at(25 + 48),
              "xpix:  9000  ypix:  6600  x:  24.97  y:  29.86  distance:  43.1  v inc:  42.98  h inc:  43.16  delta:  .13");
    EXPECT_EQ(lines.at(74), "Accuracy Check Complete");
    EXPECT_EQ(lines.at(75), "");
    const QStringList table{
        "      NH      NH      NH      NH      NH      NH      NH",
        "      NH      NH      NH      NH      NH      NH      NH",
        "      NH      NH      NH      NH      NH      NH      NH",
        "      NH      NH      NH      NH      NH      NH      NH",
        "       C       C       C       C       C       C       C",
        "       C       C       C       C       C       C       L",
        "       L       L       L       L       L       L       L",
    };
    EXPECT_EQ(lines.mid(76, 7), table);
}

TEST_F(CliAccuracy, DistanceAndDetailTables)
{
    CliRun r = run({"accuracy", setupFile, "--width", "9600", "--mode", "distance"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 84);
    EXPECT_EQ(lines.at(76), "    97.9      96    94.9    94.6      95    96.1    97.9");
    EXPECT_EQ(lines.at(82), "    43.1    38.4    35.5    34.6    35.8    38.8    43.1");

    r = run({"accuracy", setupFile, "--mode", "detail", "--width", "9600"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    lines = r.out.split(QLatin1Char('\n'));
    ASSERT_EQ(lines.size(), 84);
    EXPECT_EQ(lines.at(79), "     .21     .21     .21     .21     .21      .2      .2");
}

TEST_F(CliAccuracy, DefaultWidthGivesTheFrontRatioWarningOnErr)
{
    // |9000 - 500| * 100 / 12000 = 70.8
    const CliRun r = run({"accuracy", setupFile});
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.err, "Front ratio is  70%  Zoom camera in until front is > 85%\n");
    const QStringList lines = r.out.split(QLatin1Char('\n'));
    ASSERT_GT(lines.size(), 8);
    EXPECT_EQ(lines.at(6), "Front Ratio:  70");
    EXPECT_EQ(lines.at(7), "Back Ratio:  45");
}

TEST_F(CliAccuracy, InputErrorsGiveOneLineAndStatusTwo)
{
    struct Case {
        QStringList args;
        QString err;
    };
    const QString missing = QDir(dir.path()).absoluteFilePath("missing.ipt");
    const Case cases[] = {
        {{"accuracy", setupFile, "--mode", "letters"}, "rampscope-cli: --mode must be letter, distance or detail\n"},
        {{"accuracy", setupFile, "--width", "0"}, "rampscope-cli: --width must be a positive number of twips\n"},
        {{"accuracy", setupFile, "--width", "wide"}, "rampscope-cli: --width must be a positive number of twips\n"},
        {{"accuracy", setupFile, "--grid", "2"}, "rampscope-cli: unknown option --grid\n"},
        {{"accuracy", missing}, "rampscope-cli: cannot read " + missing + "\n"},
    };
    for (const Case& c : cases) {
        const CliRun r = run(c.args);
        EXPECT_EQ(r.status, 2) << c.args.join(' ').toStdString();
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.isEmpty());
    }
    const CliRun noFile = run({"accuracy"});
    EXPECT_EQ(noFile.status, 2);
    EXPECT_TRUE(noFile.err.contains("rampscope-cli accuracy FILE.ipt [--width TWIPS] [--mode letter|distance|detail]"));
}

TEST_F(CliAccuracy, AMeshPointWithNoPlaceOnTheScreenIsNamedByItsRowAndColumn)
{
    // Left corners so far apart that the mesh between them overflows: the
    // upper-left node is still measured, the one below it has no position.
    auto contents = readGridFile(setupFile);
    ASSERT_TRUE(contents);
    contents->corners[slotIndex(CornerSlot::UpperLeft)].screenY = -1e308;
    contents->corners[slotIndex(CornerSlot::LowerLeft)].screenY = 1e308;
    ASSERT_TRUE(writeGridFile(setupFile, *contents));

    const CliRun r = run({"accuracy", setupFile, "--width", "9600"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "rampscope-cli: calculation error (overflow) at the mesh point in row 2, column 1, whose screen "
                     "position is out of range; the check stopped there\n");
    EXPECT_TRUE(r.out.contains("xpix:  2000  ypix: -1E+308")) << r.out.toStdString();
}

TEST_F(CliAccuracy, GridWithoutCheckBuoyIsRefused)
{
    ASSERT_TRUE(QFile::remove(CheckBuoyFilePath(setupFile)));
    const CliRun r = run({"accuracy", setupFile});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "rampscope-cli: Error in load - no check buoy found - setup grid again\n");
    EXPECT_TRUE(r.out.isEmpty());
}

} // namespace
