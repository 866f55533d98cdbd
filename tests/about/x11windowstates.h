// Reads the window states (_NET_WM_STATE) that the desktop sees on an X display.
#pragma once

#include <QStringList>

class QWidget;

// The atom names of `window`'s _NET_WM_STATE; needs the xcb platform.
QStringList x11WindowStates(QWidget *window);
