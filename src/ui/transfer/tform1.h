#pragma once

#include "common/paths.h"
#include "files/readarchive.h"
#include "link/portsearch.h"
#include "link/systemseriallink.h"
#include "link/transferlink.h"
#include "link/transferobserver.h"

#include <QWidget>

struct AppState;
class PortChoice;
class ReadObserver;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class UiServices;
class TraceRecorder;
struct Trace;

// "Прием и передача информации в станцию": the transfer dialog. It is made at
// start, hidden, and shown beside the main window (not modal). Transfers run
// on a worker thread with their own port and tell the dialog and the main
// window what to show by queued calls; meanwhile the windows paint but take
// no input, and the handler returns when the transfer has ended.
class TForm1 : public QWidget, public TransferObserver
{
    Q_OBJECT
public:
    TForm1(AppState &state, UiServices &ui, PortChoice &ports, QWidget *parent = nullptr);

    // Where the link finds its options and ports; tests point them at their own.
    void setOptionsFile(const QString &path) { m_optionsFile = path; }
    void setLinkFactory(SerialLinkFactory factory) { m_factory = std::move(factory); }
    void setSearchTimings(PortSearchTimings timings) { m_searchTimings = timings; }
    void setLinkTimings(const LinkTimings &timings) { m_timings = timings; }
    // Where every complete read leaves its copy.
    void setArchiveFolder(const QString &path) { m_archiveFolder = path; }
    // The main window, which shows the station's data as a read brings it in.
    void setReadObserver(ReadObserver *observer) { m_readObserver = observer; }

    // "Запись/Чтение данных" of the main window: show, and the first time
    // (while no port is chosen) take the port from the options file; the
    // port buttons show the program's port choice.
    void openForTransfer();

    QRadioButton *radioButton1() const { return m_radio1; }
    QRadioButton *radioButton2() const { return m_radio2; }

    // TransferObserver
    void setStatus(const QString &text) override;
    void setProgress(int value) override;
    void setButtonEnabled(TransferButton button, bool enabled) override;
    void setSearchCaption(const QString &text) override;
    void clearPortButtons() override;
    void keepAlive() override;
    std::optional<PortEntry> choosePort(const QList<PortEntry> &openable) override;

public slots:
    void BitBtn1Click();      // "Выход"
    void BitBtn2Click();      // "Запись данных "
    void BitBtn3Click();      // "Чтение данных "
    void BitBtn4Click();      // "USB"
    void RadioButton1Click(); // " COM1"
    void RadioButton2Click(); // " COM2"
    void showTrace();         // "Журнал обмена…"

signals:
    void exitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // Runs one transfer with the main window's close refused, the user's
    // input dropped and the platform's errors shown.
    template <class Transfer>
    void runTransfer(Transfer &&transfer);
    TransferLink makeLink(TransferObserver &view, const TraceRecorder &trace) const;
    // The trace of a transfer of this dialog, kept beside the archive of reads.
    Trace traceHeader(const QString &transfer) const;
    void keepTrace(const TraceRecorder &trace, const QString &outcome);
    void fitSearchButton();

    AppState &m_state;
    UiServices &m_ui;
    PortChoice &m_ports;
    QString m_optionsFile = Paths::optionsFile();
    SerialLinkFactory m_factory = systemSerialLinkFactory();
    PortSearchTimings m_searchTimings;
    LinkTimings m_timings;
    QString m_archiveFolder = ReadArchive::folder();
    ReadObserver *m_readObserver = nullptr;

    QRadioButton *m_radio1 = nullptr;
    QRadioButton *m_radio2 = nullptr;
    QPushButton *m_usb = nullptr;
    QLabel *m_found = nullptr; // the port the search found, which no button shows
    QPushButton *m_write = nullptr;
    QPushButton *m_read = nullptr;
    QPushButton *m_exit = nullptr;
    QLabel *m_status = nullptr;
    QLabel *m_advice = nullptr; // what "AK" means, in plain words
    QPushButton *m_trace = nullptr;
    QString m_lastTrace; // of this dialog's last transfer
    QProgressBar *m_gauge = nullptr;
};
