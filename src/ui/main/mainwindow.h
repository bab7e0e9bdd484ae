#pragma once

#include "compare/stationcomparison.h"
#include "main/appstate.h"
#include "main/recentfiles.h"

#include <QMainWindow>
#include <array>

class CellEditors;
class PortChoice;
class ComparisonDialog;
struct StationChoice;
class ChannelTableModel;
class RepeaterPanel;
class TableExchange;
class TableHistory;
class QAction;
class QActionGroup;
class QFrame;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableView;
class UiServices;

// The main window: the menu every operation starts from, the work area with
// the template panel, the general settings text, the repeater panel and the
// channel table.
class MainWindow : public QMainWindow
{
    Q_OBJECT
public:
    // `ports` is the program's port choice, which the comparison window shows.
    MainWindow(AppState &state, UiServices &ui, PortChoice &ports, QWidget *parent = nullptr);
    ~MainWindow() override;

    AppState &state() { return m_state; }
    ChannelTableModel *tableModel() const { return m_model; }
    // The window of both comparisons, made when first needed.
    ComparisonDialog *compareWindow();

    // Visibility of the work area's parts.
    void showWorkArea(bool shown);
    void showSettingsText(bool shown);
    void showTable(bool shown);
    void showRepeaterPanel(bool shown);

    // The window shows the state anew after a core operation changed it.
    void refreshSettingsText();
    void refreshStationMenus();
    // The steps of selecting a station type that the window owns.
    void applyStationSelection();

    // What a read from the station shows while the reply arrives: the
    // document as the read found it, with the reply as far as it came; the
    // whole read is one step of the table's history.
    void readStarted();
    void readReceived(const QByteArray &reply);
    void readEnded(bool complete);

    // A channel file loaded as "Чтение файла" loads the file chosen (also one
    // named on the command line or dropped on the window).
    void loadFile(const QString &path);
    // The "Запись в файл" dialog and save; true when the file was written.
    bool saveToFile();
    // The table or the settings text changed since the last template, load,
    // save or read.
    bool hasUnsavedChanges();

    // Back from the transfer dialog's "Выход".
    void restoreAfterTransfer();
    // Back from the report dialog's "Выход".
    void restoreNormal();

public slots:
    // Каналы
    void onCreateTemplate();  // "Создать шаблон"
    void onSaveFile();        // "Запись в файл"
    void onOpenFile();        // "Чтение файла"
    void onCompareWithFile(); // "Сравнить с файлом…"
    void onExportCsv();       // "Экспорт в CSV…"
    void onImportCsv();       // "Импорт из CSV…"
    void onPrint();           // "Печать…"
    void onSavePdf();         // "Сохранить в PDF…"
    // Доп. оборудование → Модули
    void onModuleNone();          // "Нет модуля"
    void onModuleMasker06LM200(); // "Маскиратор 06ЛМ200-03Д"
    void onModuleSmartrunk();     // "Модуль Смартранк"
    void onModuleMaskerTirel();   // "Маскиратор Тирель"
    void onModuleMaskerCurtain(); // "Маскиратор типа "Занавес""
    void onModuleMasker06LM016(); // "Маскиратор 06ЛМ016Д"
    void onRepeater();            // "Ретранслятор"
    void onCheck();               // "Контроль"
    // Станция
    void onCreateReport();       // "Создать протокол"
    void onBatchWrite();         // "Пакетная запись…"
    void onTransfer();           // "Запись/Чтение данных"
    void onCompareWithStation(); // "Сравнить со станцией…"
    void onSupportBundle();      // "Архив для службы поддержки…"
    // Станция → Тип радиостанции
    void onBand30to60();   // "30-60 МГц"
    void onBand144to174(); // "144-174 МГц"
    void onBand400to486(); // "400-486 Мгц"
    void onExit();         // "Выход"
    void onTemplateOk();   // "Ok" of the template panel

signals:
    void reportDialogRequested();
    void transferDialogRequested();
    void batchDialogRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void buildMenu();
    void buildWorkArea();
    void buildTemplatePanel();
    // Find, one value for the selection, CSV, paper, and the table growing with the window.
    void buildTableTools();
    void selectStationType(StationKind kind);
    void selectModule(int code);
    template <class Choose>
    void chooseStation(const QString &step, Choose &&choose);
    StationChoice stationChoice() const;
    void restoreStationChoice(const StationChoice &choice);
    void onSettingsEdited();
    // Runs "Контроль" before a comparison; its refusal is shown.
    bool checkForComparison();
    void takeDifferences(const QList<StationComparison::Difference> &chosen, const StationSide &from);
    void useFile(const QString &path);
    void refreshRecentMenu();
    void openRecent(int index);
    // The table's context menu: a row inserted at or removed from the current one.
    void insertRow();
    void removeRow();
    void changeRows(const QString &step, bool insert);

    AppState &m_state;
    UiServices &m_ui;
    PortChoice &m_ports;
    ChannelTableModel *m_model = nullptr;
    CellEditors *m_editors = nullptr;
    TableHistory *m_history = nullptr;
    ComparisonDialog *m_compare = nullptr;
    TableExchange *m_exchange = nullptr;

    QFrame *m_workArea = nullptr;
    QFrame *m_templatePanel = nullptr;
    RepeaterPanel *m_repeaterPanel = nullptr;
    QPlainTextEdit *m_settingsText = nullptr;
    QTableView *m_grid = nullptr;
    QLineEdit *m_channelCountEdit = nullptr;
    QLineEdit *m_firstFrequencyEdit = nullptr;
    QLineEdit *m_offsetEdit = nullptr;
    QPushButton *m_templateOkButton = nullptr;

    QAction *action(const char *name) const;

    std::array<QAction *, 3> m_stationActions{};
    std::array<QAction *, Modules::Count> m_moduleActions{};
    bool m_refreshingMemo = false;
    // The document as a running read found it, and whether the station
    // type its reply names has been shown.
    AppState m_beforeRead;
    bool m_readSettingsShown = false;
    RecentFiles m_recent;
};
