// SPDX-License-Identifier: GPL-3.0-or-later
#include "port_access.h"

#include <algorithm>

namespace quelo {

namespace {

std::string deniedReason(const OpenFailureFacts &f)
{
    if (f.lockPid > 0)
        return f.device + ": in use by another program (process " + std::to_string(f.lockPid) +
               "). Close that program, or choose another port";
    // The mode lets us in, so the refusal came from an exclusive open by someone else.
    if (f.readWriteAllowed)
        return f.device + ": in use by another program. Close that program, or choose "
                          "another port";
    const bool inGroup = std::find(f.groups.begin(), f.groups.end(), f.ownerGid) != f.groups.end();
    if (f.uid != 0 && f.ownerKnown && !inGroup && f.groupMayReadWrite && !f.ownerGroupName.empty())
        return f.device +
               ": permission denied. To get access, join the group that owns it: "
               "sudo usermod -aG " +
               f.ownerGroupName + " $USER, then log out and in again";
    return f.device + ": permission denied (the device's permissions do not let you read and "
                      "write it)";
}

} // namespace

std::string describeOpenFailure(const OpenFailureFacts &facts)
{
    switch (facts.kind) {
    case OpenFailureFacts::Kind::NotFound:
        return facts.device + ": no such device";
    case OpenFailureFacts::Kind::Denied:
        return deniedReason(facts);
    case OpenFailureFacts::Kind::Other:
        break;
    }
    return facts.device + ": " + facts.otherReason;
}

} // namespace quelo
