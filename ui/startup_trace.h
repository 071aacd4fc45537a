// Start-up trace, off unless RPGITEM_STARTUP_TRACE names a file: each mark
// appends one line, the milliseconds since the process was created and what
// was just done, so that a slow start can be taken apart on any machine.
#pragma once

namespace ui {

void startupMark(const char* what);

}  // namespace ui
