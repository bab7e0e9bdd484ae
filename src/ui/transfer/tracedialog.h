#pragma once

#include <QDialog>

class QPlainTextEdit;
class UiServices;

// "Журнал обмена": a transfer's trace as `vetral-cli trace` prints it, in a
// fixed-width font, with "Сохранить…" for a copy of the trace file to send
// or keep.
class TraceDialog : public QDialog
{
    Q_OBJECT
public:
    // Shows the trace at `path`, or what is wrong with it.
    TraceDialog(const QString &path, UiServices &ui, QWidget *parent = nullptr);

    QString text() const;

private:
    void save();

    QString m_path;
    UiServices &m_ui;
    QPlainTextEdit *m_text = nullptr;
};
