#include "independentsolve.h"

#include <cmath>
#include <utility>

std::array<double, 8> IndependentCoefficients(const std::array<PointPair, 4>& pairs)
{
    // Unknowns c1..c8: X (1 + c4 x + c5 y) = c1 + c2 x + c3 y, same for Y.
    long double a[8][9] = {};
    for (int k = 0; k < 4; ++k) {
        const long double x = pairs[k].screenX, y = pairs[k].screenY;
        const long double X = pairs[k].surveyX, Y = pairs[k].surveyY;
        long double* r = a[2 * k];
        r[0] = 1; r[1] = x; r[2] = y; r[3] = -x * X; r[4] = -y * X; r[8] = X;
        long double* s = a[2 * k + 1];
        s[3] = -x * Y; s[4] = -y * Y; s[5] = 1; s[6] = x; s[7] = y; s[8] = Y;
    }
    for (int col = 0; col < 8; ++col) {
        int best = col;
        for (int row = col + 1; row < 8; ++row)
            if (std::fabs(a[row][col]) > std::fabs(a[best][col]))
                best = row;
        for (int j = 0; j < 9; ++j)
            std::swap(a[col][j], a[best][j]);
        for (int row = col + 1; row < 8; ++row) {
            const long double f = a[row][col] / a[col][col];
            for (int j = col; j < 9; ++j)
                a[row][j] -= f * a[col][j];
        }
    }
    long double c[8];
    for (int row = 7; row >= 0; --row) {
        long double sum = a[row][8];
        for (int j = row + 1; j < 8; ++j)
            sum -= a[row][j] * c[j];
        c[row] = sum / a[row][row];
    }
    std::array<double, 8> out{};
    for (int i = 0; i < 8; ++i)
        out[i] = static_cast<double>(c[i]);
    return out;
}

std::array<double, 2> IndependentSurveyToScreen(const std::array<double, 8>& c, double X, double Y)
{
    // (c2 - X c4) x + (c3 - X c5) y = X - c1 ; (c7 - Y c4) x + (c8 - Y c5) y = Y - c6
    const long double a11 = c[1] - X * c[3], a12 = c[2] - X * c[4], b1 = X - c[0];
    const long double a21 = c[6] - Y * c[3], a22 = c[7] - Y * c[4], b2 = Y - c[5];
    const long double det = a11 * a22 - a12 * a21;
    return {static_cast<double>((b1 * a22 - a12 * b2) / det), static_cast<double>((a11 * b2 - b1 * a21) / det)};
}
