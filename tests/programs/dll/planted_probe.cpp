// A DLL that does nothing: the tests put it beside a program to see whether a
// load by its bare name finds it there.
#include <windows.h>

extern "C" __declspec(dllexport) int PlantedProbe() { return 42; }
