#pragma once

#include "main/tablecommands.h"

#include <QObject>
#include <QUndoStack>
#include <functional>
#include <optional>

struct AppState;
class ChannelTableModel;

// The history of the channel table. Edits of cells come in through the
// model as commands of their own; a template, a file load and a station read
// are whole-table steps, marked by a begin and an end around them, that take
// the table and the settings text back together. Neither touches the
// data-valid flag: a step undone leaves it as the step left it.
//
// Lines typed into the settings text are a step of their own, recorded when
// the text has changed since the history last saw it: before any other step
// is pushed, before an undo or a redo, and when the text loses the focus.
// Otherwise a redo would bring back the text of an older step over them.
class TableHistory : public QObject
{
    Q_OBJECT
public:
    // `showSettings` shows the state's settings lines in the window.
    TableHistory(AppState &state, ChannelTableModel &model, std::function<void()> showSettings,
                 QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }

    // The settings text, when it differs from what the history holds, becomes
    // a step.
    void recordSettingsEdit();
    void undo();
    void redo();
    // Rows inserted or removed by the user: a whole-table step, and an edit.
    void editRows(const QString &text, const std::function<void()> &change);
    // A step the window made itself (a choice of station type or module).
    void push(QUndoCommand *command);

    // The table and the settings text are as a template, a load, a save or a
    // read left them; whether they have changed since.
    void markSaved();
    bool hasUnsavedChanges();

    // A whole-table step begins: the table and the settings text as they are
    // now are what an undo brings back.
    void beginWholeStep();
    // It has ended, completely or not: one step, when it changed anything.
    void endWholeStep(const QString &text);

signals:
    // The user changed cells or took a step back or forth: what was checked
    // is no longer what the window shows.
    void edited();

public:
    class WholeStep
    {
    public:
        WholeStep(TableHistory &history, QString text) : m_history(history), m_text(std::move(text))
        {
            m_history.beginWholeStep();
        }
        ~WholeStep() { m_history.endWholeStep(m_text); }
        WholeStep(const WholeStep &) = delete;
        WholeStep &operator=(const WholeStep &) = delete;

    private:
        TableHistory &m_history;
        QString m_text;
    };

private:
    TableSnapshot current() const;
    void restore(const TableSnapshot &snapshot);
    void restoreSettings(const QStringList &lines);

    AppState &m_state;
    ChannelTableModel &m_model;
    std::function<void()> m_showSettings;
    QUndoStack m_stack;
    std::optional<TableSnapshot> m_before;
    QStringList m_recordedSettings; // the settings text as the top step left it
};
