#include "widgets/heldkeys.h"

#include <gtest/gtest.h>

namespace {

QKeyEvent press(int key, bool autoRepeat = false)
{
    return QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
}

QKeyEvent release(int key, bool autoRepeat = false)
{
    return QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, QString(), autoRepeat);
}

TEST(HeldKeys, AKeyCountsWhileDownAndATapCountsForOnePoll)
{
    HeldKeys keys;
    keys.track(press(Qt::Key_Left));
    EXPECT_TRUE(keys.counts(Qt::Key_Left));
    keys.endPoll();
    EXPECT_TRUE(keys.counts(Qt::Key_Left)) << "still held";
    keys.track(release(Qt::Key_Left, true));
    keys.track(press(Qt::Key_Left, true));
    keys.endPoll();
    EXPECT_TRUE(keys.counts(Qt::Key_Left)) << "auto-repeat does not end the hold";
    keys.track(release(Qt::Key_Left));
    keys.endPoll();
    EXPECT_FALSE(keys.counts(Qt::Key_Left));

    // Pressed and released between two polls: the next poll still sees it.
    keys.track(press(Qt::Key_Right));
    keys.track(release(Qt::Key_Right));
    EXPECT_TRUE(keys.counts(Qt::Key_Right));
    EXPECT_FALSE(keys.counts(Qt::Key_Left));
    keys.endPoll();
    EXPECT_FALSE(keys.counts(Qt::Key_Right));
}

TEST(HeldKeys, ClearForgetsEverything)
{
    HeldKeys keys;
    keys.track(press(Qt::Key_Up));
    keys.track(press(Qt::Key_Down));
    keys.clear();
    EXPECT_FALSE(keys.counts(Qt::Key_Up));
    EXPECT_FALSE(keys.counts(Qt::Key_Down));
}

} // namespace
