// Which thread is the interface thread (the one that runs the event loop). Any thread.
#pragma once

// True on the interface thread, and on any thread while no application object exists (there is
// no event loop to forward to then).
bool on_ui_thread();
