#pragma once
// Seams for the tests only; the program never calls them.

// Forgets the frame pacing state, as at program start (tests run the pacing more than once).
void ResetFramePacing();
