// Gives a GUI test program an X server: the one named by DISPLAY, or a private Xvfb started on a
// free display and stopped when the program ends.
#ifndef KXTESTS_KXXVFB_H
#define KXTESTS_KXXVFB_H

// Returns false when there is no DISPLAY and Xvfb could not be started.
bool kxTestEnsureDisplay();

#endif
