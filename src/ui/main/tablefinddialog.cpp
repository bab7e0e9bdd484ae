#include "main/tablefinddialog.h"
#include "main/channeltablemodel.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

TableFindDialog::TableFindDialog(QTableView &grid, ChannelTableModel &model, QWidget *parent)
    : QDialog(parent, Qt::Tool), m_grid(grid), m_model(model)
{
    setObjectName(QStringLiteral("TableFind"));
    setWindowTitle(QStringLiteral("Поиск в таблице"));
    setAttribute(Qt::WA_QuitOnClose, false);

    m_text = new QLineEdit(this);
    m_text->setObjectName(QStringLiteral("TableFindText"));
    m_text->setPlaceholderText(QStringLiteral("частота, код или текст"));
    m_wholeCell = new QCheckBox(QStringLiteral("Ячейка целиком"), this);
    m_wholeCell->setObjectName(QStringLiteral("TableFindWholeCell"));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("TableFindStatus"));
    m_status->setFixedWidth(360);
    m_status->setMinimumHeight(2 * m_status->fontMetrics().height());
    auto *next = new QPushButton(QStringLiteral("Найти далее"), this);
    next->setObjectName(QStringLiteral("TableFindNextButton"));
    next->setDefault(true);
    auto *previous = new QPushButton(QStringLiteral("Назад"), this);
    previous->setObjectName(QStringLiteral("TableFindPreviousButton"));
    previous->setAutoDefault(false);
    auto *close = new QPushButton(QStringLiteral("Закрыть"), this);
    close->setAutoDefault(false);

    auto *layout = new QGridLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Найти:"), this), 0, 0);
    layout->addWidget(m_text, 0, 1);
    layout->addWidget(next, 0, 2);
    layout->addWidget(m_wholeCell, 1, 1);
    layout->addWidget(previous, 1, 2);
    layout->addWidget(close, 2, 2);
    layout->addWidget(m_status, 3, 0, 1, 3);
    // The window keeps its size; a long line wraps.
    m_status->setWordWrap(true);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(close, &QPushButton::clicked, this, &QDialog::hide);
    // A new text starts a new search: the old line no longer tells of it.
    connect(m_text, &QLineEdit::textEdited, this, [this] { say(QString()); });

    m_show = addKey("TableFindShow", QStringLiteral("Найти…"), QKeySequence(Qt::CTRL | Qt::Key_F));
    m_next = addKey("TableFindNext", QStringLiteral("Найти далее"), QKeySequence(Qt::Key_F3));
    m_previous = addKey("TableFindPrevious", QStringLiteral("Найти назад"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
    connect(m_show, &QAction::triggered, this, &TableFindDialog::showFind);
    connect(m_next, &QAction::triggered, this, [this] { findNext(); });
    connect(m_previous, &QAction::triggered, this, [this] { findNext(true); });
    // The buttons are the keys, with all the window connects to them.
    connect(next, &QPushButton::clicked, m_next, &QAction::trigger);
    connect(previous, &QPushButton::clicked, m_previous, &QAction::trigger);
    // The keys work in this window too.
    addAction(m_next);
    addAction(m_previous);
}

QAction *TableFindDialog::addKey(const char *name, const QString &text, const QKeySequence &key)
{
    auto *action = new QAction(text, this);
    action->setObjectName(QLatin1String(name));
    action->setShortcut(key);
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QString TableFindDialog::status() const
{
    return m_status->text();
}

void TableFindDialog::say(const QString &text)
{
    m_status->setText(text);
}

void TableFindDialog::showFind()
{
    if (!isVisible()) {
        // Beside the main window's top right corner, over its menu rather than its table.
        if (QWidget *main = parentWidget())
            move(main->frameGeometry().topRight() - QPoint(sizeHint().width() + 40, -40));
        show();
    }
    raise();
    activateWindow();
    m_text->setFocus(Qt::ShortcutFocusReason);
    m_text->selectAll();
}

void TableFindDialog::findNext(bool backwards)
{
    const TableFind::Query query{m_text->text(), m_wholeCell->isChecked()};
    if (query.text.trimmed().isEmpty()) {
        showFind();
        return;
    }
    const ChannelTable &table = m_model.table();
    const QModelIndex current = m_grid.currentIndex();
    // Without a current cell the search starts at the first cell, or the last going back.
    const TableFind::Cell from = current.isValid()
                                     ? TableFind::Cell{current.column(), ChannelTableModel::tableRow(current)}
                                 : backwards ? TableFind::Cell{0, 1}
                                             : TableFind::Cell{ChannelTable::ColumnCount - 1, table.channelCount()};
    const auto found = TableFind::next(table, from, query, backwards);
    if (!found) {
        QApplication::beep();
        say(QStringLiteral("Не найдено: \"%1\"").arg(query.text.trimmed()));
        return;
    }
    const bool only = current.isValid() && *found == from;
    const bool wrapped =
        current.isValid()
        && (backwards ? found->row > from.row || (found->row == from.row && found->column >= from.column)
                      : found->row < from.row || (found->row == from.row && found->column <= from.column));
    const QModelIndex index = m_model.index(found->row - 1, found->column);
    m_grid.selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_grid.scrollTo(index);
    const QString where = QStringLiteral("строка %1, \"%2\"")
                              .arg(found->row)
                              .arg(ChannelTable::headerTexts()[static_cast<std::size_t>(found->column)].trimmed());
    if (only)
        say(QStringLiteral("Других совпадений нет: %1").arg(where));
    else
        say(wrapped ? (backwards ? QStringLiteral("Найдено с конца таблицы: %1")
                                 : QStringLiteral("Найдено с начала таблицы: %1"))
                          .arg(where)
                    : QStringLiteral("Найдено: %1").arg(where));
}
