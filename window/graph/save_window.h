// The standard Save and Print commands on a child window's whole surface; private to the window
// layer. Interface thread only (they run as the frame's commands 1020 and 1019).
#pragma once

struct ChildWindow;

// Save (1020): asks for a file name ("Bitmap Files(*.bmp)", default
// extension "bmp") and writes the whole surface as a BMP file of the depth
// that the display's bits per pixel call for. A failure is shown in a message
// box as "The bitmap could not be saved to FILE: REASON"; the program goes on.
// Cancelling writes nothing. Result: 1 saved, 0 cancelled or nothing to
// save, -1 failed.
int save_window_image(ChildWindow* cw);

// Print (1019): one page with the whole surface stretched to the printable
// width, aspect ratio kept. Without an installed printer the page goes to a
// PDF file chosen in a save dialog. Result: 1 printed, 0 cancelled, -1 failed
// (the message shown once).
int print_window_image(ChildWindow* cw);

// Height on the page, in device pixels, of a surface of surface_width x
// surface_height pixels printed across printable_width device pixels, so that
// the aspect ratio holds in physical units on a printer of dpi_x x dpi_y.
// 0 for an empty surface or a zero resolution.
double print_height(double printable_width, int surface_width, int surface_height, double dpi_x,
                    double dpi_y);
