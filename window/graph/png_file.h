// A window's whole surface saved as a PNG file. Any thread; the dialog and the reading of the
// surface happen on the interface thread.
#pragma once

// Asks for a file name ("PNG Files(*.png)", default extension "png") and writes the whole surface
// of the window of unit there as a PNG picture (lossless, the surface's own pixels). The file is
// written under a temporary name and renamed. A failure is shown in a message box as "The picture
// could not be saved to FILE: REASON". 1 saved, 0 cancelled or no such window, -1 failed.
int save_unit_png(int unit);
