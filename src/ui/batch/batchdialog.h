#pragma once

#include "common/paths.h"
#include "files/readarchive.h"
#include "link/linktimings.h"
#include "link/systemseriallink.h"

#include <QDateTime>
#include <QDialog>
#include <memory>

struct AppState;
class BatchRunner;
class PortChoice;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTableWidget;
class UiServices;

// "Пакетная запись": the checked table into every checked port's station at
// once, each as `vetral-cli fleet` does it (backup with its archive copy,
// write with its own Id, read back and compare, report), on threads of
// their own. The window takes what it needs of the main window's document
// when "Начать" is pressed and never writes it. It is application-modal, so
// the main window takes no input while it is open; it cannot be closed while
// a batch runs, and when the program ends during one, the batch is stopped
// as "Остановить" stops it before anything it uses goes.
class BatchDialog : public QDialog
{
    Q_OBJECT
public:
    BatchDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent = nullptr);
    ~BatchDialog() override;

    // Where the ports are mapped and the copies kept; tests point them at
    // their own, and pass short waits.
    void setOptionsFile(const QString &path) { m_optionsFile = path; }
    void setArchiveFolder(const QString &path) { m_archiveFolder = path; }
    void setLinkTimings(const LinkTimings &timings) { m_timings = timings; }
    void setLinkFactory(SerialLinkFactory factory) { m_factory = std::move(factory); }

    bool isRunning() const;
    // The ports as listed: "COM3", or the system's name of a device.
    QStringList portNames() const;
    void setPortChecked(const QString &name, bool checked);

public slots:
    // "Станция" → "Пакетная запись…" with the data checked: the ports listed
    // afresh, the window shown.
    void showForBatch();
    void onStart();   // "Начать"
    void onStop();    // "Остановить"
    void onSaveLog(); // "Сохранить журнал…"

signals:
    void batchFinished();

protected:
    void closeEvent(QCloseEvent *event) override;
    void reject() override;

private:
    struct Station
    {
        QString port;
        QString device;
        QString id;
        QString serial;
        QString result;
        QDateTime ended;
        QString archiveCopy;
        QString report;
        int step = 0; // the SequenceStep running
    };

    void listPorts();
    // The stations of the checked ports, or a message saying what to change.
    std::optional<QString> collect(QList<Station> &stations) const;
    void setRunning(bool running);
    void showEveryRow();
    void stepStarted(int station, int step, const QString &serial);
    void progress(int station, int percent);
    void stationFinished(int station);
    void finished();
    void showFiles();

    const AppState &m_document;
    UiServices &m_ui;
    PortChoice &m_ports;
    QString m_optionsFile = Paths::optionsFile();
    QString m_archiveFolder = ReadArchive::folder();
    LinkTimings m_timings;
    SerialLinkFactory m_factory = systemSerialLinkFactory();
    // Where the journal was saved last in this run.
    QString m_journalFolder;
    // The report folder of the last batch started, where its journal goes first.
    QString m_batchReportFolder;

    QList<Station> m_stations;
    // Owns what the stations' threads use; destroyed first of all members.
    std::unique_ptr<BatchRunner> m_runner;

    QListWidget *m_portList = nullptr;
    QLineEdit *m_idFrom = nullptr;
    QLineEdit *m_reportFolder = nullptr;
    QLineEdit *m_protocol = nullptr;
    QPushButton *m_browse = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_stopButton = nullptr;
    QPushButton *m_saveLog = nullptr;
    QPushButton *m_close = nullptr;
    QTableWidget *m_rows = nullptr;
    QLabel *m_summary = nullptr;
    QLabel *m_files = nullptr;
};
