// The shared-mime-info rule of player/mirado-container.xml as a file manager applies it, read by Qt's
// MIME database from the test's data folder (the build puts the rule there) ahead of the system's.
#include <QMimeDatabase>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "container/ContainerWriter.h"
#include "tests/support/TempDir.h"

namespace mirado {
namespace {

using testing::TempDir;
using testing::writeFile;

const QString kContainerType = QStringLiteral("application/x-mirado-container");

// Before the first look-up, which loads the database.
const bool kDataFolderSet = [] {
    ::setenv("XDG_DATA_HOME", MIRADO_XDG_DATA, 1);
    ::setenv("XDG_DATA_DIRS", MIRADO_XDG_DATA ":/usr/share", 1);
    return true;
}();

QString typeOfFile(const std::filesystem::path& path) {
    return QMimeDatabase().mimeTypeForFile(QString::fromStdString(path.string())).name();
}

QString typeOfData(const std::string& bytes) {
    return QMimeDatabase().mimeTypeForData(QByteArray::fromStdString(bytes)).name();
}

TEST(ContainerMimeType, TheRuleIsLoaded) {
    const QMimeType type = QMimeDatabase().mimeTypeForName(kContainerType);
    ASSERT_TRUE(type.isValid()) << "XDG_DATA_DIRS does not reach the rule";
    EXPECT_EQ(type.comment(), QStringLiteral("Mirado protected media"));
    EXPECT_EQ(QMimeDatabase().mimeTypeForFile(QStringLiteral("clip.PMPK"), QMimeDatabase::MatchExtension).name(),
              kContainerType);
}

TEST(ContainerMimeType, AFormatOneContainerIsKnownByItsContentWithoutItsName) {
    TempDir dir;
    writeFile(dir / "clip.mp4", std::vector<std::uint8_t>(3000, 7));
    ContainerWriter writer;
    writer.configure(ContainerKey{'s', 'e', 'c', 'r', 'e', 't', '4', '2'}, false, u"", 0, 0, 0);
    ASSERT_TRUE(writer.encipherFile(dir / "clip.mp4", dir.path()));
    std::filesystem::rename(dir / "clip.pmpk", dir / "renamed");
    EXPECT_EQ(typeOfFile(dir / "renamed"), kContainerType);
}

TEST(ContainerMimeType, AFormatTwoContainerIsKnownByItsFirstLine) {
    EXPECT_EQ(typeOfData("age-encryption.org/v1\n-> scrypt c2FsdA 18\nAAAA\n--- mac\n"), kContainerType);
    EXPECT_NE(typeOfData("age-encryption.org/v2\n-> scrypt c2FsdA 18\n"), kContainerType);
    EXPECT_NE(typeOfData("age-encryption.org/v1 and more on the line\n"), kContainerType);
}

TEST(ContainerMimeType, TheFormatTagCountsOnlyAtTheStart) {
    EXPECT_EQ(typeOfData(std::string("\x11\x27\x00\x00\x01\x00\x00\x00", 8)), kContainerType);
    EXPECT_NE(typeOfData(std::string("\x00\x00\x27\x11\x01\x00\x00\x00", 8)), kContainerType);  // big-endian
    EXPECT_NE(typeOfData(std::string("\x00\x00\x00\x00\x11\x27\x00\x00", 8)), kContainerType);  // offset 4
    EXPECT_NE(typeOfData(std::string("\x12\x27\x00\x00\x01\x00\x00\x00", 8)), kContainerType);
}

}  // namespace
}  // namespace mirado
