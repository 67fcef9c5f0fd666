#include "cube/rotations.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "support/test_support.hpp"

namespace cubega {
namespace {

struct NamedRotation {
    const char* name;
    CubeState (*apply)(const CubeState&);
    const FaceletPermutation* permutation;
};

const NamedRotation kRotations[] = {
    {"y", rotateY, &kRotationY}, {"x", rotateX, &kRotationX}, {"xy", rotateXY, &kRotationXY}};

TEST(Rotations, MoveWholeFacesOfTheSolvedCube) {
    const auto faceColour = [](const CubeState& cube, int face, int colour) {
        for (int k = 0; k < 9; ++k) {
            if (cube[9 * face + k] != colour)
                return false;
        }
        return true;
    };
    const CubeState y = rotateY(solvedCube());
    EXPECT_TRUE(faceColour(y, kFront, kRight));
    EXPECT_TRUE(faceColour(y, kLeft, kFront));
    const CubeState x = rotateX(solvedCube());
    EXPECT_TRUE(faceColour(x, kFront, kDown));
    EXPECT_TRUE(faceColour(x, kUp, kFront));
    const CubeState xy = rotateXY(solvedCube());
    EXPECT_TRUE(faceColour(xy, kFront, kRight));
    EXPECT_TRUE(faceColour(xy, kUp, kFront));
    EXPECT_TRUE(faceColour(xy, kRight, kUp));
}

// A rotation conjugates one face turn into another: turning face f after the rotation is
// turning, before it, the face whose centre the rotation carries onto f.
TEST(Rotations, ConjugateEveryFaceTurnIntoTheTurnOfTheMappedFace) {
    std::mt19937 rng(5);
    const CubeState start = testing::randomCube(rng, 30);
    for (const NamedRotation& rotation : kRotations) {
        for (int face = 0; face < kFaceCount; ++face) {
            const int mapped =
                rotation.permutation->source[static_cast<std::size_t>(centreOf(face))] / 9;
            EXPECT_EQ(quarterTurn(rotation.apply(start), face),
                      rotation.apply(quarterTurn(start, mapped)))
                << rotation.name << " face " << face << " mapped " << mapped;
        }
    }
}

TEST(Rotations, YThenFrontTurnEqualsRightTurnThenY) {
    const CubeState start = testing::distinctFacelets();
    EXPECT_EQ(applyMove(rotateY(start), 0), rotateY(applyMove(start, 2)));
}

TEST(Rotations, MoveEveryFaceletButTheAxisCentres) {
    EXPECT_EQ(movedFacelets(kRotationY), 52);
    EXPECT_EQ(movedFacelets(kRotationX), 52);
    EXPECT_EQ(movedFacelets(kRotationXY), 54);
}

}  // namespace
}  // namespace cubega
