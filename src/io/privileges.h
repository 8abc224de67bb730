// Giving up the privileges that were needed only to obtain port access.
#pragma once

#include "io/system_calls.h"

namespace io {

// Returns to the real user and group IDs if the program runs set-user-ID or set-group-ID, and
// empties every capability set. 0 on success, otherwise -errno.
int DropPrivileges(SystemCalls& sys);

}  // namespace io
