#include "main/tablehistory.h"
#include "main/channeltablemodel.h"
#include "main/appstate.h"

#include <utility>

TableHistory::TableHistory(AppState &state, ChannelTableModel &model, std::function<void()> showSettings,
                           QObject *parent)
    : QObject(parent), m_state(state), m_model(model), m_showSettings(std::move(showSettings)),
      m_recordedSettings(state.settingsLines)
{
    setObjectName(QStringLiteral("TableHistory"));
    m_model.setHistory(&m_stack, [this] {
        recordSettingsEdit();
        emit edited();
    });
}

void TableHistory::recordSettingsEdit()
{
    // Inside a whole-table step the text is the step's own.
    if (m_before || m_state.settingsLines == m_recordedSettings)
        return;
    QStringList before = std::exchange(m_recordedSettings, m_state.settingsLines);
    m_stack.push(new SettingsTextCommand(
        std::move(before), m_state.settingsLines, [this](const QStringList &lines) { restoreSettings(lines); },
        QStringLiteral("Правка настроек")));
}

void TableHistory::undo()
{
    recordSettingsEdit();
    if (!m_stack.canUndo())
        return;
    m_stack.undo();
    emit edited();
}

void TableHistory::redo()
{
    recordSettingsEdit();
    if (!m_stack.canRedo())
        return;
    m_stack.redo();
    emit edited();
}

void TableHistory::editRows(const QString &text, const std::function<void()> &change)
{
    {
        const WholeStep step(*this, text);
        change();
    }
    emit edited();
}

void TableHistory::push(QUndoCommand *command)
{
    recordSettingsEdit();
    m_stack.push(command);
}

void TableHistory::markSaved()
{
    recordSettingsEdit();
    m_stack.setClean();
}

bool TableHistory::hasUnsavedChanges()
{
    recordSettingsEdit();
    return !m_stack.isClean();
}

TableSnapshot TableHistory::current() const
{
    return {m_state.table, m_state.settingsLines};
}

void TableHistory::beginWholeStep()
{
    recordSettingsEdit();
    m_before = current();
}

void TableHistory::endWholeStep(const QString &text)
{
    if (!m_before)
        return;
    TableSnapshot before = std::move(*m_before);
    m_before.reset();
    TableSnapshot after = current();
    m_recordedSettings = after.settingsLines;
    if (after == before)
        return;
    m_stack.push(new WholeTableCommand(
        std::move(before), std::move(after), [this](const TableSnapshot &s) { restore(s); }, text));
}

void TableHistory::restore(const TableSnapshot &snapshot)
{
    {
        const ChannelTableModel::TableChange change(m_model);
        m_state.table = snapshot.table;
    }
    restoreSettings(snapshot.settingsLines);
}

void TableHistory::restoreSettings(const QStringList &lines)
{
    m_state.settingsLines = lines;
    m_recordedSettings = lines;
    m_showSettings();
}
