// The program's entry: start-up, the message loop, shut-down.
#include <windows.h>

#include "ui/application.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) { return ui::runApplication(instance); }
