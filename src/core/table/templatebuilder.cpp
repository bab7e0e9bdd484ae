#include "table/templatebuilder.h"
#include "common/numbers.h"
#include "table/channelplan.h"
#include "table/settingstext.h"

namespace TemplateBuilder {

namespace {
constexpr QChar kBackspace = QChar(8);
}

QString bandRange(int bandLowKHz, int bandHighKHz)
{
    return Numbers::formatShortest(bandLowKHz / 1000.0) + u'-' + Numbers::formatShortest(bandHighKHz / 1000.0);
}

bool isMultipleOf6_25(double kHz)
{
    return Numbers::roundHalfEven(kHz * 100.0) % 625 == 0;
}

MaybeRefusal build(const Fields &fields, int bandLowKHz, int bandHighKHz, ChannelTable &table,
                   QStringList &settingsLines)
{
    if (fields.count.size() < 1 || fields.count.size() > 2)
        return Refusal{QStringLiteral("Вы не ввели количество каналов или ввели слишком много"), Sound::Error};
    const int count = Numbers::toInt(fields.count);

    const double start = Numbers::toDecimal(fields.start);
    if (!isMultipleOf6_25(start))
        return Refusal{QStringLiteral("Частота должна быть кратна 6,25кГц"), Sound::Error};

    const double step = Numbers::toDecimal(fields.step);
    if (!isMultipleOf6_25(step))
        return Refusal{QStringLiteral("Шаг смещения должен быть кратен 6,25кГц"), Sound::Error};

    if (start < bandLowKHz || start > bandHighKHz)
        return Refusal{QStringLiteral("Введенная частота не соответствует частотному диапазону, частотный диапазон ")
                       + bandRange(bandLowKHz, bandHighKHz) + QStringLiteral(" МГц")};

    table.setRowCount(count + 1);
    table.setHeader(ChannelTable::headerTexts());
    for (int r = 1; r <= count; ++r) {
        double f = start + step * (r - 1);
        if (f > bandHighKHz)
            f = bandHighKHz;
        const QString text = Numbers::formatShortest(f);
        table.setCell(ChannelTable::Rx, r, text);
        table.setCell(ChannelTable::Tx, r, text);
    }
    const ChannelTable::Texts &defaults = ChannelTable::templateTexts();
    for (int r = 1; r <= count; ++r) {
        for (int c = 0; c < ChannelTable::ColumnCount; ++c) {
            if (c != ChannelTable::Rx && c != ChannelTable::Tx)
                table.setCell(c, r, defaults[static_cast<std::size_t>(c)]);
        }
        table.setCell(ChannelTable::Number, r, QString::number(r));
    }
    settingsLines = SettingsText::templateLines();
    table.addCheckBoxes();
    return std::nullopt;
}

MaybeRefusal build(const Fields &fields, ChannelPlan &plan)
{
    return build(fields, plan.profile().lowKHz, plan.profile().highKHz, plan.table, plan.settingsLines);
}

MaybeRefusal filterCountKey(QChar key)
{
    if (key == kBackspace || (key >= u'0' && key <= u'9'))
        return std::nullopt;
    return Refusal{QStringLiteral("Вводите только цифры от 0 до 9"), Sound::Default};
}

MaybeRefusal filterFrequencyKey(QChar key)
{
    if (key == kBackspace || key == u',' || (key >= u'0' && key <= u'9'))
        return std::nullopt;
    return Refusal{QStringLiteral("Вводите только цифры от 0 до 9 и запятую"), Sound::Default};
}

} // namespace TemplateBuilder
