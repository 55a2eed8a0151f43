// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quelo {

// What is known about a device that failed to open, gathered from the system, so that the advice
// given to the user can be worked out (and tested) apart from the system calls.
struct OpenFailureFacts
{
    enum class Kind
    {
        NotFound,
        Denied,
        Other
    };

    std::string device;            // the name the user gave, as shown in messages
    Kind kind = Kind::Other;       // Denied: the port layer refused access (busy or not permitted)
    std::string otherReason;       // the port layer's own text, for Kind::Other
    std::int64_t lockPid = 0;      // process named by the device's lock file; 0 when none
    bool readWriteAllowed = false; // the file mode lets this user read and write the device
    std::uint32_t uid = 0;         // the user's effective uid
    std::vector<std::uint32_t> groups; // the user's effective and supplementary groups
    bool ownerKnown = false;           // the device could be examined
    std::uint32_t ownerGid = 0;
    std::string ownerGroupName;
    bool groupMayReadWrite = false; // the device's group has read and write permission
};

// The reason shown on the status line's tooltip. A device held by another program (its lock
// file, or an exclusive open while the mode would let us in) is "in use", with the holder's PID
// when known. The group hint is given only when joining the device's group would actually grant
// access: the user is not root, not already in it, and the group may read and write.
std::string describeOpenFailure(const OpenFailureFacts &facts);

} // namespace quelo
