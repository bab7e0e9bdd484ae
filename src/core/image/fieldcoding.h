#pragma once

#include "image/frequencyword.h"

#include <QChar>
#include <QString>
#include <cstdint>
#include <optional>

struct StationProfile;

// Coding of the single fields of the radio image from the texts of the table
// and the settings, and the texts a read from the station gives back. The
// decoders never look outside the code lists: a byte that names no entry
// gives std::nullopt.
namespace FieldCoding {

// "Нет" in a code byte, and the two values of a "+"/"-" setting.
constexpr std::uint8_t NoneCode = 200;
constexpr std::uint8_t PlusByte = 200;
constexpr std::uint8_t MinusByte = 100;

QString noneText();       // Нет
QString rxRepeaterText(); // РЕТР_ПП
QString txRepeaterText(); // РЕТР_ПР

// Hexadecimal digits as the station shows them: "0123456789ABCDEF".
QString hexByte(std::uint8_t byte);
// Header bytes 0..2 as six hexadecimal digits.
QString serialText(std::uint8_t b0, std::uint8_t b1, std::uint8_t b2);

// --- Id -------------------------------------------------------------------
// 0-9, A-F in either case and "#" (14), "*" (15); any other character is 0.
// "E" and "F" are what a read from the station writes for 14 and 15, so an Id
// read and written back stays the same.
int idDigit(QChar c);
// Exactly four characters, the first in the highest four bits; other lengths none.
std::optional<std::uint16_t> idCode(const QString &text);
// Four characters that are all Id digits (those idDigit() gives a value of
// their own): what the check takes. "12XY" would be coded as 0x1200.
bool isIdText(const QString &text);
// Four upper-case hexadecimal digits, high byte first: 0xFE00 gives "FE00".
QString idText(std::uint16_t code);

// --- Tones ----------------------------------------------------------------
// Hz in units of 10 Hz, halves to the even neighbour (705 gives 70, 715 gives 72).
// Meant for the checked range 700..2550; values beyond 2554 do not fit a byte.
std::uint8_t toneByte(int hz);
int toneHz(std::uint8_t byte);

// --- Header fields --------------------------------------------------------
// Level 1..5 gives 1, 6, 11, 16, 21.
std::uint8_t brightnessByte(int level);
// The level back; other bytes stay as they came, so that the data check
// refuses what no level gives.
QString brightnessText(std::uint8_t byte);
std::uint8_t plusMinusByte(bool plus);
// "+" for 200, "-" for any other byte.
QString plusMinusText(std::uint8_t byte);

// The two digits of "ФВ": the first one of 0, 1, 2, 4, the second one of 0, 1, 2, 4, 5.
bool isFvFirstDigit(int digit);
bool isFvSecondDigit(int digit);
// 16·first + second, so that the byte in hexadecimal reads as the two digits.
std::uint8_t fvCode(int first, int second);
QString fvText(std::uint8_t code);

// --- CTCSS and DCS codes ----------------------------------------------------
// How DCS texts are numbered: by their list position ("Код_DCS=-", header 100)
// or by the position of their partner in the pair table ("+", header 200).
enum class DcsMode { ListPosition, PairPartner };

// "+" chooses the pairs, any other value the list positions.
DcsMode dcsModeFromSetting(const QString &value);
// 100 reads as list positions, any other byte as pairs.
DcsMode dcsModeFromHeader(std::uint8_t byte);

// "Нет" gives 200, a tone its first position in the CTCSS list; none for a
// text that is not in the list.
std::optional<std::uint8_t> ctcssByte(const QString &text);
// 200 and 0 give "Нет", 1..55 the tone; none for any other byte.
std::optional<QString> ctcssText(std::uint8_t byte);

// "Нет" gives 200, a code its position or its partner's position; none for a
// text that is not in the DCS list.
std::optional<std::uint8_t> dcsByte(const QString &text, DcsMode mode);
// 200 gives "Нет"; by position 0..84, by partner 1..84; none for any other byte.
std::optional<QString> dcsText(std::uint8_t byte, DcsMode mode);

// --- Channel record texts ---------------------------------------------------
// 1..10 in decimal, anything else "Нет".
QString toneNumberText(std::uint8_t byte);
// 0 gives "Нет", anything else its decimal value.
QString timeText(std::uint8_t byte);
// From the inverted flags: "RSSI", else "OFF", else "Норм".
QString txOffText(std::uint8_t invertedFlags);
// The cell text of a frequency word: the repeater marker of its side when the
// first byte is 0, otherwise the frequency with two decimals ("144000,00").
QString frequencyText(const FrequencyWord::Bytes &bytes, FrequencyWord::Side side, const StationProfile &profile);

} // namespace FieldCoding
