#include "io/privileges.h"

#include <cerrno>

namespace io {
namespace {

bool Raised(const Identity& id)
{
    return id.effectiveUid != id.realUid || id.savedUid != id.realUid ||
           id.effectiveGid != id.realGid || id.savedGid != id.realGid;
}

}  // namespace

int DropPrivileges(SystemCalls& sys)
{
    const Identity before = sys.GetIdentity();
    if (Raised(before)) {
        if (int rc = sys.SetIdentity(before.realUid, before.realGid); rc < 0)
            return rc;
        // A saved ID left behind would let the privileges come back; refuse to go on then.
        if (Raised(sys.GetIdentity()))
            return -EPERM;
    }
    return sys.ClearCapabilities();
}

}  // namespace io
