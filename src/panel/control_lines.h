// How a control slot's state maps to its register bit, for the row's buttons and its lamps.
#pragma once

// Init (slot 2) and TriState (slot 5) set their bit for state 1; the others clear it, because
// the port inverts those lines, so state 1 means a high pin on every line.
inline bool SetsBitWhenOn(int s) { return s == 2 || s == 5; }
