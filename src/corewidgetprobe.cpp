// Compiled with the core library's settings only, by the layering tests, which
// expect this to fail: the core library sees no widget headers.
#include WIDGET_HEADER
