#include "workbench/MirroredTree.h"

#include <gtest/gtest.h>

#include "workbench/ContainerNameClaims.h"

namespace mirado {
namespace {

namespace fs = std::filesystem;

TEST(DestinationRoot, IsTheSourceFolderBaseNameInsideTheDestination) {
    EXPECT_EQ(destinationRootFor("/media/clips", "/out"), fs::path("/out/clips"));
    EXPECT_EQ(destinationRootFor("/media/trip.2014", "/out"), fs::path("/out/trip"));
    EXPECT_EQ(destinationRootFor("/media/photos.1", "/out"), destinationRootFor("/media/photos.2", "/out"));
    EXPECT_EQ(destinationRootFor("/media.d/clips", "/out"), fs::path("/out/clips"));
}

TEST(DestinationRoot, TrailingSeparatorsAndDotsNameTheSameFolder) {
    EXPECT_EQ(destinationRootFor("/media/clips/", "/out"), fs::path("/out/clips"));
    EXPECT_EQ(destinationRootFor("/media/clips/.", "/out"), fs::path("/out/clips"));
    EXPECT_EQ(destinationRootFor("/media/clips/sub/..", "/out"), fs::path("/out/clips"));
    EXPECT_EQ(destinationRootFor(".", "/out"), fs::path("/out") / fs::current_path().filename());
    // The root of the file system has no name: its tree goes straight into the destination.
    EXPECT_EQ(destinationRootFor("/", "/out"), fs::path("/out"));
}

TEST(ContainerNameClaims, SharedBaseNamesKeepTheExtensionThenCount) {
    ContainerNameClaims names;
    EXPECT_EQ(names.claim("/src/a.avi", "/out"), "a.pmpk");
    EXPECT_EQ(names.claim("/src/a.mp4", "/out"), "a.mp4.pmpk");
    EXPECT_EQ(names.claim("/src/b.mp4", "/out"), "b.pmpk");
    // Names that differ only in case are one name on many file systems.
    EXPECT_EQ(names.claim("/src/A.mp4", "/out"), "A.mp4 (2).pmpk");
    EXPECT_EQ(names.claim("/src/a.MP4", "/out"), "a.MP4 (3).pmpk");
    EXPECT_EQ(names.claim("/src/README", "/out"), "README.pmpk");
    EXPECT_EQ(names.claim("/other/README", "/out"), "README (2).pmpk");
}

TEST(ContainerNameClaims, EachFolderHasItsOwnNames) {
    ContainerNameClaims names;
    EXPECT_EQ(names.claim("/src/a.avi", "/out"), "a.pmpk");
    EXPECT_EQ(names.claim("/src/trip/a.avi", "/out/trip"), "a.pmpk");
    EXPECT_EQ(names.claim("/src/Trip/a.avi", "/out/Trip"), "a.avi.pmpk");  // the same folder where case is ignored
}

}  // namespace
}  // namespace mirado
