#include <gtest/gtest.h>

#include "surface/PictureFit.h"

namespace mirado {
namespace {

TEST(PictureFit, TooLargePicturesShrinkToTheLimitingSide)
{
    EXPECT_EQ(fitPicture(1000, 500, 400, 400), (PictureFitRect{0, 100, 400, 200}));
    EXPECT_EQ(fitPicture(500, 1000, 400, 400), (PictureFitRect{100, 0, 200, 400}));
    // Only one side too large: still fitted as a whole, proportions kept.
    EXPECT_EQ(fitPicture(500, 100, 400, 400), (PictureFitRect{0, 160, 400, 80}));
    EXPECT_EQ(fitPicture(100, 500, 400, 300), (PictureFitRect{170, 0, 60, 300}));
    // Truncated, never rounded up past the area.
    EXPECT_EQ(fitPicture(1000, 333, 400, 400), (PictureFitRect{0, 133, 400, 133}));
}

TEST(PictureFit, PicturesThatFitStayAtTheirOwnSizeCentred)
{
    EXPECT_EQ(fitPicture(100, 50, 400, 400), (PictureFitRect{150, 175, 100, 50}));
    EXPECT_EQ(fitPicture(400, 400, 400, 400), (PictureFitRect{0, 0, 400, 400}));
    EXPECT_EQ(fitPicture(101, 51, 400, 400), (PictureFitRect{149, 174, 101, 51})) << "odd margins round down";
}

TEST(PictureFit, NothingToDrawWithoutHeight)
{
    EXPECT_FALSE(fitPicture(100, 0, 400, 400));
    EXPECT_FALSE(fitPicture(100, 50, 400, 0));
    // A sliver far thinner than the area has no sensible size.
    EXPECT_EQ(fitPicture(1, 100000, 400, 400), (PictureFitRect{0, 0, 0, 0}));
}

} // namespace
} // namespace mirado
