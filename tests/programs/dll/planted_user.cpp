// A DLL that needs planted_probe.dll: the tests load it by its full path to
// see where the loader looks for the DLLs it needs.
#include <windows.h>

extern "C" __declspec(dllimport) int PlantedProbe();

extern "C" __declspec(dllexport) int PlantedUser() { return PlantedProbe() + 1; }
