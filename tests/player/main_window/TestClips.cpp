#include "TestClips.h"

#include <QImage>
#include <cstdlib>
#include <fstream>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerWriter.h"

namespace mirado::testing {
namespace fs = std::filesystem;

TestClips& TestClips::instance() {
    static TestClips clips;
    return clips;
}

fs::path TestClips::freshFolder() {
    const fs::path folder = folder_ / ("f" + std::to_string(++made_));
    fs::create_directories(folder);
    return folder;
}

QString TestClips::video(const QString& name, int seconds) {
    const fs::path out = freshFolder() / name.toStdString();
    const std::string length = std::to_string(seconds);
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y -f lavfi -i testsrc2=size=160x120:rate=25:duration=" + length +
        " -f lavfi -i sine=frequency=440:duration=" + length +
        " -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -shortest '" + out.string() + "'";
    if (std::system(command.c_str()) != 0 || !fs::exists(out)) std::abort();
    return QString::fromStdString(out.string());
}

QString TestClips::picture(const QString& name, int width, int height, QColor colour) {
    const fs::path out = freshFolder() / name.toStdString();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    if (!image.save(QString::fromStdString(out.string()), "PNG")) std::abort();
    return QString::fromStdString(out.string());
}

QString TestClips::emptyFile(const QString& name) {
    return file(name, {});
}

QString TestClips::file(const QString& name, const QByteArray& bytes) {
    const fs::path out = freshFolder() / name.toStdString();
    std::ofstream(out, std::ios::binary).write(bytes.constData(), bytes.size());
    return QString::fromStdString(out.string());
}

QString TestClips::container(const QString& source, const QString& password, const QString& watermark, int position,
                             int colour, int fontSize) {
    return write(false, source, password, watermark, position, colour, fontSize);
}

QString TestClips::sealed(const QString& source, const QString& password, const QString& watermark, int position,
                          int colour, int fontSize) {
    return write(true, source, password, watermark, position, colour, fontSize);
}

QString TestClips::write(bool seal, const QString& source, const QString& password, const QString& watermark,
                         int position, int colour, int fontSize) {
    const fs::path destination = freshFolder();
    ContainerWriter writer;
    if (seal) writer.setVersion(ContainerVersion::Sealed, 10);
    writer.configure(AdditiveKeyCipher::keyFromPassword(password.toStdU16String()), !watermark.isEmpty(),
                     watermark.toStdU16String(), std::uint8_t(position), std::uint8_t(colour), std::uint8_t(fontSize));
    const fs::path sourcePath = source.toStdString();
    if (!writer.encipherFile(sourcePath, destination)) std::abort();
    return QString::fromStdString((destination / ContainerWriter::containerNameFor(sourcePath)).string());
}

}  // namespace mirado::testing
