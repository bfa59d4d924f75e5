// Plugging the graphics part of the window layer into the frame.
// Call from any thread before the frame starts; calling it again does nothing more.
#pragma once

// Fills the kernel's hooks (configuration, marks over the view, mouse, keys,
// the Edit commands, Save and Print). The library does it by itself when it
// is linked; the call is there for start-up code that wants to be explicit.
void install_window_graph();
