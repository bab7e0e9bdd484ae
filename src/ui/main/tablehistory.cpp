#include "main/tablehistory.h"
#include "main/channeltablemodel.h"
#include "state/appstate.h"

TableHistory::TableHistory(AppState &state, ChannelTableModel &model, std::function<void()> showSettings,
                           QObject *parent)
    : QObject(parent), m_state(state), m_model(model), m_showSettings(std::move(showSettings))
{
    setObjectName(QStringLiteral("TableHistory"));
    m_model.setHistory(&m_stack);
}

TableSnapshot TableHistory::current() const
{
    return {m_state.table, m_state.settingsLines};
}

void TableHistory::beginWholeStep()
{
    m_before = current();
}

void TableHistory::endWholeStep(const QString &text)
{
    if (!m_before)
        return;
    TableSnapshot before = std::move(*m_before);
    m_before.reset();
    TableSnapshot after = current();
    if (after == before)
        return;
    m_stack.push(new WholeTableCommand(std::move(before), std::move(after),
                                       [this](const TableSnapshot &s) { restore(s); }, text));
}

void TableHistory::restore(const TableSnapshot &snapshot)
{
    {
        const ChannelTableModel::TableChange change(m_model);
        m_state.table = snapshot.table;
    }
    m_state.settingsLines = snapshot.settingsLines;
    m_showSettings();
}
