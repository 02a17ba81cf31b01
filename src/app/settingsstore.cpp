#include "app/settingsstore.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStringList>
#include <QVariant>

namespace {

const QString groupName = QStringLiteral("Settings");

// Key names are kept in lower case, so "VideoResolution" and
// "videoresolution" are one key whatever the platform's store does.
QString foldedKey(const QString& key)
{
    return key.toLower();
}

// A name beside the damaged file that does not overwrite an earlier copy.
QString freeDamagedName(const QString& path)
{
    const QString base = path + QStringLiteral(".damaged");
    QString candidate = base;
    for (int n = 2; QFileInfo::exists(candidate); ++n)
        candidate = base + QLatin1Char('-') + QString::number(n);
    return candidate;
}

QString valueText(const QVariant& value)
{
    // A hand-edited file may hold "a, b" unquoted, which reads as a list.
    if (value.metaType().id() == QMetaType::QStringList)
        return value.toStringList().join(QStringLiteral(", "));
    return value.toString();
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                             QStringLiteral("QX05"), QStringLiteral("QX05")))
{
    checkStatus();
}

SettingsStore::SettingsStore(const QString& iniFilePath)
    : m_settings(std::make_unique<QSettings>(iniFilePath, QSettings::IniFormat))
{
    checkStatus();
}

SettingsStore::~SettingsStore() = default;

void SettingsStore::openGroup()
{
    m_settings->beginGroup(groupName);
}

void SettingsStore::checkStatus()
{
    const QSettings::Status status = m_settings->status();
    if (status == QSettings::NoError) {
        openGroup();
        return;
    }

    // What QSettings read from a damaged file is not to be trusted, and its
    // next write would replace the file: set the file aside first so the
    // operator (or support) can still look at it, then start afresh.
    const QString path = m_settings->fileName();
    const QSettings::Format format = m_settings->format();
    m_settings.reset();

    const QFileInfo info(path);
    QString kept;
    if (info.isFile()) {
        const QString target = freeDamagedName(path);
        if (QFile::rename(path, target) || (QFile::copy(path, target) && QFile::remove(path)))
            kept = target;
    }

    if (!kept.isEmpty()) {
        m_settings = std::make_unique<QSettings>(path, format);
        if (m_settings->status() == QSettings::NoError) {
            openGroup();
            m_damagedCopyPath = kept;
            m_problem = QStringLiteral("The settings file %1 could not be read; it was kept as %2 and all "
                                       "settings start again from their install values.")
                            .arg(path, kept);
            return;
        }
        m_settings.reset();
    }

    m_memory = std::make_unique<QMap<QString, QString>>();
    m_damagedCopyPath = kept;
    m_problem = QStringLiteral("The settings file %1 could not be read or replaced, so all settings "
                               "use their install values and changes will not be kept after this "
                               "session.")
                    .arg(path);
}

QString SettingsStore::ReadSetting(const QString& key, const QString& defaultValue) const
{
    const QString folded = foldedKey(key);
    if (m_memory)
        return m_memory->value(folded, defaultValue);

    if (m_settings->contains(folded))
        return valueText(m_settings->value(folded));
    // A file edited by hand may spell a key in capitals; it is still the
    // same key.
    const QStringList keys = m_settings->childKeys();
    for (const QString& stored : keys) {
        if (foldedKey(stored) == folded)
            return valueText(m_settings->value(stored));
    }
    return defaultValue;
}

bool SettingsStore::WriteSetting(const QString& key, const QString& value)
{
    const QString folded = foldedKey(key);
    if (m_memory) {
        m_memory->insert(folded, value);
        return false;
    }

    // Other spellings of the key would shadow nothing but confuse whoever
    // reads the file; keep one.
    const QStringList keys = m_settings->childKeys();
    for (const QString& stored : keys) {
        if (stored != folded && foldedKey(stored) == folded)
            m_settings->remove(stored);
    }
    m_settings->setValue(folded, value);
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}
