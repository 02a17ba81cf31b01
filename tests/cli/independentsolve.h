#pragma once

#include <array>

// A second, independent way to the same plane projective transform: the
// eight equations solved by Gaussian elimination with partial pivoting in
// long double. Used to check the station's own solution.
struct PointPair {
    double screenX, screenY, surveyX, surveyY;
};

std::array<double, 8> IndependentCoefficients(const std::array<PointPair, 4>& pairs);

// Screen point of a water point under those coefficients (2 x 2 system).
std::array<double, 2> IndependentSurveyToScreen(const std::array<double, 8>& c, double X, double Y);
