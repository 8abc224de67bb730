// What the test program does as /init of the emulated machine before and after its tests.
#pragma once

namespace hwtest {

// Mounts /proc, /sys and /dev, makes /tmp, takes /dev/console as standard streams and loads the parallel
// port modules from /modules. Returns false (having said why on stderr) if something failed.
bool PrepareGuest();

// The steps of PrepareGuest, for an /init of another kind. Each says why on stderr when it fails.
bool Mount(const char* type, const char* target);
// The kernel gives init no console when the initramfs lacks /dev/console: take it as stdio.
void UseConsole();
// Loads /modules/<name>.ko with the given parameters; a module already loaded is fine.
bool LoadModule(const char* name, const char* params);

// Flushes and switches the machine off; never returns.
[[noreturn]] void PowerOff();

}  // namespace hwtest
