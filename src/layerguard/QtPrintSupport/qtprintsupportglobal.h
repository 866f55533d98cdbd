// Every Qt Print Support header includes this one first. The core library finds
// this file in its place, so a print-dialog header in the core does not compile.
#error "letterloom_core has no print support: printer code belongs in letterloom_widgets"
