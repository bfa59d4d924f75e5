// Plugging the graphics part of the window layer into the frame.
// Call from any thread before the frame starts; calling it again does nothing more.
#pragma once

// Gives every window record made from now on the graphics part's data, and
// fills the kernel's hooks (configuration, painting the surface, marks over the
// view, mouse, keys, the Edit commands, Save and Print). A program that shows graphics windows
// calls it once before the frame starts: without it the frame still runs, but
// its windows have no surface (drawing calls fail), selection, Save, Print or mouse
// delivery.
void install_window_graph();
