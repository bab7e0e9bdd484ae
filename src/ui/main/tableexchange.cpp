#include "main/tableexchange.h"
#include "exchange/channelcsv.h"
#include "main/channeltablemodel.h"
#include "main/recentfiles.h"
#include "main/tablehistory.h"
#include "channelsheet.h"
#include "paperpainter.h"
#include "paperpdf.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "main/appstate.h"
#include "table/settingstext.h"

#include <QDate>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QPrinter>
#include <QTableView>

TableExchange::TableExchange(AppState &state, UiServices &ui, ChannelTableModel &model, TableHistory &history,
                             QTableView &grid, RecentFiles &recent, std::function<void()> showTable, QObject *parent)
    : QObject(parent), m_state(state), m_ui(ui), m_model(model), m_history(history), m_grid(grid), m_recent(recent),
      m_showTable(std::move(showTable))
{
    setObjectName(QStringLiteral("TableExchange"));
}

QString TableExchange::csvFilter()
{
    return QStringLiteral("Таблица CSV, UTF-8|*.csv|Таблица CSV, Windows-1251|*.csv");
}

bool TableExchange::hasTable()
{
    // The table of the program's start has no header: nothing was made or read yet.
    if (!m_state.table.cell(ChannelTable::Number, 0).isEmpty())
        return true;
    m_ui.showMessage(QStringLiteral("Таблицы каналов еще нет: создайте шаблон или прочитайте файл."));
    return false;
}

QString TableExchange::proposedName(const QString &suffix) const
{
    const QString last = m_recent.lastFile();
    return (last.isEmpty() ? QStringLiteral("Таблица каналов") : QFileInfo(last).completeBaseName()) + suffix;
}

void TableExchange::exportCsv()
{
    guarded(m_ui, [&] {
        if (!hasTable())
            return;
        const auto file = m_ui.askSaveFile({QStringLiteral("Экспорт таблицы каналов в CSV"), csvFilter(),
                                            m_recent.lastFolder(), proposedName(QStringLiteral(".csv"))});
        if (file.path.isEmpty())
            return;
        m_recent.useFolder(QFileInfo(file.path).absolutePath());
        const auto encoding = file.filter == 1 ? ChannelCsv::Encoding::Windows1251 : ChannelCsv::Encoding::Utf8;
        if (const auto refusal = ChannelCsv::save(m_state.table, file.path, encoding))
            m_ui.showRefusal(*refusal);
    });
}

void TableExchange::importCsv()
{
    guarded(m_ui, [&] {
        const QString path =
            m_ui.askOpenFileName({QStringLiteral("Импорт таблицы каналов из CSV"), QStringLiteral("Таблица CSV|*.csv"),
                                  m_recent.lastFolder(), QString()});
        if (path.isEmpty())
            return;
        m_recent.useFolder(QFileInfo(path).absolutePath());
        const auto imported = ChannelCsv::load(path);
        if (const auto *refusal = std::get_if<Refusal>(&imported)) {
            m_ui.showRefusal(*refusal);
            return;
        }
        take(std::get<ChannelCsv::Imported>(imported).table, QFileInfo(path).fileName());
    });
}

void TableExchange::take(const ChannelTable &imported, const QString &file)
{
    const bool hadTable = !m_state.table.cell(ChannelTable::Number, 0).isEmpty();
    const QModelIndex current = m_grid.currentIndex();
    const int at = current.isValid() ? ChannelTableModel::tableRow(current) : m_state.table.rowCount();
    bool insert = false;
    if (hadTable) {
        const QString here = current.isValid() ? QStringLiteral("Вставить перед строкой %1").arg(at)
                                               : QStringLiteral("Добавить в конец таблицы");
        const int choice =
            m_ui.choose(QStringLiteral("В файле %1 каналов: %2.\nЗаменить ими таблицу каналов или вставить их в нее?")
                            .arg(file)
                            .arg(imported.channelCount()),
                        {QStringLiteral("Заменить таблицу"), here});
        if (choice < 0)
            return;
        insert = choice == 1;
    }
    m_history.editRows(QStringLiteral("Импорт из CSV"), [&] {
        const ChannelTableModel::TableChange change(m_model);
        m_state.table = insert ? ChannelCsv::inserted(m_state.table, at, imported) : imported;
        // A table with no settings yet takes the template's, as a new template would.
        if (m_state.settingsLines.isEmpty())
            m_state.settingsLines = SettingsText::templateLines();
    });
    m_showTable();
    // The first row that came in is the current one.
    const QModelIndex first = m_model.index(insert ? at - 1 : 0, 0);
    m_grid.selectionModel()->setCurrentIndex(first, QItemSelectionModel::ClearAndSelect);
    m_grid.scrollTo(first);
}

void TableExchange::print()
{
    guarded(m_ui, [&] {
        if (!hasTable())
            return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageLayout(ChannelSheet::pageLayout());
        printer.setDocName(proposedName(QString()));
        if (!m_ui.choosePrinter(printer))
            return;
        PaperPainter::paint(
            ChannelSheet::build(m_state, QDate::currentDate(), QFileInfo(m_recent.lastFile()).fileName()), printer);
    });
}

void TableExchange::savePdf()
{
    guarded(m_ui, [&] {
        if (!hasTable())
            return;
        const QString path = m_ui.askSaveFileName({QStringLiteral("Сохранение таблицы каналов в PDF"),
                                                   QStringLiteral("Документ PDF|*.pdf"), m_recent.lastFolder(),
                                                   proposedName(QStringLiteral(".pdf"))});
        if (path.isEmpty())
            return;
        m_recent.useFolder(QFileInfo(path).absolutePath());
        PaperPdf::save(ChannelSheet::build(m_state, QDate::currentDate(), QFileInfo(m_recent.lastFile()).fileName()),
                       path);
    });
}
