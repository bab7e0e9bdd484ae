#pragma once

#include <QWidget>

struct AppState;
class QLineEdit;
class QPushButton;
class UiServices;

// "Создание протокола": the report dialog, made at start and kept hidden.
// "Создать" asks where to save the report, as a .docx or a PDF by the file
// type chosen (at first in the reports folder, under a new name), writes it
// without replacing any file and opens it with the desktop's program for it.
class ReportDialog : public QWidget
{
    Q_OBJECT
public:
    ReportDialog(AppState &state, UiServices &ui, QWidget *parent = nullptr);

    QLineEdit *serialEdit() const { return m_serialEdit; }
    // Where the save dialog starts: the reports folder under the user's
    // documents, then the folder chosen last, or where a test says.
    void setReportsFolder(const QString &folder) { m_folder = folder; }
    // The file the last "Создать" wrote.
    const QString &lastReport() const { return m_lastReport; }

public slots:
    void onCreate(); // "Создать"
    void onExit();   // "Выход"

signals:
    void exitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AppState &m_state;
    UiServices &m_ui;
    QString m_folder;
    QString m_lastReport;
    QLineEdit *m_serialEdit = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_exit = nullptr;
};
