#pragma once

#include "common/refusal.h"

#include <QString>
#include <cstdint>

class ChannelTable;
struct RadioImage;

// "Запись" of the repeater panel: one channel, found by its number among the
// records of the last passed check, becomes the repeater's receive channel
// (marker in its transmit cell) or its transmit channel (marker in its
// receive cell) and leaves the scan.
namespace RepeaterAssignment {

enum class Mode {
    Receive,  // "Прием": the transmit cell gets "РЕТР_ПР"
    Transmit, // "Передача": the receive cell gets "РЕТР_ПП"
};

struct Outcome
{
    // Set when the press was refused; then nothing changed.
    MaybeRefusal refusal;
    // The table row that was marked (1..N), 0 after a refusal.
    int row = 0;
};

// Refuses an empty field and a number that no record of `image` (the last
// passed check's) carries, or whose record lies
// beyond the rows of the current table; otherwise restores the frequency
// saved by an earlier marking of the other side of the same row, saves the
// text it replaces, writes the marker and clears the row's scan box (a row
// without boxes is marked all the same). The radio image is only read, so
// further presses keep searching the channels of the last passed check.
// `savedText` is the text the last marking replaced. Whatever follows, the
// table must pass the check again before it is written to the station.
//
// Throws the conversion error when the field is neither digits nor a whole
// number (a pasted text: the key filter lets only digits through).
Outcome write(ChannelTable &table, QString &savedText, const RadioImage &image, const QString &channelField, Mode mode);

// The field as the one byte a channel number is compared in: the number
// modulo 256. A run of digits of any length is reduced digit by digit, so
// "257" is 1 and "03" is 3 however long the text; anything else goes through
// the whole-number conversion (blanks, a sign, "$" or "0x") and throws its
// error when that fails.
std::uint8_t channelByte(const QString &channelField);

// Position (1-based) of the first of the image's used records whose channel
// number byte is `number`, 0 when none is.
int findRecord(const RadioImage &image, std::uint8_t number);

// Key filter of the channel number field: Backspace and the digits pass.
MaybeRefusal filterChannelKey(QChar key);

QString emptyFieldText(); // Вы не указали номер канала !!!
QString notFoundText();   // Такого номера канала нет в таблице !!!

} // namespace RepeaterAssignment
