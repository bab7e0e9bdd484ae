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
class TableHistory : public QObject
{
    Q_OBJECT
public:
    // `showSettings` shows the state's settings lines in the window.
    TableHistory(AppState &state, ChannelTableModel &model, std::function<void()> showSettings,
                 QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }

    // A whole-table step begins: the table and the settings text as they are
    // now are what an undo brings back.
    void beginWholeStep();
    // It has ended, completely or not: one step, when it changed anything.
    void endWholeStep(const QString &text);

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

    AppState &m_state;
    ChannelTableModel &m_model;
    std::function<void()> m_showSettings;
    QUndoStack m_stack;
    std::optional<TableSnapshot> m_before;
};
