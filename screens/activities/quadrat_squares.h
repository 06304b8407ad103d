#pragma once

// Where the quadrat squares fall on the field picture. One table, read by the
// quadrat screen, by the tool that draws the field and by the tests that count
// its daisies, so the picture and the captions cannot drift apart.
//
// Left and Top are screen twips (15 twips to a pixel); every square is
// 600 x 600 twips. The field picture's top-left corner sits at twips
// (210, 1410), so a square's pixel position in the picture is
// ((Left - 210) / 15, (Top - 1410) / 15).
struct QuadratSquare {
    float Left;
    float Top;
    bool sams; // the one square Sam threw; the other ten are Maddy's
};

inline constexpr QuadratSquare kQuadratSquares[11] = {
    {3240.0f, 3825.0f, false}, {2640.0f, 2625.0f, false}, {1440.0f, 2025.0f, false},
    {4440.0f, 6225.0f, false}, {840.0f, 3225.0f, false},  {5040.0f, 4425.0f, false},
    {840.0f, 5025.0f, false},  {1440.0f, 5625.0f, false}, {2040.0f, 5025.0f, false},
    {4440.0f, 1440.0f, false}, {3240.0f, 5625.0f, true},
};
