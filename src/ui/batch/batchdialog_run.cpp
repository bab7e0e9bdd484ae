// What "Начать", "Остановить" and "Сохранить журнал…" of the batch window do,
// and what the window shows of the running stations.
#include "batch/batchdialog.h"
#include "batch/batchchoice.h"
#include "batch/batchjournal.h"
#include "batch/batchprogress.h"
#include "batch/batchreports.h"
#include "batch/batchrunner.h"
#include "batch/batchstation.h"
#include "common/platformerror.h"
#include "files/fileaccess.h"
#include "image/fieldcoding.h"
#include "link/linktexts.h"
#include "main/recentfiles.h"
#include "services/guard.h"
#include "services/uiservices.h"
#include "main/appstate.h"
#include "transfer/outcomewords.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSaveFile>
#include <QTableWidget>
#include <QUrl>

namespace {

enum Column { PortColumn, SerialColumn, IdColumn, ProgressColumn, ResultColumn };

} // namespace

std::optional<QString> BatchDialog::collect(QList<Station> &stations) const
{
    QList<BatchChoice::Port> ports;
    for (int i = 0; i < m_portList->count(); ++i) {
        const QListWidgetItem *item = m_portList->item(i);
        if (item->checkState() == Qt::Checked)
            ports.append({item->data(Qt::UserRole).toString(), item->data(Qt::UserRole + 1).toString()});
    }
    if (ports.isEmpty())
        return QStringLiteral("Не отмечен ни один порт: отметьте порты, к которым подключены станции.");
    if (const auto problem = BatchChoice::checkPorts(ports)) {
        using Kind = BatchChoice::Problem::Kind;
        return problem->text
               + (problem->kind == Kind::NoDevice ? QStringLiteral(": назначьте его или снимите отметку.")
                                                  : QStringLiteral(": отметьте только один из них."));
    }

    const QString from = m_idFrom->text();
    QStringList ids(ports.size(), FieldCoding::idText(m_document.image.idCode));
    if (!from.isEmpty()) {
        const BatchChoice::Ids own = BatchChoice::ids(from, ports.size(), QStringLiteral("Id с"));
        if (own.problem)
            return own.problem->text
                   + (own.problem->kind == BatchChoice::Problem::Kind::IdPastLast
                          ? QStringLiteral(". Укажите меньший начальный Id или отметьте меньше портов.")
                          : QStringLiteral("."));
        ids = own.ids;
    }
    for (qsizetype k = 0; k < ports.size(); ++k) {
        Station station;
        station.port = ports.at(k).name;
        station.device = ports.at(k).device;
        station.id = ids.at(k);
        stations.append(station);
    }
    return std::nullopt;
}

void BatchDialog::onStart()
{
    if (isRunning())
        return;
    if (!m_document.dataValid) {
        m_ui.showRefusal(Refusal{LinkTexts::dataNotChecked()});
        return;
    }
    QList<Station> stations;
    if (const auto refusal = collect(stations)) {
        m_ui.showMessage(*refusal);
        return;
    }
    guarded(m_ui, [&] {
        std::shared_ptr<BatchReports> reports;
        const QString folder = QDir::fromNativeSeparators(m_reportFolder->text().trimmed());
        m_batchReportFolder.clear();
        if (!folder.isEmpty()) {
            reports = std::make_shared<BatchReports>(folder, m_protocol->text());
            reports->prepare(stations.size());
            m_batchReportFolder = reports->folder();
        }
        QDir().mkpath(m_archiveFolder);
        const bool ownIds = !m_idFrom->text().isEmpty();
        std::vector<StationPlan> plans;
        for (const Station &station : stations) {
            StationPlan plan = BatchStation::plan(m_document, m_document.checkedStation(), station.device,
                                                  m_optionsFile, m_archiveFolder, reports, nullptr);
            if (ownIds)
                BatchStation::setId(plan, station.id);
            plan.link.timings = m_timings;
            plan.link.factory = m_factory;
            plans.push_back(std::move(plan));
        }

        m_stations = stations;
        m_rows->setRowCount(0);
        m_rows->setRowCount(int(stations.size()));
        for (int row = 0; row < m_stations.size(); ++row) {
            const Station &station = m_stations.at(row);
            m_rows->setItem(row, PortColumn, new QTableWidgetItem(station.port));
            m_rows->setItem(row, SerialColumn, new QTableWidgetItem(QStringLiteral("-")));
            m_rows->setItem(row, IdColumn, new QTableWidgetItem(station.id));
            auto *bar = new QProgressBar(m_rows);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setFormat(QStringLiteral("ждёт"));
            m_rows->setCellWidget(row, ProgressColumn, bar);
            m_rows->setItem(row, ResultColumn, new QTableWidgetItem(QString()));
        }
        m_summary->clear();
        m_files->clear();
        showEveryRow();
        setRunning(true);
        m_runner->start(std::move(plans));
    });
}

void BatchDialog::showEveryRow()
{
    // Taller, within the screen, until the table shows every station's row.
    const int rows = m_rows->rowCount();
    const int needed = rows > 0 ? m_rows->rowViewportPosition(rows - 1) + m_rows->rowHeight(rows - 1) : 0;
    const int missing = needed - m_rows->viewport()->height();
    if (missing <= 0)
        return;
    const QScreen *shownOn = screen();
    if (!shownOn)
        return;
    const QRect available = shownOn->availableGeometry();
    const int frame = frameGeometry().height() - height();
    const int grown = std::min(height() + missing, available.height() - frame);
    if (grown <= height())
        return;
    resize(width(), grown);
    if (const int below = frameGeometry().bottom() - available.bottom(); below > 0)
        move(x(), std::max(available.top(), y() - below));
}

void BatchDialog::onStop()
{
    // Stations that have not begun do not begin; a write under way runs to
    // its end and its station stops before the read-back.
    if (!isRunning() || m_runner->stopRequested())
        return;
    m_runner->requestStop();
    m_stopButton->setEnabled(false);
    m_summary->setText(QStringLiteral("Останавливается: начатые записи доводятся до конца…"));
}

void BatchDialog::stepStarted(int station, int step, const QString &serial)
{
    if (!serial.isEmpty()) {
        m_stations[station].serial = serial;
        m_rows->item(station, SerialColumn)->setText(serial);
    }
    m_stations[station].step = step;
    if (auto *bar = qobject_cast<QProgressBar *>(m_rows->cellWidget(station, ProgressColumn))) {
        bar->setFormat(BatchStation::stepName(SequenceStep(step)) + QStringLiteral(" %p%"));
        bar->setValue(BatchProgress::overall(SequenceStep(step), 0));
    }
}

void BatchDialog::progress(int station, int percent)
{
    // The bar shows the station's whole sequence, so that it only grows.
    if (auto *bar = qobject_cast<QProgressBar *>(m_rows->cellWidget(station, ProgressColumn)))
        bar->setValue(BatchProgress::overall(SequenceStep(m_stations.at(station).step), percent));
}

void BatchDialog::stationFinished(int station)
{
    const SequenceOutcome &outcome = m_runner->outcomes()[std::size_t(station)];
    Station &row = m_stations[station];
    if (!outcome.serial.isEmpty())
        row.serial = outcome.serial;
    row.result = OutcomeWords::text(outcome, OutcomeWords::Voice::BatchLine);
    row.ended = QDateTime::currentDateTime();
    row.archiveCopy = outcome.archiveCopy;
    row.report = outcome.report;
    m_rows->item(station, SerialColumn)->setText(row.serial.isEmpty() ? QStringLiteral("-") : row.serial);
    m_rows->item(station, ResultColumn)->setText(row.result);
    // The column may cut a long result; its tooltip and the journal hold it whole.
    m_rows->item(station, ResultColumn)->setToolTip(row.result);
    if (auto *bar = qobject_cast<QProgressBar *>(m_rows->cellWidget(station, ProgressColumn))) {
        bar->setFormat(OutcomeWords::gaugeText(outcome));
        bar->setValue(OutcomeWords::verified(outcome) ? 100 : bar->value());
    }
}

void BatchDialog::finished()
{
    int verified = 0;
    for (const SequenceOutcome &outcome : m_runner->outcomes())
        verified += OutcomeWords::verified(outcome) ? 1 : 0;
    m_summary->setText(QStringLiteral("Записано и проверено: %1 из %2").arg(verified).arg(m_runner->outcomes().size()));
    showFiles();
    setRunning(false);
    m_saveLog->setEnabled(true);
    emit batchFinished();
}

void BatchDialog::showFiles()
{
    QStringList lines;
    const auto link = [](const QString &path) {
        return QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(QUrl::fromLocalFile(path).toString().toHtmlEscaped(), QDir::toNativeSeparators(path).toHtmlEscaped());
    };
    for (const Station &station : m_stations) {
        if (!station.archiveCopy.isEmpty())
            lines.append(QStringLiteral("%1: копия в архиве чтений: %2")
                             .arg(station.port.toHtmlEscaped(), link(station.archiveCopy)));
        if (!station.report.isEmpty())
            lines.append(QStringLiteral("%1: протокол: %2").arg(station.port.toHtmlEscaped(), link(station.report)));
    }
    m_files->setText(lines.join(QStringLiteral("<br>")));
}

void BatchDialog::onSaveLog()
{
    if (m_stations.isEmpty() || isRunning())
        return;
    // The journal goes where the last one went, at first beside the reports
    // it names, else where the technician's files were used last.
    QString folder = m_journalFolder;
    if (folder.isEmpty())
        folder = m_batchReportFolder;
    if (folder.isEmpty())
        folder = RecentFiles().lastFolder();
    const QString path = m_ui.askSaveFileName(UiServices::FileDialog{QStringLiteral("Сохранить журнал"),
                                                                     QStringLiteral("Журнал (*.csv)|*.csv"), folder,
                                                                     QStringLiteral("журнал.csv")});
    if (path.isEmpty())
        return;
    m_journalFolder = QFileInfo(path).absolutePath();
    guarded(m_ui, [&] {
        if (const auto refusal = FileAccess::targetRefusal(path)) {
            m_ui.showMessage(*refusal);
            return;
        }
        QList<BatchJournal::Row> rows;
        for (const Station &s : m_stations)
            rows.append({s.port, s.serial.isEmpty() ? QStringLiteral("-") : s.serial, s.id, s.result, s.ended,
                         s.archiveCopy, s.report});
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(BatchJournal::csv(rows)) < 0 || !file.commit())
            throw PlatformError(QStringLiteral("Журнал не сохранен в файл %1: %2")
                                    .arg(QDir::toNativeSeparators(path), file.errorString()));
    });
}
