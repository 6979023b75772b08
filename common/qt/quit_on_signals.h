#pragma once

class QDialog;

// SIGTERM, SIGINT and SIGHUP (a logout, a kill, Ctrl+C in the terminal) end the
// program through the dialog's own close, as the operator's Cancel would: the dialog's
// reject() runs on the Qt thread, exec() returns, and the ports' destructors clear
// TIOCEXCL and release the flock and the UUCP lock. The signal handler only writes a
// byte to a pipe that a QSocketNotifier on the dialog watches. Call once, before exec().
void quitOnSignals(QDialog& dialog);

// Catches those signals from now on, before the dialog exists: the ports are opened and
// locked while the window is built, and a kill in that moment must still end the
// program through the dialog's close once exec() runs. quitOnSignals() calls it too.
void catchQuitSignals();
