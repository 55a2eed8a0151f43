// SPDX-License-Identifier: GPL-3.0-or-later
// Undo: the user's configuration changes as steps that can be taken back and made again.
#pragma once

#include "parameters.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quelo {

class WindowModel;

// One change the user made to the configuration: one slider move, or every slider a Load or a
// Restore moved. Each move holds the slider's value before and after, in the slider's units.
class ConfigChange
{
public:
    struct Move
    {
        std::size_t parameter; // index in kParameters
        int before;
        int after;
    };

    // A slider the user moved.
    static ConfigChange sliderMove(std::size_t parameter, int before, int after);
    // The sliders a configuration file moved, from the module's values to the file's; `label`
    // names it ("Load quelo-config-26.json"). Parameters that were already equal are left out.
    static ConfigChange fileLoad(const std::string &label, const ConfigValues &before,
                                 const ConfigValues &after);

    // What the undo and redo entries say: "MAX RPM LIMIT 3072 → 2816" in the value boxes'
    // texts, or the label of a Load or Restore.
    const std::string &text() const { return m_text; }
    const std::vector<Move> &moves() const { return m_moves; }
    bool empty() const { return m_moves.empty(); }

    // Moves each slider back to its value before (undo) or on to its value after (redo) as the
    // user would: the scheduler writes it, the module confirms or refuses it as usual. A slider
    // that already shows the value (a refused change the module's value has put back) is left
    // as it is.
    void undo(WindowModel &model) const { moveTo(model, false); }
    void redo(WindowModel &model) const { moveTo(model, true); }

private:
    ConfigChange(std::string text, std::vector<Move> moves)
        : m_text(std::move(text)), m_moves(std::move(moves))
    {
    }
    void moveTo(WindowModel &model, bool after) const;

    std::string m_text;
    std::vector<Move> m_moves;
};

} // namespace quelo
