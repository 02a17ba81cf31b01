#include "numberedvideo.h"
#include "testvideos.h"

#include "video/frameplayer.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QSignalSpy>
#include <QSlider>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <random>

namespace {

using TestVideos::Kind;

// Generous: playing 60 frames takes 2 s of wall clock, more on a loaded
// machine; nothing here asserts on timing.
constexpr int playTimeoutMs = 20000;

int shownNumber(const FramePlayer& player)
{
    return NumberedVideo::ReadNumber(player.currentPicture());
}

std::vector<int64_t> framesOf(const QSignalSpy& spy)
{
    std::vector<int64_t> frames;
    for (const QList<QVariant>& arguments : spy)
        frames.push_back(arguments.at(0).value<int64_t>());
    return frames;
}

struct CodecCase {
    const char* name;
    Kind kind;
};

class PlayerShowsExactFrames : public ::testing::TestWithParam<CodecCase> {
protected:
    void SetUp() override
    {
        if (!TestVideos::Available(GetParam().kind))
            GTEST_SKIP() << "ffmpeg has no " << TestVideos::EncoderOf(GetParam().kind).toStdString() << " encoder";
        const QString path = TestVideos::Path(GetParam().kind);
        ASSERT_FALSE(path.isEmpty());
        const auto opened = player.setFileName(path);
        ASSERT_TRUE(opened.has_value()) << opened.error().text.toStdString();
    }

    void expectShown(int64_t frame)
    {
        player.setPosition(frame);
        ASSERT_EQ(player.position(), frame);
        ASSERT_EQ(shownNumber(player), frame) << "asked for frame " << frame;
    }

    FramePlayer player;
};

TEST_P(PlayerShowsExactFrames, OpensOnFrameZero)
{
    EXPECT_TRUE(player.isOpen());
    EXPECT_EQ(player.frameCount(), TestVideos::frames);
    EXPECT_EQ(player.frameRate(), 30.0);
    EXPECT_EQ(player.position(), 0);
    EXPECT_EQ(shownNumber(player), 0);
    EXPECT_EQ(player.currentPicture().size(), QSize(160, 120));
}

TEST_P(PlayerShowsExactFrames, ForwardsBackwardsAndAtRandom)
{
    for (int64_t n = 0; n < TestVideos::frames; ++n)
        expectShown(n);
    for (int64_t n = TestVideos::frames - 1; n >= 0; --n)
        expectShown(n);
    std::mt19937 random(7);
    std::uniform_int_distribution<int64_t> anyFrame(0, TestVideos::frames - 1);
    for (int i = 0; i < 40; ++i)
        expectShown(anyFrame(random));
}

const CodecCase codecCases[] = {
    {"Mjpeg", Kind::Mjpeg},
    {"Raw", Kind::Raw},
    {"H264", Kind::H264},
    {"H264OpenGop", Kind::H264OpenGop},
    {"Mpeg4OpenGop", Kind::Mpeg4OpenGop},
    {"Mpeg2", Kind::Mpeg2},
};

INSTANTIATE_TEST_SUITE_P(Codecs, PlayerShowsExactFrames, ::testing::ValuesIn(codecCases),
                         [](const auto& info) { return std::string(info.param.name); });

class OpenPlayer : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto opened = player.setFileName(TestVideos::Path(Kind::Mjpeg));
        ASSERT_TRUE(opened.has_value()) << opened.error().text.toStdString();
    }

    QSlider* slider() { return player.findChild<QSlider*>(); }

    FramePlayer player;
};

TEST_F(OpenPlayer, PositionIsHeldInsideTheStream)
{
    const struct {
        int64_t asked;
        int64_t shown;
    } cases[] = {
        {-1, 0},
        {-(int64_t{1} << 40), 0},
        {TestVideos::frames, TestVideos::frames - 1},
        {int64_t{1} << 40, TestVideos::frames - 1}, // beyond any 32-bit count
        {std::numeric_limits<int64_t>::max(), TestVideos::frames - 1},
        {33, 33},
    };
    for (const auto& c : cases) {
        player.setPosition(c.asked);
        EXPECT_EQ(player.position(), c.shown) << c.asked;
        EXPECT_EQ(shownNumber(player), c.shown) << c.asked;
    }
}

TEST_F(OpenPlayer, PositionChangedOnlyWhenTheFrameChanges)
{
    QSignalSpy changed(&player, &FramePlayer::positionChanged);
    player.setPosition(5);
    player.setPosition(5);
    player.setPosition(-3);
    player.setPosition(0);
    EXPECT_EQ(framesOf(changed), (std::vector<int64_t>{5, 0}));
}

TEST_F(OpenPlayer, SliderMovesThePictureAndFollowsThePosition)
{
    ASSERT_NE(slider(), nullptr);
    EXPECT_EQ(slider()->orientation(), Qt::Horizontal);
    EXPECT_EQ(slider()->minimum(), 0);
    EXPECT_EQ(slider()->maximum(), TestVideos::frames - 1);

    QSignalSpy changed(&player, &FramePlayer::positionChanged);
    slider()->setValue(25);
    EXPECT_EQ(player.position(), 25);
    EXPECT_EQ(shownNumber(player), 25);

    player.setPosition(41);
    EXPECT_EQ(slider()->value(), 41);
    // One change each: following the position does not move it again.
    EXPECT_EQ(framesOf(changed), (std::vector<int64_t>{25, 41}));
}

TEST_F(OpenPlayer, EmptyNameCloses)
{
    player.setPosition(12);
    player.setSelectionStart(3);
    player.setSelectionEnd(9);
    player.play();
    ASSERT_TRUE(player.setFileName(QString()).has_value());

    EXPECT_FALSE(player.isOpen());
    EXPECT_TRUE(player.fileName().isEmpty());
    EXPECT_TRUE(player.currentPicture().isNull());
    EXPECT_EQ(player.position(), 0);
    EXPECT_EQ(player.selectionStart(), 0);
    EXPECT_EQ(player.selectionEnd(), 0);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.frameCount(), 0);
    EXPECT_EQ(player.frameRate(), 0.0);
    EXPECT_FALSE(slider()->isEnabled());

    player.setPosition(10);
    EXPECT_EQ(player.position(), 0);
    player.play();
    EXPECT_FALSE(player.isPlaying());
}

TEST_F(OpenPlayer, FileThatCannotBeOpenedLeavesThePlayerClosed)
{
    const QString text = TestVideos::ScratchDirectory() + QStringLiteral("/notes.avi");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Jump 1: 52.3 m\r\n");
    file.close();
    const QString missing = TestVideos::ScratchDirectory() + QStringLiteral("/missing.avi");

    for (const QString& path : {text, missing}) {
        ASSERT_TRUE(player.setFileName(TestVideos::Path(Kind::Mjpeg)).has_value());
        player.setPosition(20);
        const auto opened = player.setFileName(path);
        ASSERT_FALSE(opened.has_value()) << path.toStdString();
        EXPECT_EQ(opened.error().text, QStringLiteral("There was an error working with the file:\r\n") + path);
        EXPECT_FALSE(player.isOpen());
        EXPECT_TRUE(player.fileName().isEmpty());
        EXPECT_TRUE(player.currentPicture().isNull());
        EXPECT_EQ(player.position(), 0);
    }
}

TEST_F(OpenPlayer, PlayingEndsExactlyOnTheSelectionsEnd)
{
    player.setPosition(40);
    player.setSelectionStart(10);
    player.setSelectionEnd(20);
    QSignalSpy changed(&player, &FramePlayer::positionChanged);
    QSignalSpy ended(&player, &FramePlayer::playEnded);
    player.play();
    EXPECT_TRUE(player.isPlaying());
    ASSERT_TRUE(ended.wait(playTimeoutMs));
    QTest::qWait(100);

    EXPECT_EQ(ended.count(), 1);
    EXPECT_FALSE(player.isPlaying());
    EXPECT_EQ(player.position(), 20);
    EXPECT_EQ(shownNumber(player), 20);
    const std::vector<int64_t> frames = framesOf(changed);
    ASSERT_FALSE(frames.empty());
    EXPECT_EQ(frames.front(), 10);
    EXPECT_EQ(frames.back(), 20);
    EXPECT_TRUE(std::is_sorted(frames.begin(), frames.end()));
    EXPECT_TRUE(std::ranges::all_of(frames, [](int64_t f) { return f >= 10 && f <= 20; }));
}

TEST_F(OpenPlayer, SelectionWithoutLengthPlaysTheWholeFile)
{
    for (const auto& [start, end] : {std::pair<int64_t, int64_t>{30, 30}, {50, 12}}) {
        player.setPosition(45);
        player.setSelectionStart(start);
        player.setSelectionEnd(end);
        QSignalSpy changed(&player, &FramePlayer::positionChanged);
        QSignalSpy ended(&player, &FramePlayer::playEnded);
        player.play();
        ASSERT_TRUE(ended.wait(playTimeoutMs)) << start << " " << end;
        const std::vector<int64_t> frames = framesOf(changed);
        ASSERT_FALSE(frames.empty());
        EXPECT_EQ(frames.front(), 0);
        EXPECT_EQ(frames.back(), TestVideos::frames - 1);
        EXPECT_EQ(shownNumber(player), TestVideos::frames - 1);
        EXPECT_EQ(ended.count(), 1);
    }
}

TEST_F(OpenPlayer, SelectionOfOneFrameEndsAtOnce)
{
    player.setSelectionStart(7);
    player.setSelectionEnd(8);
    QSignalSpy ended(&player, &FramePlayer::playEnded);
    player.play();
    ASSERT_TRUE(ended.wait(playTimeoutMs));
    EXPECT_EQ(player.position(), 8);
    EXPECT_EQ(shownNumber(player), 8);
}

TEST_F(OpenPlayer, StopHoldsTheFrameOnScreen)
{
    QSignalSpy changed(&player, &FramePlayer::positionChanged);
    QSignalSpy ended(&player, &FramePlayer::playEnded);
    player.play();
    ASSERT_TRUE(QTest::qWaitFor([&] { return player.position() >= 3; }, playTimeoutMs));
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    const int64_t stoppedAt = player.position();
    const qsizetype changes = changed.count();
    QTest::qWait(300);
    EXPECT_EQ(player.position(), stoppedAt);
    EXPECT_EQ(shownNumber(player), stoppedAt);
    EXPECT_EQ(changed.count(), changes);
    EXPECT_EQ(ended.count(), 0);
}

TEST_F(OpenPlayer, PictureFillsTheAreaAboveTheSliderKeepingItsShape)
{
    player.setFixedSize(385, 361);
    player.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&player));
    player.setPosition(37);
    const QImage shot = player.grab().toImage();
    ASSERT_EQ(shot.size(), QSize(385, 361));

    // 160 x 120 widened to 385 across is 289 high, centred above the slider.
    const int areaHeight = slider()->geometry().top();
    ASSERT_GT(areaHeight, 289);
    const int top = (areaHeight - 289) / 2;
    const QRect picture(0, top, 385, 289);
    EXPECT_EQ(shot.pixelColor(192, top / 2), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(192, top + 289 + (areaHeight - top - 289) / 2), QColor(Qt::black));
    const QImage back = shot.copy(picture).scaled(160, 120, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    EXPECT_EQ(NumberedVideo::ReadNumber(back), 37);
}

// The player in a screen as the frame selection screen holds it: fixed size,
// either in a layout between other controls or placed by hand.
class EmbeddedPlayer : public OpenPlayer, public ::testing::WithParamInterface<bool> {
protected:
    bool inLayout() const { return GetParam(); }

    void SetUp() override
    {
        OpenPlayer::SetUp();
        player.setParent(&screen);
        player.setFixedSize(385, 361);
        if (inLayout()) {
            auto* layout = new QVBoxLayout(&screen);
            layout->addWidget(new QLabel(QStringLiteral("Jump 3"), &screen));
            layout->addWidget(&player);
            layout->addWidget(new QLabel(QStringLiteral("Selection"), &screen));
        } else {
            screen.resize(600, 500);
            player.move(120, 45);
        }
        screen.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&screen));
        normal = player.geometry();
        if (!inLayout()) {
            ASSERT_EQ(normal, QRect(120, 45, 385, 361));
        }
    }

    void TearDown() override { player.setParent(nullptr); }

    void expectBackInTheScreen()
    {
        EXPECT_NE(player.displaySize(), FramePlayer::fullScreenSize);
        EXPECT_FALSE(player.isWindow());
        EXPECT_EQ(player.parentWidget(), &screen);
        if (inLayout()) {
            EXPECT_EQ(screen.layout()->indexOf(&player), 1);
        }
        EXPECT_TRUE(player.isVisible());
        EXPECT_EQ(player.geometry(), normal);
        QApplication::processEvents();
        EXPECT_EQ(player.geometry(), normal); // nothing late moves it again
        EXPECT_EQ(player.minimumSize(), QSize(385, 361));
        EXPECT_EQ(player.maximumSize(), QSize(385, 361));
        EXPECT_TRUE(slider()->isVisible());
    }

    void expectFullScreen()
    {
        EXPECT_EQ(player.displaySize(), FramePlayer::fullScreenSize);
        EXPECT_TRUE(player.isWindow());
        EXPECT_TRUE(player.isFullScreen());
        // The window system takes its time to say the window has grown.
        (void)QTest::qWaitFor([&] { return player.geometry() == player.screen()->geometry(); }, 5000);
        EXPECT_EQ(player.geometry(), player.screen()->geometry());
        EXPECT_FALSE(slider()->isVisible());
    }

    QWidget screen;
    QRect normal;
};

INSTANTIATE_TEST_SUITE_P(Placements, EmbeddedPlayer, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "InLayout" : "PlacedByHand"; });

TEST_P(EmbeddedPlayer, FullScreenAndBackToItsPlace)
{
    QSignalSpy sizes(&player, &FramePlayer::displaySizeChanged);
    player.setDisplaySize(FramePlayer::fullScreenSize);
    expectFullScreen();
    player.setDisplaySize(1);
    expectBackInTheScreen();
    EXPECT_EQ(player.displaySize(), 1);

    player.setDisplaySize(FramePlayer::fullScreenSize);
    expectFullScreen();
    player.setDisplaySize(FramePlayer::fullScreenSize); // again: nothing moves
    expectFullScreen();
    player.setDisplaySize(FramePlayer::normalSize);
    expectBackInTheScreen();
    ASSERT_EQ(sizes.count(), 5);
    EXPECT_EQ(sizes.at(1).at(0).toInt(), 1);
}

TEST_P(EmbeddedPlayer, EscapeLeavesFullScreenWithoutReachingTheKeyHandlers)
{
    QSignalSpy down(&player, &FramePlayer::keyDown);
    QSignalSpy sizes(&player, &FramePlayer::displaySizeChanged);
    player.setDisplaySize(FramePlayer::fullScreenSize);
    expectFullScreen();
    QTest::keyClick(&player, Qt::Key_Escape);
    expectBackInTheScreen();
    EXPECT_EQ(player.displaySize(), FramePlayer::normalSize);
    EXPECT_EQ(down.count(), 0);
    ASSERT_EQ(sizes.count(), 2);
    EXPECT_EQ(sizes.at(1).at(0).toInt(), FramePlayer::normalSize);

    // At normal size Escape is the station's key like any other.
    QTest::keyClick(&player, Qt::Key_Escape);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), 27);
}

TEST_P(EmbeddedPlayer, ClickInFullScreenPlaysTheSelectionAgain)
{
    player.setSelectionStart(50);
    player.setSelectionEnd(55);
    QSignalSpy ended(&player, &FramePlayer::playEnded);
    QTest::mouseClick(&player, Qt::LeftButton); // normal size: no replay
    EXPECT_FALSE(player.isPlaying());

    player.setDisplaySize(FramePlayer::fullScreenSize);
    for (int replay = 1; replay <= 2; ++replay) {
        QTest::mouseClick(&player, Qt::LeftButton, {}, QPoint(100, 100));
        ASSERT_TRUE(ended.wait(playTimeoutMs));
        EXPECT_EQ(ended.count(), replay);
        EXPECT_EQ(shownNumber(player), 55);
    }
}

TEST(FramePlayerKeys, KeyCodesAreWindowsVirtualKeys)
{
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    } cases[] = {
        {Qt::Key_0, Qt::KeypadModifier, 96},
        {Qt::Key_4, Qt::KeypadModifier, 100},
        {Qt::Key_6, Qt::KeypadModifier, 102},
        {Qt::Key_9, Qt::KeypadModifier, 105},
        {Qt::Key_0, Qt::NoModifier, 48},
        {Qt::Key_4, Qt::NoModifier, 52},
        {Qt::Key_9, Qt::ShiftModifier, 57},
        {Qt::Key_Left, Qt::NoModifier, 37},
        {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Right, Qt::NoModifier, 39},
        {Qt::Key_Down, Qt::NoModifier, 40},
        {Qt::Key_Left, Qt::KeypadModifier, 37},
        {Qt::Key_Escape, Qt::NoModifier, 27},
        {Qt::Key_Return, Qt::NoModifier, 13},
        {Qt::Key_Enter, Qt::KeypadModifier, 13},
        {Qt::Key_Space, Qt::NoModifier, 32},
        {Qt::Key_A, Qt::NoModifier, 65},
        {Qt::Key_M, Qt::ShiftModifier, 77},
        {Qt::Key_Z, Qt::ControlModifier, 90},
        {Qt::Key_F1, Qt::NoModifier, 112},
        {Qt::Key_F12, Qt::NoModifier, 123},
        {Qt::Key_F13, Qt::NoModifier, 0},
        {Qt::Key_Home, Qt::NoModifier, 0},
        {Qt::Key_Plus, Qt::KeypadModifier, 0},
        {Qt::Key_Shift, Qt::ShiftModifier, 0},
    };
    for (const auto& c : cases) {
        const QKeyEvent event(QEvent::KeyPress, c.key, c.modifiers);
        EXPECT_EQ(FramePlayer::KeyCodeOf(event), c.code) << "key 0x" << std::hex << c.key;
    }
}

TEST(FramePlayerKeys, KeysGoingDownAndUpReachTheHandlers)
{
    FramePlayer player;
    EXPECT_EQ(player.focusPolicy(), Qt::StrongFocus);
    QSignalSpy down(&player, &FramePlayer::keyDown);
    QSignalSpy up(&player, &FramePlayer::keyUp);

    QTest::keyClick(&player, Qt::Key_4, Qt::KeypadModifier);
    QTest::keyClick(&player, Qt::Key_Right);
    // Held down: repeats go down again but come up only once.
    QKeyEvent repeatDown(QEvent::KeyPress, Qt::Key_6, Qt::KeypadModifier, QString(), true);
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_6, Qt::KeypadModifier, QString(), true);
    QApplication::sendEvent(&player, &repeatDown);
    QApplication::sendEvent(&player, &repeatUp);
    QApplication::sendEvent(&player, &repeatDown);
    QTest::keyRelease(&player, Qt::Key_6, Qt::KeypadModifier);
    // A key without a code says nothing.
    QTest::keyClick(&player, Qt::Key_Home);

    auto codes = [](const QSignalSpy& spy) {
        std::vector<int> result;
        for (const QList<QVariant>& arguments : spy)
            result.push_back(arguments.at(0).toInt());
        return result;
    };
    EXPECT_EQ(codes(down), (std::vector<int>{100, 39, 102, 102}));
    EXPECT_EQ(codes(up), (std::vector<int>{100, 39, 102}));
}

} // namespace
