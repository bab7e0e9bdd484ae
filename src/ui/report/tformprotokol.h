#pragma once

#include <QWidget>

struct AppState;
class QLineEdit;
class QPushButton;
class UiServices;

// "Создание протокола": the report dialog, made at start and kept hidden.
// "Создать" writes a new .docx into the reports folder and opens it with the
// desktop's program for documents.
class TFormProtokol : public QWidget
{
    Q_OBJECT
public:
    TFormProtokol(AppState &state, UiServices &ui, QWidget *parent = nullptr);

    QLineEdit *edit1() const { return m_edit1; }
    // Where the reports go; the user's documents folder unless a test says otherwise.
    void setReportsFolder(const QString &folder) { m_folder = folder; }
    // The file the last "Создать" wrote.
    const QString &lastReport() const { return m_lastReport; }

public slots:
    void BitBtn1Click(); // "Создать"
    void BitBtn2Click(); // "Выход"

signals:
    void exitRequested();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    AppState &m_state;
    UiServices &m_ui;
    QString m_folder;
    QString m_lastReport;
    QLineEdit *m_edit1 = nullptr;
    QPushButton *m_create = nullptr;
    QPushButton *m_exit = nullptr;
};
