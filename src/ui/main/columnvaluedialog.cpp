#include "main/columnvaluedialog.h"
#include "main/channeltablemodel.h"
#include "main/tableselection.h"
#include "services/uiservices.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

ColumnValueDialog::ColumnValueDialog(QTableView &grid, ChannelTableModel &model, UiServices &ui, QWidget *parent)
    : QDialog(parent), m_grid(grid), m_model(model), m_ui(ui)
{
    setObjectName(QStringLiteral("ColumnValue"));
    setWindowTitle(QStringLiteral("Задать для выделенных"));
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowModality(Qt::WindowModal);

    m_what = new QLabel(this);
    m_what->setObjectName(QStringLiteral("ColumnValueWhat"));
    m_list = new QComboBox(this);
    m_list->setObjectName(QStringLiteral("ColumnValueList"));
    m_list->setMaxVisibleItems(20);
    m_typed = new QLineEdit(this);
    m_typed->setObjectName(QStringLiteral("ColumnValueTyped"));
    auto *buttons = new QDialogButtonBox(this);
    m_ok = buttons->addButton(QStringLiteral("Задать"), QDialogButtonBox::AcceptRole);
    m_ok->setObjectName(QStringLiteral("ColumnValueOk"));
    buttons->addButton(QStringLiteral("Отмена"), QDialogButtonBox::RejectRole);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_what);
    layout->addWidget(m_list);
    layout->addWidget(m_typed);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this, &ColumnValueDialog::apply);
    // A typed column takes no empty value.
    connect(m_typed, &QLineEdit::textChanged, this,
            [this](const QString &text) { m_ok->setEnabled(m_typed->isHidden() || !text.trimmed().isEmpty()); });

    m_action = new QAction(QStringLiteral("Задать для выделенных…"), this);
    m_action->setObjectName(QStringLiteral("TableSetSelected"));
    connect(m_action, &QAction::triggered, this, &ColumnValueDialog::start);
}

void ColumnValueDialog::start()
{
    const auto range = TableSelection::range(m_grid);
    if (!range || m_model.rowCount() == 0)
        return;
    const auto choice = ColumnValue::choiceFor(*range);
    if (const auto *refusal = std::get_if<Refusal>(&choice)) {
        m_ui.showRefusal(*refusal);
        return;
    }
    m_range = *range;
    m_choice = std::get<ColumnValue::Choice>(choice);
    const QStringList items = m_choice.items();
    const QString first = ChannelTable::headerTexts()[static_cast<std::size_t>(m_range.left)].trimmed();
    const QString columns =
        m_range.right == m_range.left
            ? QStringLiteral("столбце \"%1\"").arg(first)
            : QStringLiteral("столбцах \"%1\" - \"%2\"")
                  .arg(first, ChannelTable::headerTexts()[static_cast<std::size_t>(m_range.right)].trimmed());
    const int cells = (m_range.right - m_range.left + 1) * (m_range.bottom - m_range.top + 1);
    m_what->setText(QStringLiteral("Значение для %1 выделенных ячеек в %2 (строки %3-%4):")
                        .arg(cells)
                        .arg(columns)
                        .arg(m_range.top)
                        .arg(m_range.bottom));
    m_list->clear();
    m_list->addItems(items);
    m_list->setVisible(!items.isEmpty());
    m_typed->setVisible(items.isEmpty());
    // The value of the selection's first cell is where the choice starts.
    const QString current = m_model.index(m_range.top - 1, m_range.left).data(Qt::EditRole).toString();
    m_typed->setText(current);
    m_typed->selectAll();
    if (const qsizetype at = items.indexOf(current); at >= 0)
        m_list->setCurrentIndex(int(at));
    m_ok->setEnabled(!items.isEmpty() || !current.trimmed().isEmpty());
    adjustSize();
    open();
    (items.isEmpty() ? static_cast<QWidget *>(m_typed) : m_list)->setFocus(Qt::OtherFocusReason);
}

void ColumnValueDialog::apply()
{
    const QString value = m_typed->isHidden() ? m_list->currentText() : m_typed->text().trimmed();
    if (value.isEmpty())
        return;
    m_model.writeCells(ColumnValue::writes(m_model.table(), m_range, value), QStringLiteral("Задать для выделенных"));
    m_grid.setFocus(Qt::OtherFocusReason);
}
