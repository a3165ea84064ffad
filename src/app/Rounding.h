#pragma once

#include <cmath>

/// The one rounding rule of the program: to the nearest integer, halves to the even
/// neighbour (2.5 -> 2, 3.5 -> 4, -0.5 -> 0).
inline long long RoundHalfEven(double value) { return std::llrint(value); }
