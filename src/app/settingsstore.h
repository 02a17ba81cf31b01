#pragma once

#include <QMap>
#include <QString>

#include <memory>

class QSettings;

// The persistent per-user settings of the station: application key QX05,
// section Settings. Every value is text; key names match without regard to
// case; a key never written reads as the default the reader supplies. A
// write reaches the store at once.
class SettingsStore {
public:
    // The platform's native per-user store.
    SettingsStore();
    // A store kept in the given INI file: tests never touch the real user's
    // settings.
    explicit SettingsStore(const QString& iniFilePath);
    ~SettingsStore();

    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    // The stored value exactly as written, or defaultValue when the key has
    // never been written.
    QString ReadSetting(const QString& key, const QString& defaultValue = {}) const;

    // Stores the text and syncs at once. Returns false when the value could
    // not be made to last (the file cannot be written); it is still read
    // back for the rest of the session.
    bool WriteSetting(const QString& key, const QString& value);

    // When the stored settings could not be read (a corrupt or unreadable
    // file), the text to show the operator once; defaults apply meanwhile.
    // Empty when the store is sound.
    QString problem() const { return m_problem; }

    // Where a damaged settings file was kept, empty when none was.
    QString damagedCopyPath() const { return m_damagedCopyPath; }

private:
    void checkStatus();
    void openGroup();

    std::unique_ptr<QSettings> m_settings;
    // Used instead of m_settings when a damaged file could not be set aside:
    // the session still works, on install values, but nothing lasts.
    std::unique_ptr<QMap<QString, QString>> m_memory;
    QString m_problem;
    QString m_damagedCopyPath;
};
