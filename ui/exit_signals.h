/// @file exit_signals.h SIGTERM, SIGHUP and SIGINT (a logout, `kill`, Ctrl+C) end the window as
/// Exit does, but without a question: nobody may be there to answer. The handler only writes a
/// byte into a pipe; the event loop reads it and closes the window.
#pragma once

class TForm1;

/// Closes `form` through CloseBySignal when one of the signals comes. A second signal before
/// the window has gone ends the program at once, as the signal would have without the game.
/// The signals get their usual meaning back when the window is destroyed.
void WatchExitSignals(TForm1& form);
