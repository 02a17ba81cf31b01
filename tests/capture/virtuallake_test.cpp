#include "capture/avirecorder.h"
#include "capture/lake/lakescene.h"
#include "capture/lake/virtuallake.h"
#include "cli/clicommands.h"
#include "grid/picturesize.h"
#include "video/framedecoder.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <optional>
#include <thread>

namespace {

// A marker found in a frame by its colour: the middle in picture pixels (a
// click on pixel i reads i) and how far its pixels stray from it.
struct Marker {
    double x = 0.0;
    double y = 0.0;
    double spread = 0.0;
};

double colourDistance(QRgb a, QRgb b)
{
    return std::hypot(qRed(a) - qRed(b), qGreen(a) - qGreen(b), qBlue(a) - qBlue(b));
}

// The pixels of the colour give a first middle; then every pixel around it
// counts by how much of the colour it holds against the dark rim, so edge
// pixels weigh by their coverage and the middle comes out to a fraction of
// a pixel.
std::optional<Marker> findMarker(const QImage& frame, QRgb colour)
{
    double sx = 0, sy = 0;
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (colourDistance(frame.pixel(x, y), colour) < 60) {
                sx += x;
                sy += y;
                ++count;
            }
    if (count == 0)
        return std::nullopt;
    Marker m{sx / count, sy / count, 0.0};
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x)
            if (colourDistance(frame.pixel(x, y), colour) < 60)
                m.spread = std::max(m.spread, std::hypot(x - m.x, y - m.y));

    const QRgb rim = LakeScene::rimColour;
    const double cr = qRed(colour) - qRed(rim), cg = qGreen(colour) - qGreen(rim), cb = qBlue(colour) - qBlue(rim);
    const double window = std::sqrt(count / std::numbers::pi) + 1.0;
    double wx = 0, wy = 0, w = 0;
    for (int y = int(m.y - window) - 1; y <= int(m.y + window) + 1; ++y)
        for (int x = int(m.x - window) - 1; x <= int(m.x + window) + 1; ++x) {
            if (std::hypot(x - m.x, y - m.y) > window || !frame.valid(x, y))
                continue;
            const QRgb p = frame.pixel(x, y);
            const double a = ((qRed(p) - qRed(rim)) * cr + (qGreen(p) - qGreen(rim)) * cg
                              + (qBlue(p) - qBlue(rim)) * cb)
                / (cr * cr + cg * cg + cb * cb);
            const double weight = std::clamp(a, 0.0, 1.0);
            wx += weight * x;
            wy += weight * y;
            w += weight;
        }
    m.x = wx / w;
    m.y = wy / w;
    return m;
}

QImage frameAt(const VirtualLake& lake, double seconds)
{
    QImage frame;
    lake.render(seconds, frame);
    return frame;
}

struct CliRun {
    int status;
    QString out;
    QString err;
};

CliRun cli(const QStringList& args)
{
    QString out, err;
    QTextStream o(&out), e(&err);
    const int status = RunCli(args, o, e);
    o.flush();
    e.flush();
    return {status, out, err};
}

QString valueOf(const QString& output, const QString& name)
{
    for (const QString& line : output.split(QLatin1Char('\n')))
        if (line.startsWith(name + QLatin1Char(':')))
            return line.mid(name.size() + 1).trimmed();
    return {};
}

QString number(double v)
{
    return QString::number(v, 'g', 17);
}

// Straight distance from the jump point of the water point under a picture
// point, through the saved grid.
double measuredMetres(const QString& ipt, double x, double y)
{
    const CliRun r = cli({"measure", ipt, number(15 * x), number(15 * y), "--type", "barefoot"});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    return valueOf(r.out, "distance").toDouble();
}

// The contact frame as the operator gets it: recorded by the station's
// recorder at 30 fps from the lake's pictures and read back from the file.
QImage recordedContactFrame(const VirtualLake& lake, const QString& path)
{
    const int rate = 30;
    const int contact = int(std::lround(LakeScene::contactSeconds * rate));
    auto recorder = AviRecorder::start({path, lake.frameSize().width(), lake.frameSize().height(), rate, 0, 3});
    EXPECT_TRUE(recorder.has_value());
    if (!recorder)
        return {};
    for (int n = 0; n <= contact; ++n) {
        CapturedFrame frame;
        frame.timeUs = int64_t(n) * 1000000 / rate;
        frame.picture.reset(av_frame_alloc());
        frame.picture->format = AV_PIX_FMT_BGRA;
        frame.picture->width = lake.frameSize().width();
        frame.picture->height = lake.frameSize().height();
        EXPECT_GE(av_frame_get_buffer(frame.picture.get(), 0), 0);
        QImage picture(frame.picture->data[0], frame.picture->width, frame.picture->height,
                       frame.picture->linesize[0], QImage::Format_RGB32);
        lake.render(n / double(rate), picture);
        (*recorder)->submit(std::move(frame));
        while ((*recorder)->statistics().framesCaptured < n + 1 - 8) // a few in the queue at most
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    (*recorder)->stop();
    auto decoder = FrameDecoder::open(path, FrameDecoder::singleFrame());
    EXPECT_TRUE(decoder.has_value());
    if (!decoder)
        return {};
    const auto picture = (*decoder)->frame(contact);
    EXPECT_TRUE(picture.has_value());
    return picture ? picture->convertToFormat(QImage::Format_RGB32) : QImage();
}

struct CalibrationCase {
    QSize size;
    bool recorded; // through the recorder and back, rather than straight from the renderer
};

class LakeCalibration : public ::testing::TestWithParam<CalibrationCase> {};

// A newcomer's grid on the contact frame: the buoys clicked where the
// picture shows them, the survey typed from the course's documented values.
TEST_P(LakeCalibration, GridSolvedOnTheFrameMeasuresTheDocumentedLanding)
{
    const QSize size = GetParam().size;
    const VirtualLake lake(size);
    QTemporaryDir dir;
    const QImage frame = GetParam().recorded ? recordedContactFrame(lake, dir.filePath("jump.avi"))
                                             : frameAt(lake, LakeScene::contactSeconds);
    ASSERT_EQ(frame.size(), size);

    const char* const screenBoxes[5][2] = {{"upper_left_x", "upper_left_y"}, {"upper_right_x", "upper_right_y"},
                                           {"lower_left_x", "lower_left_y"}, {"lower_right_x", "lower_right_y"},
                                           {"txtCheckXpix", "txtCheckYpix"}};
    const char* const surveyBoxes[5][2] = {{"ul_survey_x", "ul_survey_y"}, {"ur_survey_x", "ur_survey_y"},
                                           {"ll_survey_x", "ll_survey_y"}, {"lr_survey_x", "lr_survey_y"},
                                           {"txtCheckX", "txtCheckY"}};
    QStringList lines{"jump_x=" + number(LakeScene::jumpX), "jump_y=" + number(LakeScene::jumpY),
                      "txtPicWidth=" + PictureSideTwips(size.width()), "ipt_file_description_2=Virtual lake"};
    for (int i = 0; i < 5; ++i) {
        const LakeScene::Buoy& buoy = LakeScene::buoys[i];
        const auto found = findMarker(frame, buoy.colour);
        ASSERT_TRUE(found) << buoy.name;
        EXPECT_LT(found->spread, size.width() / 40.0) << buoy.name << " is not one blob";
        lines << QString::fromLatin1(screenBoxes[i][0]) + "=" + number(15 * found->x)
              << QString::fromLatin1(screenBoxes[i][1]) + "=" + number(15 * found->y)
              << QString::fromLatin1(surveyBoxes[i][0]) + "=" + number(buoy.x)
              << QString::fromLatin1(surveyBoxes[i][1]) + "=" + number(buoy.y);
    }
    const QString fields = dir.filePath("fields.txt");
    QFile file(fields);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.join('\n').toLatin1());
    file.close();

    const QString ipt = dir.filePath("lake.ipt");
    const CliRun solved = cli({"solve", fields, "--save", ipt});
    ASSERT_EQ(solved.status, 0) << solved.out.toStdString() << solved.err.toStdString();
    EXPECT_EQ(valueOf(solved.out, "fov").toStdString(), "31.5");

    const auto binding = findMarker(frame, LakeScene::bindingColour);
    ASSERT_TRUE(binding);
    const double d0 = measuredMetres(ipt, binding->x, binding->y);
    // Metres of jump distance one pixel is worth here, as the accuracy check
    // reckons it.
    const double perPixel = std::max(std::fabs(measuredMetres(ipt, binding->x + 1, binding->y) - d0),
                                     std::fabs(measuredMetres(ipt, binding->x, binding->y + 1) - d0));
    EXPECT_LE(std::fabs(d0 - LakeScene::landingDistanceMetres), perPixel / 2) << "per pixel " << perPixel;

    const CliRun recorded = cli({"measure", ipt, number(15 * binding->x), number(15 * binding->y)});
    EXPECT_EQ(valueOf(recorded.out, "meters").toStdString(), "40.1");
}

INSTANTIATE_TEST_SUITE_P(Sizes, LakeCalibration,
                         ::testing::Values(CalibrationCase{QSize(640, 480), false},
                                           CalibrationCase{QSize(1920, 1080), false},
                                           CalibrationCase{QSize(1280, 720), true}));

// Pixels of thrown spray: nothing else in the picture is that white.
int sprayPixels(const QImage& frame)
{
    int count = 0;
    for (int y = 0; y < frame.height(); ++y)
        for (int x = 0; x < frame.width(); ++x) {
            const QRgb p = frame.pixel(x, y);
            count += qRed(p) >= 240 && qGreen(p) >= 240 && qBlue(p) >= 240;
        }
    return count;
}

TEST(VirtualLake, SkierTouchesTheWaterAtTheContactFrame)
{
    const VirtualLake lake(QSize(640, 480));
    const int contact = static_cast<int>(std::lround(LakeScene::contactSeconds * 30));
    const auto landing = lake.camera().project({LakeScene::landingX, LakeScene::landingY, 0.0});
    ASSERT_TRUE(landing);
    const struct {
        int frame;
        bool inTheAir;
    } cases[] = {{contact - 15, true}, {contact - 1, true}, {contact, false}, {contact + 6, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.frame);
        const QImage frame = frameAt(lake, c.frame / 30.0);
        const auto binding = findMarker(frame, LakeScene::bindingColour);
        ASSERT_TRUE(binding);
        if (c.inTheAir) {
            // Above the line the skis run on once down, and no splash yet.
            EXPECT_LT(binding->y, landing->y - 1.0);
            EXPECT_EQ(sprayPixels(frame), 0);
        } else {
            EXPECT_NEAR(binding->y, landing->y, 0.1);
            EXPECT_GT(sprayPixels(frame), 0);
        }
        if (c.frame == contact) {
            EXPECT_NEAR(binding->x, landing->x, 0.1);
        }
    }
    // Then the course empties and stays so.
    EXPECT_EQ(frameAt(lake, LakeScene::settledSeconds), frameAt(lake, 60.0));
    EXPECT_FALSE(findMarker(frameAt(lake, LakeScene::settledSeconds), LakeScene::bindingColour));
}

TEST(VirtualLake, SameTimeGivesTheSamePicture)
{
    const VirtualLake lake(QSize(1280, 720));
    const VirtualLake other(QSize(1280, 720));
    for (double seconds : {0.0, 1.5, LakeScene::contactSeconds, LakeScene::contactSeconds + 0.4}) {
        SCOPED_TRACE(seconds);
        QImage reused;
        lake.render(seconds + 0.7, reused);
        const uchar* bits = reused.constBits();
        lake.render(seconds, reused);
        EXPECT_EQ(reused.constBits(), bits) << "the caller's picture was not reused";
        EXPECT_EQ(reused, frameAt(other, seconds));
        EXPECT_EQ(reused.format(), QImage::Format_RGB32);
    }
}

} // namespace
