// Keeps a window out of the desktop's task bar and pager.
#pragma once

class QWidget;

// Call before each showing. On X11 this sets the window's
// _NET_WM_STATE_SKIP_TASKBAR and _NET_WM_STATE_SKIP_PAGER; other platforms
// have no such hint and leave dialogs out of their task bars by themselves.
void skipTaskbar(QWidget *window);
