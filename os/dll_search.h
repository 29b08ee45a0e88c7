// Where the process may load DLLs from.
//
// hostconfig runs elevated from a network share: a DLL that anyone could drop
// beside the executable, or into the working directory, would run as
// administrator. The executables import only DLLs that Windows maps from its
// own KnownDLLs list; everything loaded later must come from the system
// directory.
#pragma once

namespace hostconfig {

// Takes the executable's folder and the working directory out of the DLL
// search for every later load by name. Call it first thing in main, before
// anything can load a DLL. Does nothing where there is no such search (the
// native build of hostconfig-check).
void RestrictDllSearch();

}  // namespace hostconfig
