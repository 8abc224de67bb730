// What the test program does as /init of the emulated machine before and after its tests.
#pragma once

namespace hwtest {

// Mounts /proc, /sys and /dev, makes /tmp, takes /dev/console as standard streams and loads the parallel
// port modules from /modules. Returns false (having said why on stderr) if something failed.
bool PrepareGuest();

// Flushes and switches the machine off; never returns.
[[noreturn]] void PowerOff();

}  // namespace hwtest
