#include "main/tablecommands.h"
#include "main/channeltablemodel.h"

#include <utility>

CellsCommand::CellsCommand(ChannelTableModel &model, QList<CellEdit> edits, const QString &text, bool done)
    : QUndoCommand(text), m_model(model), m_edits(std::move(edits)), m_done(done)
{
}

void CellsCommand::undo()
{
    for (qsizetype i = m_edits.size() - 1; i >= 0; --i) {
        const CellEdit &e = m_edits.at(i);
        m_model.writeCell(e.column, e.row, e.before, e.role);
    }
}

void CellsCommand::redo()
{
    if (std::exchange(m_done, false)) {
        for (const CellEdit &e : std::as_const(m_edits))
            m_model.cellChanged(e.column, e.row);
        return;
    }
    for (const CellEdit &e : std::as_const(m_edits))
        m_model.writeCell(e.column, e.row, e.after, e.role);
}
