// Holds the session's desktop open, as the shell of a real Windows does.
//
// Wine closes a desktop a second after the last program using it has ended,
// and the next program that wants a window then waits about a second for a
// new desktop process. A test session starts one program per test: without a
// program that stays, every test would pay that second. This one only joins
// the desktop and waits; it makes no window, so it takes no focus and answers
// no message. The session ends it with the rest of the prefix's programs.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    GetDesktopWindow();
    Sleep(INFINITE);
    return 0;
}
