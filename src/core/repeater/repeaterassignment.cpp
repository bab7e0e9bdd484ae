#include "repeater/repeaterassignment.h"
#include "common/numbers.h"
#include "image/channelrecord.h"
#include "image/fieldcoding.h"
#include "image/radioimage.h"
#include "table/channeltable.h"
#include "table/templatebuilder.h"

#include <algorithm>

namespace RepeaterAssignment {

QString emptyFieldText()
{
    return QStringLiteral("Вы не указали номер канала !!!");
}

QString notFoundText()
{
    return QStringLiteral("Такого номера канала нет в таблице !!!");
}

MaybeRefusal filterChannelKey(QChar key)
{
    // The same rule and message as the template's channel count field.
    return TemplateBuilder::filterCountKey(key);
}

std::uint8_t channelByte(const QString &channelField)
{
    const QString text = channelField.trimmed();
    const bool digitsOnly =
        !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
    if (!digitsOnly)
        return static_cast<std::uint8_t>(Numbers::toInt(channelField));
    // A number of any length: no digit count makes the field overflow.
    unsigned remainder = 0;
    for (const QChar c : text)
        remainder = (remainder * 10 + static_cast<unsigned>(c.unicode() - u'0')) % 256;
    return static_cast<std::uint8_t>(remainder);
}

int findRecord(const RadioImage &image, std::uint8_t number)
{
    const int used = std::min(image.channelCount(), RadioImage::MaxChannels);
    for (int k = 0; k < used; ++k) {
        if (image.records[static_cast<std::size_t>(k)][ChannelRecord::Number] == number)
            return k + 1;
    }
    return 0;
}

namespace {

// One side of the marking: the cell that gets the marker and the cell of the
// other side, whose marker an earlier marking of this row may have left.
struct Sides
{
    int marked;
    QString marker;
    int other;
    QString otherMarker;
};

Sides sidesOf(Mode mode)
{
    if (mode == Mode::Receive)
        return {ChannelTable::Tx, FieldCoding::txRepeaterText(), ChannelTable::Rx, FieldCoding::rxRepeaterText()};
    return {ChannelTable::Rx, FieldCoding::rxRepeaterText(), ChannelTable::Tx, FieldCoding::txRepeaterText()};
}

} // namespace

Outcome write(ChannelTable &table, QString &savedText, const RadioImage &image, const QString &channelField, Mode mode)
{
    if (channelField.isEmpty())
        return {Refusal{emptyFieldText()}, 0};

    const int row = findRecord(image, channelByte(channelField));
    // A record past the rows of the current table (after a smaller template
    // or a load) has no cells to mark: it counts as not found.
    if (row == 0 || row > table.channelCount())
        return {Refusal{notFoundText()}, 0};

    const Sides s = sidesOf(mode);
    if (table.cell(s.other, row) == s.otherMarker)
        table.setCell(s.other, row, savedText);
    savedText = table.cell(s.marked, row);
    table.setCell(s.marked, row, s.marker);
    table.setChecked(ChannelTable::Scan, row, false);
    return {std::nullopt, row};
}

} // namespace RepeaterAssignment
