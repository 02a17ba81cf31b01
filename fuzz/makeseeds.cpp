// Writes the starting inputs of the fuzz targets into the folder given, one
// folder per target: files as the station writes them, and small AVI files
// made by the ffmpeg command. Nothing binary is kept in the repository.
#include "common/numbertext.h"
#include "common/textfile.h"
#include "grid/gridfile.h"
#include "video/cdib.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <cstdio>

namespace {

bool write(const QDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QDir folder(const QString& root, const QString& target)
{
    QDir dir(root);
    dir.mkpath(target);
    return QDir(dir.filePath(target));
}

bool setupFiles(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("setupfile"));
    GridFileContents grid;
    grid.description = QStringLiteral("Site A, tower camera");
    grid.corners = {{{7500, 2400, 25, 90}, {9000, 6600, 25, 30}, {2000, 2500, -25, 90}, {500, 6500, -25, 30}}};
    grid.coefficients = {-48.5, 0.0061, -0.0012, 1.2e-5, 3.4e-4, 97.25, -2.1e-4, -0.0098};
    grid.jumpY = -2.5;
    return write(dir, QStringLiteral("grid.ipt"), EncodeLines(GridFileLines(QStringLiteral("C:\\qx\\grid.ipt"), grid)))
        && write(dir, QStringLiteral("grid.ipt.cb"),
                 EncodeLines(CheckBuoyFileLines(4810.5, 3997.25, QStringLiteral("3.5"), QStringLiteral("60.25"))));
}

bool fieldsFiles(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("fieldsfile"));
    const QByteArray fields = "upper_right_x=7500\nupper_right_y=2400\nur_survey_x=25\nur_survey_y=90\n"
                              "lower_right_x=9000\nlower_right_y=6600\nlr_survey_x=25\nlr_survey_y=30\n"
                              "upper_left_x=2000\nupper_left_y=2500\nul_survey_x=-25\nul_survey_y=90\n"
                              "lower_left_x=500\nlower_left_y=6500\nll_survey_x=-25\nll_survey_y=30\n"
                              "jump_x=0\njump_y=-2.5\ntxtCheckX=3.5\ntxtCheckY=60.25\n"
                              "txtCheckXpix=4810.5\ntxtCheckYpix=3997.25\ntxtPicWidth=9600\n"
                              "ipt_file_description_2=Site A, tower camera\n";
    return write(dir, QStringLiteral("tower.txt"), fields)
        && write(dir, QStringLiteral("short.txt"), "# only the corners\nupper_right_x=1E3\nlower_left_y=.5D1\n");
}

// Small recordings in the codecs a station meets, 8 frames each.
bool aviFiles(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("avifile"));
    const QList<QStringList> encodings = {
        {QStringLiteral("mjpeg.avi"), QStringLiteral("-c:v"), QStringLiteral("mjpeg")},
        {QStringLiteral("raw.avi"), QStringLiteral("-c:v"), QStringLiteral("rawvideo"), QStringLiteral("-pix_fmt"),
         QStringLiteral("bgr24")},
        {QStringLiteral("mpeg4.avi"), QStringLiteral("-c:v"), QStringLiteral("mpeg4"), QStringLiteral("-bf"),
         QStringLiteral("2"), QStringLiteral("-g"), QStringLiteral("4")},
        {QStringLiteral("h264.avi"), QStringLiteral("-c:v"), QStringLiteral("libx264"), QStringLiteral("-bf"),
         QStringLiteral("2"), QStringLiteral("-g"), QStringLiteral("4")},
    };
    bool any = false;
    for (const QStringList& e : encodings) {
        QStringList args{QStringLiteral("-v"), QStringLiteral("error"), QStringLiteral("-y"), QStringLiteral("-f"),
                         QStringLiteral("lavfi"), QStringLiteral("-i"),
                         QStringLiteral("testsrc=size=32x24:rate=10:duration=0.8")};
        args << e.mid(1) << dir.filePath(e.first());
        QProcess ffmpeg;
        ffmpeg.start(QStringLiteral("ffmpeg"), args);
        any = (ffmpeg.waitForFinished(60000) && ffmpeg.exitStatus() == QProcess::NormalExit && ffmpeg.exitCode() == 0)
            || any;
    }
    return any;
}

bool numberTexts(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("numbers"));
    const QList<QByteArray> texts = {"1.5", " -2.5E+3 ", "1.79769313486232E+308", "4.9E-324", ".5D2", "12abc",
                                     "-0", "1e-401", "  +7.", FilePrintNumber(0.1).toLatin1()};
    bool ok = true;
    for (qsizetype i = 0; i < texts.size(); ++i)
        ok = write(dir, QStringLiteral("n%1").arg(i), texts[i]) && ok;
    return ok;
}

bool skierLists(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("skierlist"));
    return write(dir, QStringLiteral("list.rtf"),
                 "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}{\\*\\generator x;}\\f0\\fs20 "
                 "Ann M\\'fcller, USA\\par Bob \\u8364?Smith\\tab CAN\\line {\\b Cy} \\{Dee\\}\\par}")
        && write(dir, QStringLiteral("list.txt"), "\"Smith, Ann\",USA\r\nBob Jones,CAN\r\n\xe9mile,FRA\n");
}

bool exchangeFiles(const QString& root)
{
    const QDir dir = folder(root, QStringLiteral("exchangefiles"));
    cDIB bitmap;
    if (!bitmap.Create24Bit(5, 3))
        return false;
    for (int i = 0; i < bitmap.SizeImage(); ++i)
        bitmap.Bits()[i] = uchar(i * 7);
    return write(dir, QStringLiteral("picture.bmp"), bitmap.FileBytes())
        && write(dir, QStringLiteral("qxskier.nam"), "\"Smith, Ann\",USA\r\n")
        && write(dir, QStringLiteral("clipflag.txt"), "Ready\r\n")
        && write(dir, QStringLiteral("jump.avi.info"), "/videos/Ann Smithjump1.avi, 84\r\n");
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rampscope-fuzz-seeds FOLDER\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    const bool ok = setupFiles(root) && fieldsFiles(root) && aviFiles(root) && numberTexts(root) && skierLists(root)
                    && exchangeFiles(root);
    if (!ok)
        std::fprintf(stderr, "rampscope-fuzz-seeds: the seeds could not all be written\n");
    return ok ? 0 : 1;
}
