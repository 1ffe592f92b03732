// The image's entry point on Windows. The runtime's own start-up and tear-down run around it.
#include <windows.h>

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD, LPVOID) { return TRUE; }
