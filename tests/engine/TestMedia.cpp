#include "TestMedia.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <cstdlib>
#include <fstream>

#include "container/AdditiveKeyCipher.h"
#include "container/ContainerWriter.h"

namespace mirado::testing {
namespace fs = std::filesystem;

TestMedia& TestMedia::instance() {
    static TestMedia media;
    return media;
}

fs::path TestMedia::make(const std::string& name, const std::string& arguments) {
    const fs::path out = folder_ / name;
    const std::string command =
        "ffmpeg -hide_banner -loglevel error -nostdin -y " + arguments + " '" + out.string() + "'";
    if (std::system(command.c_str()) != 0 || !fs::exists(out)) std::abort();
    return out;
}

namespace {
const std::string kPattern =
    "-f lavfi -i testsrc2=size=160x120:rate=25:duration=3 -f lavfi -i sine=frequency=440:duration=3 "
    "-c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -shortest";
}  // namespace

const fs::path& TestMedia::mp4() {
    if (mp4_.empty()) mp4_ = make("pattern.mp4", kPattern);
    return mp4_;
}

const fs::path& TestMedia::mkv() {
    if (mkv_.empty()) mkv_ = make("pattern.mkv", kPattern);
    return mkv_;
}

const fs::path& TestMedia::longer() {
    if (longer_.empty()) {
        longer_ = make("longer.mp4",
                       "-f lavfi -i testsrc2=size=320x240:rate=25:duration=8 -c:v libx264 -preset ultrafast -g 25 "
                       "-b:v 1600k -pix_fmt yuv420p");
    }
    return longer_;
}

const fs::path& TestMedia::grey() {
    if (grey_.empty()) {
        grey_ = make("grey.mp4",
                     "-f lavfi -i color=c=gray:size=320x240:rate=25:duration=2 -f lavfi -i anullsrc=r=44100:cl=mono "
                     "-t 2 -c:v libx264 -preset ultrafast -g 25 -pix_fmt yuv420p -c:a aac -shortest");
    }
    return grey_;
}

fs::path TestMedia::encipher(const fs::path& source, const ContainerKey& key, std::u16string_view watermark,
                             std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize) {
    return write(ContainerVersion::Compatible, source, key, watermark, position, colour, fontSize);
}

fs::path TestMedia::seal(const fs::path& source, std::u16string_view password, std::u16string_view watermark,
                         std::uint8_t position, std::uint8_t colour, std::uint8_t fontSize) {
    return write(ContainerVersion::Sealed, source, AdditiveKeyCipher::keyFromPassword(password), watermark, position,
                 colour, fontSize);
}

fs::path TestMedia::write(ContainerVersion version, const fs::path& source, const ContainerKey& key,
                          std::u16string_view watermark, std::uint8_t position, std::uint8_t colour,
                          std::uint8_t fontSize) {
    // Each container gets its own folder, so the same source can be enciphered several ways.
    const fs::path destination = folder_ / ("c" + std::to_string(++made_));
    fs::create_directories(destination);
    ContainerWriter writer;
    writer.setVersion(version, 10);
    writer.configure(key, !watermark.empty(), watermark, position, colour, fontSize);
    if (!writer.encipherFile(source, destination)) std::abort();
    return destination / ContainerWriter::containerNameFor(source);
}

fs::path TestMedia::truncatedCopy(const fs::path& file, std::uint64_t length) {
    const fs::path destination = folder_ / ("t" + std::to_string(++made_));
    fs::create_directories(destination);
    const fs::path copy = destination / file.filename();
    fs::copy_file(file, copy);
    fs::resize_file(copy, length);
    return copy;
}

ContainerKey testKey(std::uint8_t seed) {
    ContainerKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) key[i] = std::uint8_t(seed * 31 + i * 7 + 1);
    return key;
}

int openContainer(avplayer& player, ContainerReader& reader, const fs::path& container, const ContainerKey& key,
                  avplayer::ReadHook hook, void* context) {
    reader.setKey(key);
    if (!reader.open(container)) return 0;
    const ContainerInfoRecord& record = reader.records().front();
    std::uint8_t keyBytes[16] = {};
    reader.copyKey(keyBytes);
    return player.open(container.c_str(), 0, 2, 1, reader.stream(), record.payloadOffset, record.payloadSize, hook,
                       context != nullptr ? context : &reader, keyBytes, true, record.watermarkText.c_str(),
                       record.watermarkPosition, record.watermarkColour, record.watermarkFontSize);
}

int openSealed(avplayer& player, ContainerReader& reader, const fs::path& container, std::u16string_view password) {
    reader.setKey(AdditiveKeyCipher::keyFromPassword(password));
    if (!reader.open(container) || reader.version() != ContainerVersion::Sealed) return 0;
    const ContainerInfoRecord& record = reader.records().front();
    return player.open(container.c_str(), 0, 2, &readSealed, &reader, record.payloadSize, record.watermarkText.c_str(),
                       record.watermarkPosition, record.watermarkColour, record.watermarkFontSize);
}

std::int64_t readSealed(void* reader, std::uint64_t position, std::uint8_t* buffer, std::uint64_t length) {
    return static_cast<const ContainerReader*>(reader)->readPayloadAt(position, buffer, length);
}

int openPlain(avplayer& player, const fs::path& file) {
    return player.open(file.c_str(), 0, 2, 0, nullptr, 0, 0, nullptr, nullptr, nullptr, false, nullptr, 0, 0, 0);
}

bool waitFor(const std::function<bool()>& done, int milliseconds) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return true;
}

void spin(int milliseconds) {
    waitFor([] { return false; }, milliseconds);
}

}  // namespace mirado::testing
