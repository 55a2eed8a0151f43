// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window_state.h"

#include <cstddef>
#include <string>
#include <vector>

namespace quelo {

struct Parameter;

// The user changed the parameter at `index` (table order).
void noteUserChange(StoreProgress &store, std::size_t index);
// A store command was queued: once echoed it holds every change of the user's that the module
// had confirmed by read-back by now. A change given up unconfirmed, or still being written, is
// not in it.
void noteStoreSent(ParameterRows &rows);
// The module echoed a store. An echo nobody asked for holds nothing new.
void noteStoreEcho(StoreProgress &store);
// The parameters the user changed that no confirmed store holds, in table order: a change given
// up unconfirmed stays among them until a store queued after its confirmation is echoed.
std::vector<const Parameter *> unstoredChanges(const StoreProgress &store);

// A write of any parameter is waiting to be sent or confirmed.
bool anyWritePending(const ParameterRows &rows);
// The connected module has read back every parameter in this connection.
bool allReadInConnection(const ParameterRows &rows);
// The parameters whose write is waiting to be sent or confirmed, in table order.
std::vector<const Parameter *> pendingWrites(const ParameterRows &rows);
// A parameter whose change was given up unconfirmed has not been settled by a read-back since.
bool anyUnconfirmed(const ParameterRows &rows);
// After a store's echo: the module's stored configuration holds every change the user made and
// the window shows it. No change since the store went out, no store waiting, nothing given up
// unconfirmed, and every parameter the user ever changed reported since it was last written.
bool storeHoldsWhatIsShown(const ParameterRows &rows);
// Parts joined for a message: "A", "A and B", "A, B and C".
std::string joinedForText(const std::vector<std::string> &parts);
// The parameters' names joined for a message: "A", "A and B", "A, B and C".
std::string namesOf(const std::vector<const Parameter *> &parameters);

} // namespace quelo
