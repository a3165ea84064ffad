#pragma once

#include <QString>

#include <cstdint>

/// s widened to width with copies of fill, in front when atLeft, behind otherwise; s as it
/// is when it already has width characters or more.
QString PadString(const QString& s, QChar fill, int width, bool atLeft);

/// Digits of value in groups of three from the right, separated by one space ("-1 234").
QString GroupThousands(int64_t value);
