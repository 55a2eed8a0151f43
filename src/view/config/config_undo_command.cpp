// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_undo_command.h"

namespace quelo {

ConfigUndoCommand::ConfigUndoCommand(WindowModel &model, ConfigChange change)
    : m_model(model), m_change(std::move(change))
{
    setText(QString::fromStdString(m_change.text()));
}

void ConfigUndoCommand::undo()
{
    m_change.undo(m_model);
}

void ConfigUndoCommand::redo()
{
    if (m_made) {
        m_made = false;
        return;
    }
    m_change.redo(m_model);
}

} // namespace quelo
