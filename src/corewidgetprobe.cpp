// Compiled with the core library's settings only, by the layering test, which
// expects this to fail: the core library sees no widget headers.
#include <QWidget>
