#include "app/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsStoreTest : public ::testing::Test {
protected:
    QString iniPath() const { return m_dir.filePath(QStringLiteral("QX05.ini")); }

    QByteArray fileBytes(const QString& path) const
    {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        return file.readAll();
    }

    void writeBytes(const QString& path, const QByteArray& bytes) const
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir m_dir;
};

TEST_F(SettingsStoreTest, MissingKeyReadsAsTheReadersDefault)
{
    SettingsStore store(iniPath());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("framerate"), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(store.ReadSetting(QStringLiteral("compression"), QStringLiteral("-1")), QStringLiteral("-1"));
    EXPECT_TRUE(store.ReadSetting(QStringLiteral("logpath")).isEmpty());
    EXPECT_TRUE(store.problem().isEmpty());
}

TEST_F(SettingsStoreTest, KeysMatchWithoutRegardToCase)
{
    {
        SettingsStore store(iniPath());
        store.WriteSetting(QStringLiteral("videoresolution"), QStringLiteral("3"));
        EXPECT_EQ(store.ReadSetting(QStringLiteral("VideoResolution"), QStringLiteral("-1")),
                  QStringLiteral("3"));
        store.WriteSetting(QStringLiteral("VIDEORESOLUTION"), QStringLiteral("4"));
        EXPECT_EQ(store.ReadSetting(QStringLiteral("videoResolution")), QStringLiteral("4"));
    }
    // And after a restart, from the file.
    SettingsStore again(iniPath());
    EXPECT_EQ(again.ReadSetting(QStringLiteral("VideoResolution")), QStringLiteral("4"));
}

TEST_F(SettingsStoreTest, KeysAreKeptInTheSettingsSection)
{
    {
        SettingsStore store(iniPath());
        store.WriteSetting(QStringLiteral("grid1File"), QStringLiteral("x.ipt"));
    }
    const QByteArray bytes = fileBytes(iniPath());
    EXPECT_TRUE(bytes.contains("[Settings]")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("grid1file=x.ipt")) << bytes.toStdString();
}

TEST_F(SettingsStoreTest, HandEditedKeyInCapitalsIsStillFound)
{
    writeBytes(iniPath(), "[Settings]\nLogPath=/data/videos\n");
    SettingsStore store(iniPath());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("logpath")), QStringLiteral("/data/videos"));

    // A write replaces it rather than leaving two spellings behind.
    store.WriteSetting(QStringLiteral("logpath"), QStringLiteral("/data/other"));
    EXPECT_EQ(store.ReadSetting(QStringLiteral("LOGPATH")), QStringLiteral("/data/other"));
    EXPECT_FALSE(fileBytes(iniPath()).contains("LogPath"));
}

// Values come back exactly as written, in the same session and after a
// restart: blanks, commas, backslashes, words that look like Booleans, the
// empty text.
TEST_F(SettingsStoreTest, ValuesComeBackExactly)
{
    const QStringList values = {
        QStringLiteral("  C:\\Videos\\  "),
        QStringLiteral("a, b"),
        QStringLiteral("C:\\Jump\\Grid 1.ipt"),
        QStringLiteral("\\\\server\\share\\"),
        QStringLiteral("True"),
        QStringLiteral("False"),
        QString(),
        QStringLiteral("-1"),
        QStringLiteral("@Invalid()"),
        QStringLiteral("x;y #z"),
        QStringLiteral("\"quoted\""),
        QStringLiteral("Lac d'Aiguebelette"),
        QStringLiteral("caf\u00e9"),
    };
    {
        SettingsStore store(iniPath());
        for (int i = 0; i < values.size(); ++i) {
            const QString key = QStringLiteral("key%1").arg(i);
            EXPECT_TRUE(store.WriteSetting(key, values[i]));
            EXPECT_EQ(store.ReadSetting(key, QStringLiteral("absent")), values[i]) << i;
        }
    }
    SettingsStore again(iniPath());
    for (int i = 0; i < values.size(); ++i)
        EXPECT_EQ(again.ReadSetting(QStringLiteral("key%1").arg(i), QStringLiteral("absent")), values[i])
            << i;
}

TEST_F(SettingsStoreTest, EmptiedKeyReadsEmptyNotTheDefault)
{
    SettingsStore store(iniPath());
    store.WriteSetting(QStringLiteral("grid2File"), QString());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("grid2File"), QStringLiteral("0")), QString());
}

TEST_F(SettingsStoreTest, EachWriteReachesTheFileAtOnce)
{
    SettingsStore store(iniPath());
    store.WriteSetting(QStringLiteral("framerate"), QStringLiteral("25"));
    // Another reader sees it while the first store is still open.
    SettingsStore other(iniPath());
    EXPECT_EQ(other.ReadSetting(QStringLiteral("framerate")), QStringLiteral("25"));
    EXPECT_TRUE(fileBytes(iniPath()).contains("framerate=25"));
}

TEST_F(SettingsStoreTest, CorruptFileIsKeptAsideAndDefaultsApply)
{
    const QByteArray damaged = "[Settings\nlogpath=/half/read\nframerate=30\n";
    writeBytes(iniPath(), damaged);

    SettingsStore store(iniPath());
    const QString kept = iniPath() + QStringLiteral(".damaged");
    EXPECT_EQ(store.problem(),
              QStringLiteral("The settings file %1 could not be read; it was kept as %2 and all settings "
                             "start again from their install values.")
                  .arg(iniPath(), kept));
    EXPECT_EQ(store.damagedCopyPath(), kept);
    EXPECT_EQ(fileBytes(kept), damaged);

    // Nothing half-read from the damaged file is used.
    EXPECT_EQ(store.ReadSetting(QStringLiteral("logpath")), QString());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("framerate"), QStringLiteral("0")), QStringLiteral("0"));

    // Later writes work and last.
    EXPECT_TRUE(store.WriteSetting(QStringLiteral("logpath"), QStringLiteral("/data/videos")));
    EXPECT_EQ(store.ReadSetting(QStringLiteral("logpath")), QStringLiteral("/data/videos"));
    SettingsStore again(iniPath());
    EXPECT_TRUE(again.problem().isEmpty());
    EXPECT_EQ(again.ReadSetting(QStringLiteral("logpath")), QStringLiteral("/data/videos"));
    EXPECT_EQ(fileBytes(kept), damaged);
}

TEST_F(SettingsStoreTest, AnEarlierDamagedCopyIsNotOverwritten)
{
    const QString firstCopy = iniPath() + QStringLiteral(".damaged");
    writeBytes(firstCopy, "older damage");
    writeBytes(iniPath(), "[Settings\nx=1\n");

    SettingsStore store(iniPath());
    EXPECT_EQ(store.damagedCopyPath(), iniPath() + QStringLiteral(".damaged-2"));
    EXPECT_EQ(fileBytes(firstCopy), QByteArray("older damage"));
    EXPECT_EQ(fileBytes(store.damagedCopyPath()), QByteArray("[Settings\nx=1\n"));
}

TEST_F(SettingsStoreTest, UnusableStoreStillRunsTheSessionOnDefaults)
{
    // A directory where the settings file should be can neither be read nor
    // set aside; the session goes on with values kept in memory only.
    const QString path = m_dir.filePath(QStringLiteral("blocked.ini"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("blocked.ini")));

    SettingsStore store(path);
    EXPECT_EQ(store.problem(),
              QStringLiteral("The settings file %1 could not be read or replaced, so all settings use "
                             "their install values and changes will not be kept after this session.")
                  .arg(path));
    EXPECT_TRUE(store.damagedCopyPath().isEmpty());
    EXPECT_EQ(store.ReadSetting(QStringLiteral("grids"), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_FALSE(store.WriteSetting(QStringLiteral("grids"), QStringLiteral("2")));
    EXPECT_EQ(store.ReadSetting(QStringLiteral("Grids")), QStringLiteral("2"));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

} // namespace
