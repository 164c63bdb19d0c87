#pragma once
// The settings program's entry: module set-up, the start-up sequence, the windows of the run mode its page
// code chooses, the message loop, and the set-up undone at exit. The platform is installed by the caller (the
// program's own main on Windows, a test on the sim); the command line comes from the platform.
//
// Returns the process's exit code: 0 for every end the user was told about or needs no telling of (a
// running copy, a full print queue, the menu-missing error), 1 when the localisation table cannot be loaded.

int CorventaMain();
