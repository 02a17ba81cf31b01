#include "fuzzchecks.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

struct Replay {
    const char* name;
    QString (*check)(const QByteArray&);
    QByteArray input;
};

const Replay replays[] = {
    {"SetupFileNearTheLargestDouble", FuzzChecks::SetupFile,
     "x\r\nd\r\n1.79769313486232E+308" + QByteArray(28 * 3, ',') + "\r\n"},
    {"CheckBuoyFileOfTinyNumbers", FuzzChecks::SetupFile, "4.9E-324\r\n-1e-320\r\n1E-401\r\n0\r\n"},
    {"FieldsWithoutEquals", FuzzChecks::FieldsFile, "upper_right_x\n"},
    {"FieldsOfHugeNumbers", FuzzChecks::FieldsFile, "upper_right_x=1e308\nlower_right_x=-1e308\ntxtPicWidth=1e-320\n"},
    {"AviHeaderOnly", FuzzChecks::AviFile, QByteArray::fromHex("52494646040000004156492000")},
    {"NumberAfterANoBreakSpace", FuzzChecks::Numbers, "\xa0" "3"},
    {"NumberJustAboveTheLargestDouble", FuzzChecks::Numbers, "1.7976931348623159E308"},
    {"NumberBelowTheSmallestDouble", FuzzChecks::Numbers, "0.0000000000000000000000000000001E-300"},
    {"NumberWithABareExponent", FuzzChecks::Numbers, " -.5D+"},
    {"RtfCutInsideAnEscape", FuzzChecks::SkierList, "{\\rtf1 a\\'e"},
    {"RtfNegativeUnicode", FuzzChecks::SkierList, "{\\rtf1\\uc2\\u-10179??\\u-8704?x}"},
};

class FuzzReplay : public ::testing::TestWithParam<Replay> {};

TEST_P(FuzzReplay, IsHandledAsTheFuzzTargetRequires)
{
    EXPECT_EQ(GetParam().check(GetParam().input).toStdString(), "");
}

INSTANTIATE_TEST_SUITE_P(Found, FuzzReplay, ::testing::ValuesIn(replays),
                         [](const auto& info) { return std::string(info.param.name); });

// Longer inputs (recordings) are files in data/, named after their target,
// written as fuzz/replaytext.py prints them: hexadecimal bytes, a run of one
// byte as BB*COUNT.
QByteArray fromReplayText(const QByteArray& text)
{
    QByteArray bytes;
    for (const QByteArray& token : text.simplified().split(' ')) {
        const qsizetype star = token.indexOf('*');
        if (star < 0)
            bytes += QByteArray::fromHex(token);
        else
            bytes += QByteArray(token.mid(star + 1).toInt(), QByteArray::fromHex(token.left(star)).at(0));
    }
    return bytes;
}

TEST(FuzzReplayFiles, AreHandledAsTheirFuzzTargetRequires)
{
    const std::map<QString, QString (*)(const QByteArray&)> targets{
        {"setupfile", FuzzChecks::SetupFile}, {"fieldsfile", FuzzChecks::FieldsFile},
        {"avifile", FuzzChecks::AviFile},     {"numbers", FuzzChecks::Numbers},
        {"skierlist", FuzzChecks::SkierList}};
    const QDir data(QStringLiteral(RAMPSCOPE_TEST_DATA_DIR));
    const QStringList files = data.entryList({QStringLiteral("*.txt")}, QDir::Files);
    EXPECT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        const auto target = targets.find(name.section(QLatin1Char('-'), 0, 0));
        ASSERT_NE(target, targets.end()) << name.toStdString();
        QFile file(data.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
        EXPECT_EQ(target->second(fromReplayText(file.readAll())).toStdString(), "") << name.toStdString();
    }
}

} // namespace
