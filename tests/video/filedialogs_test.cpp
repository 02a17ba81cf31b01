#include "support/scripteddialogs.h"

#include "video/filedialogs.h"

#include <gtest/gtest.h>

namespace {

TEST(FileDialogFilters, PairsAndDefaultExtensionByKind)
{
    EXPECT_EQ(FileDialogFilterFor(0).filter,
              "All Supported Types|*.bmp;*.jpg;*.pic|BMP Files|*.bmp|JPEG Files|*.jpg|ePIC Files|*.pic|");
    EXPECT_EQ(FileDialogFilterFor(0).defaultExtension, "jpg");
    EXPECT_EQ(FileDialogFilterFor(1).filter, "AVI File|*.avi|");
    EXPECT_EQ(FileDialogFilterFor(1).defaultExtension, "avi");
    EXPECT_EQ(FileDialogFilterFor(2).filter, "CapturePro 3.0 profile (.cpf)|*.cpf|");
    EXPECT_EQ(FileDialogFilterFor(2).defaultExtension, "cpf");
    EXPECT_EQ(FileDialogFilterFor(3).filter, "All Recordings|*.avi;*.mp4;*.mov;*.mkv|AVI File|*.avi|MP4 File|*.mp4|"
                                             "QuickTime File|*.mov|Matroska File|*.mkv|");
    EXPECT_EQ(FileDialogFilterFor(3).defaultExtension, "avi");
    EXPECT_EQ(FileDialogFilterFor(4).filter, "");
}

TEST(FileDialogs, CancellingGivesTheInitialPathBack)
{
    ScriptedDialogs dialogs;
    dialogs.chooseFile({}).chooseFile({});
    EXPECT_EQ(ShowOpenFileDialog(dialogs, "C:\\videos\\Skier1jump2.avi", 1), "C:\\videos\\Skier1jump2.avi");
    EXPECT_EQ(ShowSaveFileDialog(dialogs, "/videos/a.bmp", 0), "/videos/a.bmp");
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].text, "AVI File|*.avi|");
    EXPECT_EQ(dialogs.shown()[0].initial, "C:\\videos\\Skier1jump2.avi");
    EXPECT_EQ(dialogs.shown()[0].selectedFilter, 1);
}

TEST(FileDialogs, SavedNameWithoutExtensionGetsTheKindsExtension)
{
    ScriptedDialogs dialogs;
    dialogs.chooseFile("/videos/profile").chooseFile("/videos/picture.bmp").chooseFile("/videos/open");
    EXPECT_EQ(ShowSaveFileDialog(dialogs, "/videos/", 2), "/videos/profile.cpf");
    EXPECT_EQ(ShowSaveFileDialog(dialogs, "/videos/", 0), "/videos/picture.bmp");
    EXPECT_EQ(ShowOpenFileDialog(dialogs, "/videos/", 1), "/videos/open");
}

} // namespace
