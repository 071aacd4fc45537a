#pragma once

#include <windows.h>

namespace ui {

// Starts the runtime services, creates the main window, runs the message
// loop until the window is closed and shuts everything down again.
int runApplication(HINSTANCE instance);

// One message of the user-interface thread: the main menu's keys first,
// then the usual translation and dispatch. Every message loop of the
// program (and of its in-process tests) goes through here.
void processMessage(MSG& msg);

// The user-interface thread as a single-threaded OLE apartment (the hidden
// web view is an OLE control), for the lifetime of the object.
class OleSession {
public:
    OleSession();
    ~OleSession();
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool ok_;
};

}  // namespace ui
