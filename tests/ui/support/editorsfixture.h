#pragma once

#include "main/celleditors.h"
#include "main/channeltablemodel.h"
#include "mainwindowfixture.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QTableView>

// A main window with a template of channels, active so that focus moves as
// it does for the user; cells by table row (1..N) and column.
struct EditorsFixture : MainWindowFixture
{
    QTableView *grid = nullptr;
    ChannelTableModel *model = nullptr;
    CellEditors *editors = nullptr;

    explicit EditorsFixture(int channels = 10)
    {
        makeTemplate(QString::number(channels), "140000", "1000");
        QCoreApplication::processEvents(); // the view lays out the new rows
        grid = widget<QTableView>("StringGrid1");
        model = window->tableModel();
        editors = window->findChild<CellEditors *>();
        activate();
    }
    // The offscreen platform leaves a closed drop-down the active window.
    void activate() const { QApplication::setActiveWindow(window.get()); }

    QModelIndex index(int column, int row) const { return model->index(row - 1, column); }
    QString text(int column, int row) const { return state.table.cell(column, row); }
    void setText(int column, int row, const QString &text) const
    {
        model->setData(index(column, row), text, Qt::EditRole);
    }
    QRect cellRect(int column, int row) const { return grid->visualRect(index(column, row)); }
    void click(int column, int row, QPoint offset = {}) const
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellRect(column, row).center() + offset);
    }
    QComboBox *list(int number) const
    {
        return widget<QComboBox>(qPrintable(QStringLiteral("ComboBox%1").arg(number)));
    }
    QList<QComboBox *> shownLists() const
    {
        QList<QComboBox *> out;
        for (int n = 1; n <= 8; ++n)
            if (list(n)->isVisible())
                out << list(n);
        return out;
    }
    // The user opens the drop-down, goes to the item and takes it.
    void pick(QComboBox *combo, int item) const
    {
        combo->showPopup();
        QAbstractItemView *view = combo->view();
        view->setCurrentIndex(view->model()->index(item, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
    void typeInto(const QString &typed) const { QTest::keyClicks(QApplication::focusWidget(), typed); }
};
