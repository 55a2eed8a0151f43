// SPDX-License-Identifier: GPL-3.0-or-later
#include "connection.h"

#include "parameters.h"
#include "store_progress.h"

#include <vector>

namespace quelo {

std::string dropUnconfirmedWork(ParameterRows &rows, const std::string &why)
{
    std::vector<std::string> dropped;
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        ScrollBar &slider = rows.*p.slider;
        if (!writePending(slider))
            continue;
        slider.Tag = "0";
        if (rows.traffic[i].userChange) // not the module's own value written back
            dropped.push_back(std::string(p.name) + " " + p.text(slider.Value()));
    }
    std::string text;
    if (!dropped.empty())
        text = "Not confirmed before " + why + ", and not sent again: " + joinedForText(dropped);
    if (rows.store.waiting) {
        rows.store.waiting = false;
        text += (text.empty() ? "" : ". ") + std::string("The store was not sent: ") + why;
    }
    rows.store.sent.clear();
    return text;
}

void forgetModule(WindowState &w)
{
    for (std::size_t i = 0; i < kParameterCount; ++i) {
        const Parameter &p = kParameters[i];
        TextBox &box = w.*p.box;
        box.Text.clear();
        box.Tag = "0";
        box.Enabled = true;
        (w.*p.slider).restart();
        w.traffic[i] = ParameterTraffic{};
        w.readInConnection[i] = false;
    }
    w.store.waiting = false;
    w.store.sent.clear();
    w.rpmdial.restartBands();
    w.advdial.restartBands();
    w.rpmdial.Tag = "0";
    w.voltsdial.Tag = "0";
}

} // namespace quelo
