#include "table/channeltable.h"

namespace {

// Every column in one place: its header, its width in the window and what a
// template puts into it. The template numbers the rows and computes the two
// frequencies itself; the check columns' values are their boxes.
struct ColumnSpec
{
    QString header;
    int width;
    QString templateText;
};

const std::array<ColumnSpec, ChannelTable::ColumnCount> &columnSpecs()
{
    static const QString none = QStringLiteral("Нет");
    static const std::array<ColumnSpec, ChannelTable::ColumnCount> specs{{
        {QStringLiteral("№ кан."), 40, QString()},
        {QStringLiteral(" Rx, кГц"), 55, QString()},
        {QStringLiteral(" Tx, кГц"), 55, QString()},
        {QStringLiteral("CTC_Rx"), 48, none},
        {QStringLiteral("CTC_Tx"), 47, none},
        {QStringLiteral("DCS_Rx"), 47, none},
        {QStringLiteral("DCS_Tx"), 46, none},
        {QStringLiteral("Тон_Rx"), 44, none},
        {QStringLiteral("Тон_Tx"), 42, none},
        {QStringLiteral("  ШП"), 33, QStringLiteral("1")},
        {QStringLiteral("P_max"), 38, QStringLiteral("4")},
        {QStringLiteral("P_min"), 35, QStringLiteral("1")},
        {QStringLiteral("Скан."), 33, QString()},
        {QStringLiteral("  SW"), 34, QStringLiteral("25")},
        {QStringLiteral("Id_Тон"), 39, QString()},
        {QStringLiteral("Tx_Off"), 40, QStringLiteral("Норм")},
        {QStringLiteral("Время"), 41, none},
        {QStringLiteral("Акт"), 32, QString()},
    }};
    return specs;
}

template <typename T, typename Field>
std::array<T, ChannelTable::ColumnCount> eachColumn(Field field)
{
    std::array<T, ChannelTable::ColumnCount> values{};
    for (std::size_t c = 0; c < values.size(); ++c)
        values[c] = columnSpecs()[c].*field;
    return values;
}

} // namespace

const ChannelTable::Texts &ChannelTable::headerTexts()
{
    static const Texts texts = eachColumn<QString>(&ColumnSpec::header);
    return texts;
}

const ChannelTable::Texts &ChannelTable::loadedHeaderTexts()
{
    static const Texts texts = [] {
        Texts loaded = headerTexts();
        loaded[Tx] = QStringLiteral(" Tx, кГЦ");
        return loaded;
    }();
    return texts;
}

const ChannelTable::Texts &ChannelTable::templateTexts()
{
    static const Texts texts = eachColumn<QString>(&ColumnSpec::templateText);
    return texts;
}

int ChannelTable::checkIndex(int column)
{
    switch (column) {
    case Scan:
        return 0;
    case IdTone:
        return 1;
    case Active:
        return 2;
    default:
        return -1;
    }
}

const std::array<int, ChannelTable::ColumnCount> &ChannelTable::columnWidths()
{
    static const std::array<int, ColumnCount> widths = eachColumn<int>(&ColumnSpec::width);
    return widths;
}

ChannelTable::ChannelTable() : m_rows(11) {}

void ChannelTable::setRowCount(int rows)
{
    m_rows.resize(static_cast<std::size_t>(rows < 1 ? 1 : rows));
}

const QString &ChannelTable::cell(int column, int row) const
{
    return m_rows.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(column));
}

void ChannelTable::setCell(int column, int row, const QString &text)
{
    m_rows.at(static_cast<std::size_t>(row)).cells.at(static_cast<std::size_t>(column)) = text;
}

void ChannelTable::setHeader(const Texts &texts)
{
    m_rows.front().cells = texts;
}

bool ChannelTable::hasBoxes(int row) const
{
    return row >= 1 && row < rowCount() && m_rows[static_cast<std::size_t>(row)].boxes.has_value();
}

bool ChannelTable::isChecked(int column, int row) const
{
    const int index = checkIndex(column);
    if (index < 0 || !hasBoxes(row))
        return false;
    return (*m_rows[static_cast<std::size_t>(row)].boxes)[static_cast<std::size_t>(index)];
}

void ChannelTable::setChecked(int column, int row, bool checked)
{
    const int index = checkIndex(column);
    if (index < 0 || !hasBoxes(row))
        return;
    (*m_rows[static_cast<std::size_t>(row)].boxes)[static_cast<std::size_t>(index)] = checked;
}

void ChannelTable::addCheckBoxes()
{
    detachCheckBoxes();
    for (std::size_t r = 1; r < m_rows.size(); ++r)
        m_rows[r].boxes = std::array<bool, 3>{true, false, true};
    m_checkBoxRowCount = rowCount();
}

void ChannelTable::detachCheckBoxes()
{
    for (Row &row : m_rows)
        row.boxes.reset();
}

void ChannelTable::insertRow(int row)
{
    if (row < 1 || row > rowCount())
        return;
    const bool boxes = hasBoxes(row) || hasBoxes(row - 1);
    Row inserted{templateTexts(), std::nullopt};
    if (boxes)
        inserted.boxes = std::array<bool, 3>{true, false, true};
    inserted.cells[Number] = row < rowCount() ? cell(Number, row) : QString::number(row);
    m_rows.insert(m_rows.begin() + row, std::move(inserted));
    if (boxes)
        ++m_checkBoxRowCount;
}

void ChannelTable::removeRow(int row)
{
    if (row < 1 || row >= rowCount() || channelCount() <= 1)
        return;
    const bool boxes = hasBoxes(row);
    m_rows.erase(m_rows.begin() + row);
    if (boxes && m_checkBoxRowCount > 1)
        --m_checkBoxRowCount;
}

void ChannelTable::renumberFrom(int row, int by)
{
    for (int r = row; r < rowCount(); ++r) {
        QString &number = m_rows[static_cast<std::size_t>(r)].cells[Number];
        bool whole = false;
        const int n = number.toInt(&whole);
        if (whole)
            number = QString::number(n + by);
    }
}
