#pragma once
// Media for the main window's tests, made once per test process in a temporary folder: tiny videos
// (ffmpeg), pictures (Qt) and containers enciphered under a password.
#include <QByteArray>
#include <QColor>
#include <QString>
#include <filesystem>
#include <string>

#include "tests/support/TempDir.h"

namespace mirado::testing {

class TestClips {
public:
    static TestClips& instance();

    // A 160x120 H.264 clip of `seconds` whole seconds with an AAC tone, under `name` in its own folder.
    QString video(const QString& name, int seconds = 1);
    // A PNG of one colour.
    QString picture(const QString& name, int width, int height, QColor colour = Qt::darkCyan);
    // An empty file with that name (for playlist tests that never play).
    QString emptyFile(const QString& name);
    // A file of that name holding `bytes`.
    QString file(const QString& name, const QByteArray& bytes);
    // `source` enciphered under `password` into `<name>.pmpk` (a folder of its own per call).
    QString container(const QString& source, const QString& password, const QString& watermark = {},
                      int position = 0, int colour = 0, int fontSize = 0);
    // The same sealed (format 2), at a small work factor so that tests open it quickly.
    QString sealed(const QString& source, const QString& password, const QString& watermark = {},
                   int position = 0, int colour = 0, int fontSize = 0);

    const std::filesystem::path& folder() const { return folder_.path(); }

private:
    std::filesystem::path freshFolder();
    QString write(bool seal, const QString& source, const QString& password, const QString& watermark, int position,
                  int colour, int fontSize);

    TempDir folder_;
    int made_ = 0;
};

}  // namespace mirado::testing
