#pragma once

#include "AppClock.h"
#include "DatabaseSchema.h"
#include "ProgramDirectory.h"
#include "clsDbConn.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

// A temporary program directory whose attendance.ini points at a fresh
// database in the same folder.
struct RecordsFixture {
    QTemporaryDir dir;
    QString dbPath;

    bool init() {
        if (!dir.isValid())
            return false;
        SetProgramDirectory(dir.path());
        QFile ini(dir.filePath(QStringLiteral("attendance.ini")));
        if (!ini.open(QIODevice::WriteOnly))
            return false;
        ini.write("[DATA]\r\nPATH=" + QFile::encodeName(dir.path()) + "\r\n");
        ini.close();
        dbPath = dir.filePath(QStringLiteral("vorerur.dat"));
        return DatabaseSchema::Create(dbPath);
    }

    ~RecordsFixture() {
        clsDbConn::CloseShared();
        SetProgramDirectory(QString());
        AppClock::reset();
    }

    // A small JPEG holding every awkward byte value somewhere in its data.
    static QByteArray jpeg(int seed) {
        QImage img(16, 12, QImage::Format_RGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y,
                             qRgb((x * 16 + seed) & 255, (y * 20 + seed * 3) & 255, (x * y) & 255));
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "JPEG", 80);
        return bytes;
    }

    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
};
