// How long work that runs between two turns of the event loop may go on: the
// catalogue's build, the print job's layout and its progress window all keep
// to it, so the window repaints and a click is answered without a stutter a
// user would notice.
#pragma once

constexpr int EventLoopTurnMs = 25;
