// Every Qt Widgets header includes this one first. The core library finds this
// file in its place, so a widget header in the core does not compile.
#error "letterloom_core has no widgets: widget code belongs in letterloom_widgets"
