// SPDX-License-Identifier: GPL-3.0-or-later
#include "store_progress.h"

#include "parameters.h"

#include <algorithm>

namespace quelo {

namespace {
// Stores on the wire whose echo is awaited; more than this and the oldest are forgotten, which
// only ever leaves a change counted as not stored.
constexpr std::size_t kMaxStoresAwaited = 16;
} // namespace

void noteUserChange(StoreProgress &store, std::size_t index)
{
    store.changedAt.at(index) = ++store.changes;
}

// A change is in the module when its read-back confirmed it: reported since it was last
// written, no write of it waiting, and not given up unconfirmed.
bool confirmedByReadBack(const ParameterRows &rows, std::size_t i)
{
    const Parameter &p = kParameters[i];
    return reported(rows.*p.box) && !writePending(rows.*p.slider) && !rows.traffic[i].unconfirmed;
}

void noteStoreSent(ParameterRows &rows)
{
    StoreProgress &store = rows.store;
    StoreProgress::Serials holds = store.storedAt;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (confirmedByReadBack(rows, i))
            holds[i] = store.changedAt[i];
    store.sent.push_back(holds);
    if (store.sent.size() > kMaxStoresAwaited)
        store.sent.pop_front();
}

// Echoes come in the order the stores went out; a lost echo makes a later one count for an
// earlier store, which holds no more than the later did.
void noteStoreEcho(StoreProgress &store)
{
    if (store.sent.empty())
        return;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        store.storedAt[i] = std::max(store.storedAt[i], store.sent.front()[i]);
    store.sent.pop_front();
}

std::vector<const Parameter *> unstoredChanges(const StoreProgress &store)
{
    std::vector<const Parameter *> out;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (store.changedAt[i] > store.storedAt[i])
            out.push_back(&kParameters[i]);
    return out;
}

bool allReadInConnection(const ParameterRows &rows)
{
    return std::all_of(rows.readInConnection.begin(), rows.readInConnection.end(),
                       [](bool read) { return read; });
}

bool anyWritePending(const ParameterRows &rows)
{
    return !pendingWrites(rows).empty();
}

std::vector<const Parameter *> pendingWrites(const ParameterRows &rows)
{
    std::vector<const Parameter *> out;
    for (const Parameter &p : kParameters)
        if (writePending(rows.*p.slider))
            out.push_back(&p);
    return out;
}

bool anyUnconfirmed(const ParameterRows &rows)
{
    return std::any_of(rows.traffic.begin(), rows.traffic.end(),
                       [](const ParameterTraffic &t) { return t.unconfirmed; });
}

bool storeHoldsWhatIsShown(const ParameterRows &rows)
{
    if (rows.store.waiting || !unstoredChanges(rows.store).empty() || anyUnconfirmed(rows))
        return false;
    for (std::size_t i = 0; i < kParameterCount; ++i)
        if (rows.store.changedAt[i] != 0 && !reported(rows.*kParameters[i].box))
            return false;
    return true;
}

std::string joinedForText(const std::vector<std::string> &parts)
{
    std::string text;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i > 0)
            text += i + 1 == parts.size() ? " and " : ", ";
        text += parts[i];
    }
    return text;
}

std::string namesOf(const std::vector<const Parameter *> &parameters)
{
    std::vector<std::string> names;
    for (const Parameter *p : parameters)
        names.push_back(p->name);
    return joinedForText(names);
}

} // namespace quelo
