#pragma once

#include "common/paths.h"
#include "files/readarchive.h"
#include "link/linktimings.h"
#include "link/portsearch.h"
#include "link/systemseriallink.h"
#include "main/recentfiles.h"
#include "transfer/stationsequence.h"

#include <QWidget>
#include <memory>

struct AppState;
class PortChoice;
class QCheckBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TransferInputBlock;
class TransferJob;
class UiServices;

// "Прием и передача информации в станцию": the transfer dialog. It is made at
// start, hidden, and shown beside the main window (not modal). Each transfer
// is a job on a worker thread with its own port; the dialog derives its
// status, gauge and buttons from the job's steps and bytes, and hands what a
// read brings to the main window by signals. Meanwhile the windows paint but
// take no input.
class TransferDialog : public QWidget
{
    Q_OBJECT
public:
    // `document` is the main window's, read when a write starts and never
    // written here.
    TransferDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent = nullptr);
    ~TransferDialog() override;

    // Where the link finds its options and ports; tests point them at their own.
    void setOptionsFile(const QString &path) { m_optionsFile = path; }
    void setLinkFactory(SerialLinkFactory factory) { m_factory = std::move(factory); }
    void setSearchTimings(PortSearchTimings timings) { m_searchTimings = timings; }
    void setLinkTimings(const LinkTimings &timings) { m_timings = timings; }
    // Where every complete read leaves its copy.
    void setArchiveFolder(const QString &path) { m_archiveFolder = path; }
    // Where the dialog keeps its choices between runs (vetral-window.ini).
    void setSettingsFile(const QString &path);

    // "Запись/Чтение данных" of the main window: show, and the first time
    // (while no port is chosen) take the port from the options file; the
    // port buttons show the program's port choice.
    void openForTransfer();

    QRadioButton *com1Button() const { return m_com1; }
    QRadioButton *com2Button() const { return m_com2; }
    bool isTransferRunning() const { return m_job != nullptr; }

public slots:
    void onExit();          // "Выход"
    void onWrite();         // "Запись данных "
    void onRead();          // "Чтение данных "
    void onSearch();        // "USB"
    void onVerifyToggled(); // "Проверить чтением после записи"
    void showTrace();       // "Журнал обмена…"

signals:
    void exitRequested();
    // A read has begun: the document as it stands is what its reply changes.
    void readStarted();
    // The read's reply as far as it came, where a read shows it.
    void readReceived(const QByteArray &reply);
    // The read has ended; `complete` when its whole reply came.
    void readEnded(bool complete);
    // Any transfer or search has ended and the dialog shows its end.
    void transferEnded();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Operation { Write, Read, Search };

    // A plan of no step yet, on the port of the next transfer. Throws
    // PlatformError when the port prompt is cancelled.
    StationPlan stationPlan() const;
    void run(Operation operation, std::unique_ptr<TransferJob> job);
    void stepStarted(SequenceStep step);
    void progress(const TransferProgress &progress);
    void ended();
    void showReadEnd(const SequenceOutcome &outcome);
    void showWriteEnd(const SequenceOutcome &outcome);
    // "AK", and beside it what is known of the silence.
    void showNoAnswer(const SequenceOutcome &outcome);
    void setStatus(const QString &text);
    void setButtonsEnabled(bool enabled);
    void fitSearchButton();

    const AppState &m_document;
    UiServices &m_ui;
    PortChoice &m_ports;
    QString m_optionsFile = Paths::optionsFile();
    SerialLinkFactory m_factory = systemSerialLinkFactory();
    PortSearchTimings m_searchTimings;
    LinkTimings m_timings;
    QString m_archiveFolder = ReadArchive::folder();
    QString m_settingsFile = RecentFiles::defaultStoreFile();

    Operation m_operation = Operation::Write;
    std::unique_ptr<TransferJob> m_job;
    std::unique_ptr<TransferInputBlock> m_inputBlock;

    QRadioButton *m_com1 = nullptr;
    QRadioButton *m_com2 = nullptr;
    QPushButton *m_search = nullptr;
    QLabel *m_found = nullptr; // the port the search found, which no button may stand for
    QPushButton *m_trace = nullptr;
    QString m_lastTrace; // of this dialog's last transfer that kept one
    QPushButton *m_write = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_exit = nullptr;
    QCheckBox *m_verify = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_advice = nullptr; // what "AK" means, in plain words, or what a verified write found
    QProgressBar *m_gauge = nullptr;
};
