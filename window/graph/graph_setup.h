// Plugging the graphics part of the window layer into the frame.
// Call from any thread before the frame starts; calling it again does nothing more.
#pragma once

// Fills the kernel's hooks (configuration, marks over the view, mouse, keys,
// the Edit commands, Save and Print). A program that shows graphics windows
// calls it once before the frame starts: without it the frame still runs, but
// its windows have no surface, selection, Save, Print or mouse delivery.
void install_window_graph();
