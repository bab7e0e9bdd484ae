#include "main/celleditors.h"
#include "main/columnvaluedialog.h"
#include "main/tableexchange.h"
#include "main/tablefinddialog.h"
#include "main/tablehistory.h"
#include "main/mainwindow.h"
#include "main/workarealayout.h"

#include <QAction>
#include <QComboBox>
#include <QFrame>
#include <QTableView>

void MainWindow::buildTableTools()
{
    m_exchange = new TableExchange(
        m_state, m_ui, *m_model, *m_history, *m_grid, m_recent,
        [this] {
            refreshSettingsText();
            showWorkArea(true);
            showSettingsText(true);
            showTable(true);
        },
        this);

    // Ctrl+F and F3 work wherever the focus is in the window; the value for
    // the selection is an entry of the table's context menu.
    auto *find = new TableFindDialog(*m_grid, *m_model, this);
    auto *setValue = new ColumnValueDialog(*m_grid, *m_model, m_ui, this);
    auto *line = new QAction(this);
    line->setSeparator(true);
    m_grid->addAction(line);
    for (QAction *action : {find->showAction(), find->nextAction(), find->previousAction(), setValue->action()}) {
        // A list left open over a cell gives its item back first.
        connect(action, &QAction::triggered, m_editors, &CellEditors::closeList, Qt::DirectConnection);
        m_grid->addAction(action);
    }
    addAction(find->showAction());
    addAction(find->nextAction());
    addAction(find->previousAction());

    new WorkAreaLayout(*centralWidget(), *m_workArea, *m_grid);
}

void MainWindow::onExportCsv()
{
    m_exchange->exportCsv();
}

void MainWindow::onImportCsv()
{
    m_exchange->importCsv();
}

void MainWindow::onPrint()
{
    m_exchange->print();
}

void MainWindow::onSavePdf()
{
    m_exchange->savePdf();
}
