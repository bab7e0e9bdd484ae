#pragma once

#include "common/paths.h"
#include "compare/stationcomparison.h"
#include "files/readarchive.h"
#include "link/linktimings.h"
#include "link/systemseriallink.h"

#include <QWidget>
#include <functional>
#include <memory>

struct AppState;
class PortChoice;
class QCheckBox;
class TransferInputBlock;
class TransferJob;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWidget;
class UiServices;

// "Сравнить со станцией…" and "Сравнить с файлом…": the checked table against
// what the station holds (read here as a job, with the port choice of the
// transfer dialog) or against a channel file, as a list of differences.
// Each comparison takes the main window's document as it stands then; the
// window never writes it: the table changes only when the user takes
// selected differences over, which the main window does as one step of its
// history.
class ComparisonDialog : public QWidget
{
    Q_OBJECT
public:
    using Take = std::function<void(const QList<StationComparison::Difference> &, const StationSide &)>;
    // "Контроль" of the main window's table; false when it refused, its message shown.
    using Check = std::function<bool()>;

    ComparisonDialog(const AppState &document, UiServices &ui, PortChoice &ports, QWidget *parent = nullptr);
    ~ComparisonDialog() override;

    void setOptionsFile(const QString &path) { m_optionsFile = path; }
    void setLinkFactory(SerialLinkFactory factory) { m_factory = std::move(factory); }
    void setLinkTimings(const LinkTimings &timings) { m_timings = timings; }
    void setArchiveFolder(const QString &path) { m_archiveFolder = path; }
    // What "Взять выбранное" does with the selected differences.
    void setTake(Take take) { m_take = std::move(take); }
    // Runs before every comparison, so that the table is compared as it stands.
    void setCheck(Check check) { m_check = std::move(check); }

    // Shows the window with the port choice and an empty list.
    void openForStation();
    // Shows the checked table compared with a checked channel file;
    // `namesSerial`: whether the file has a serial number line of its own.
    void showFileComparison(const StationSide &file, bool namesSerial);

    QTreeWidget *list() const { return m_list; }
    bool isReading() const { return m_job != nullptr; }

public slots:
    void readAndCompare(); // "Читать и сравнить"
    void takeSelected();   // "Взять выбранное"
    // The main window's table or settings text changed: the list may no
    // longer say what they hold.
    void tableChanged();

signals:
    // A double-click on a difference of a row: table row 1..N, column or -1.
    void cellRequested(int row, int column);
    // A read for a comparison has ended and the window shows its end.
    void readEnded();
    // The differences were taken: the table is where the work goes on.
    void tableRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // The table as it stands, checked just before, against `other`.
    void showComparison(StationSide other, const QString &otherCaption);
    void clearList();
    // Whether the table still shows what the list was made from.
    bool listIsCurrent() const;
    void showListState();
    void showBesideMainWindow();
    // Hides, when asked, the differences a station would not hold apart.
    void hideTextOnly();
    void readFinished();
    void setReading(bool reading);

    const AppState &m_document;
    UiServices &m_ui;
    PortChoice &m_ports;
    QString m_optionsFile = Paths::optionsFile();
    SerialLinkFactory m_factory = systemSerialLinkFactory();
    QString m_archiveFolder = ReadArchive::folder();
    LinkTimings m_timings;
    std::unique_ptr<TransferJob> m_job;
    std::unique_ptr<TransferInputBlock> m_inputBlock;
    Take m_take;
    Check m_check;
    bool m_placed = false;

    // The two sides of the list: the table as it was checked, and the other.
    std::unique_ptr<StationSide> m_table;
    std::unique_ptr<StationSide> m_other;
    QString m_otherCaption;
    bool m_otherNamesSerial = true;
    QList<StationComparison::Difference> m_differences;
    QString m_headline;

    QWidget *m_portPanel = nullptr;
    QRadioButton *m_com1 = nullptr;
    QRadioButton *m_com2 = nullptr;
    QPushButton *m_read = nullptr;
    QLabel *m_status = nullptr;
    QProgressBar *m_gauge = nullptr;
    QLabel *m_count = nullptr;
    QLabel *m_serial = nullptr;
    QCheckBox *m_hideTextOnly = nullptr;
    QTreeWidget *m_list = nullptr;
    QPushButton *m_takeButton = nullptr;
    QPushButton *m_close = nullptr;
};
