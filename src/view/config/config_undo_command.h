// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config_change.h"

#include <QUndoCommand>

namespace quelo {

class WindowModel;

// A change the user has just made (a slider move, a Load, a Restore) on the undo stack. It is
// pushed after the change was made, so the push does not make it again; undo and redo move
// the sliders as the user would.
class ConfigUndoCommand : public QUndoCommand
{
public:
    ConfigUndoCommand(WindowModel &model, ConfigChange change);

    void undo() override;
    void redo() override;

private:
    WindowModel &m_model;
    ConfigChange m_change;
    bool m_made = true; // the change is in the sliders already: the push's redo skips it
};

} // namespace quelo
