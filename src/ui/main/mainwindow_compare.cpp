// "Сравнить с файлом…" and "Сравнить со станцией…": the table, checked as by
// "Контроль", against a channel file or the station, and differences taken
// back into the table as one step of its history.
#include "check/datacheck.h"
#include "common/paths.h"
#include "compare/comparisontaking.h"
#include "compare/comparisondialog.h"
#include "files/channelfile.h"
#include "main/celleditors.h"
#include "main/channeltablemodel.h"
#include "main/tablehistory.h"
#include "main/mainwindow.h"
#include "services/guard.h"
#include "services/uiservices.h"

#include <QFileInfo>
#include <QPlainTextEdit>
#include <QTableView>
#include <QTemporaryDir>

ComparisonDialog *MainWindow::compareWindow()
{
    if (!m_compare) {
        m_compare = new ComparisonDialog(m_state, m_ui, m_ports, this);
        m_compare->setTake([this](const QList<StationComparison::Difference> &chosen, const StationSide &from) {
            takeDifferences(chosen, from);
        });
        m_compare->setCheck([this] { return checkForComparison(); });
        // Whatever changes the table or the settings text, the list may no longer say what they hold.
        connect(m_model, &QAbstractItemModel::dataChanged, m_compare, &ComparisonDialog::tableChanged);
        connect(m_model, &QAbstractItemModel::modelReset, m_compare, &ComparisonDialog::tableChanged);
        connect(m_model, &QAbstractItemModel::rowsInserted, m_compare, &ComparisonDialog::tableChanged);
        connect(m_model, &QAbstractItemModel::rowsRemoved, m_compare, &ComparisonDialog::tableChanged);
        connect(m_settingsText, &QPlainTextEdit::textChanged, m_compare, &ComparisonDialog::tableChanged);
        connect(m_compare, &ComparisonDialog::cellRequested, this, [this](int row, int column) {
            const QModelIndex index = m_model->index(row - 1, std::max(column, 0));
            m_grid->setCurrentIndex(index);
            m_grid->scrollTo(index);
            activateWindow();
        });
        // After a take, where Ctrl+Z takes the step back.
        connect(m_compare, &ComparisonDialog::tableRequested, this, [this] {
            activateWindow();
            m_grid->setFocus(Qt::OtherFocusReason);
        });
    }
    return m_compare;
}

bool MainWindow::checkForComparison()
{
    const DataCheckResult result = m_state.check(Paths::tempSettingsFile());
    if (result.refusal)
        m_ui.showRefusal(*result.refusal);
    return result.passed();
}

void MainWindow::onCompareWithFile()
{
    guarded(m_ui, [&] {
        if (!checkForComparison())
            return;
        const QString path =
            m_ui.askOpenFileName({QString(), QStringLiteral("Файлы(*.ini)|*.ini"), m_recent.lastFolder(), QString()});
        if (path.isEmpty())
            return;
        m_recent.useFolder(QFileInfo(path).absolutePath());
        ChannelPlan file;
        const ChannelFile::LoadResult loaded = ChannelFile::load(path, file);
        if (loaded.refusal) {
            m_ui.showRefusal(*loaded.refusal);
            return;
        }
        // The file's check keeps its temporary settings apart from the table's.
        const QTemporaryDir scratch;
        const DataCheckResult checked = DataCheck::run(file, scratch.filePath(QStringLiteral("MyTemp.ini")));
        if (checked.refusal) {
            m_ui.showRefusal(*checked.refusal);
            return;
        }
        compareWindow()->showFileComparison(StationSide::checked(file, checked.station), loaded.namesSerial);
    });
}

void MainWindow::onCompareWithStation()
{
    guarded(m_ui, [&] {
        if (checkForComparison())
            compareWindow()->openForStation();
    });
}

void MainWindow::takeDifferences(const QList<StationComparison::Difference> &chosen, const StationSide &from)
{
    m_editors->closeList();
    MaybeRefusal refusal;
    {
        const TableHistory::WholeStep step(*m_history, QStringLiteral("Взять выбранное"));
        const ChannelTableModel::TableChange change(*m_model);
        refusal = ComparisonTaking::take(chosen, from, m_state.table, m_state.settingsLines).refusal;
    }
    refreshSettingsText();
    if (refusal)
        m_ui.showRefusal(*refusal);
}
