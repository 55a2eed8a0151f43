// SPDX-License-Identifier: GPL-3.0-or-later
#include "config_change.h"

#include "window_model.h"

namespace quelo {

namespace {

std::string moveText(const ConfigChange::Move &move)
{
    const Parameter &p = kParameters[move.parameter];
    return std::string(p.name) + " " + p.text(move.before) + " \u2192 " + p.text(move.after);
}

} // namespace

ConfigChange ConfigChange::sliderMove(std::size_t parameter, int before, int after)
{
    const Move move{parameter, before, after};
    return ConfigChange(moveText(move), {move});
}

ConfigChange ConfigChange::fileLoad(const std::string &label, const ConfigValues &before,
                                    const ConfigValues &after)
{
    std::vector<Move> moves;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (before.values[i] != after.values[i])
            moves.push_back({i, before.values[i], after.values[i]});
    return ConfigChange(label, std::move(moves));
}

void ConfigChange::moveTo(WindowModel &model, bool after) const
{
    for (const Move &move : m_moves) {
        const Parameter &p = kParameters[move.parameter];
        const auto value = static_cast<std::int16_t>(after ? move.after : move.before);
        if (model.sliderValue(p) != value)
            model.moveSlider(p, value);
    }
}

} // namespace quelo
