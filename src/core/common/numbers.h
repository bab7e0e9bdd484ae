#pragma once

#include <QString>

// Number texts as the technician types them: whole numbers, and decimals with
// a comma whatever the machine's locale. A text that is not a number throws a
// PlatformError that names it, as the runtime's conversion error would.
namespace Numbers {

int toInt(const QString &text);
double toDecimal(const QString &text);

// Shortest decimal form with a comma: 140000, 140012,5, 6,25.
QString formatShortest(double value);
// Fixed two decimals with a comma, at least six characters: 144000,00.
QString formatTwoDecimals(double value);

// The value of one hexadecimal digit (either case), or -1.
int hexDigit(QChar c);

// Rounds to the nearest whole number, halves to the even neighbour.
long long roundHalfEven(double value);

} // namespace Numbers
