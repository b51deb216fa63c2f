#pragma once

#include <QStringView>

// The number a text starts with: leading blanks skipped, optional sign, digits with an optional
// fraction; 0 when the text does not start with a number ("34200_1.wma" is 34200).
double numericValue(QStringView text);

// Rounds to the nearest whole number, halves to the even one.
double roundHalfEven(double value);
