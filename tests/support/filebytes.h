#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>

// The whole file as written, or "<missing>" when it cannot be read, so a
// test tells a missing file from an empty one.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return "<missing>";
    return file.readAll();
}

// The whole file, or nothing when it cannot be read.
inline QByteArray FileBytesOrEmpty(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Lines as the station writes them: Latin-1, each ended by CR LF.
inline QByteArray CrLfBytes(std::initializer_list<QString> lines)
{
    QByteArray bytes;
    for (const QString& line : lines)
        bytes += line.toLatin1() + "\r\n";
    return bytes;
}

// Writes the bytes as the whole file; false when it cannot be written.
inline bool WriteFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
