#pragma once

#include <QFile>
#include <QString>

// Writes a solved tower-camera grid as the set-up screen saves one: the
// 19-line set-up file (description "Tower camera") and its check-buoy file
// beside it (ipt + ".cb", the buoy at ( 4800, 4100) on screen and
// (3.5, 60.25) on the water). Returns false when a file cannot be written.
inline bool WriteTowerGridFiles(const QString& ipt)
{
    QFile file(ipt);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write("Initialization Points for file: " + ipt.toLatin1() + "\r\n"
               "Tower camera\r\n"
               " 7500 , 2400 , 25 , 90 \r\n"
               " 9000 , 6600 , 25 , 30 \r\n"
               " 2000 , 2500 ,-25 , 90 \r\n"
               " 500 , 6500 ,-25 , 30 \r\n"
               "-12.5 \r\n .0021 \r\n .0003 \r\n 1.2E-06 \r\n 3.4E-05 \r\n 80 \r\n .0002 \r\n-.0095 \r\n"
               " 0 \r\n-2.5 \r\n 10 \r\n 2 \r\n 1 \r\n");
    file.close();
    QFile checkBuoy(ipt + QStringLiteral(".cb"));
    if (!checkBuoy.open(QIODevice::WriteOnly))
        return false;
    checkBuoy.write(" 4800 \r\n 4100 \r\n3.5\r\n60.25\r\n");
    return true;
}
