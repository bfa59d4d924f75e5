// Encoding a surface as a device-independent bitmap (BMP) file; private to the window layer.
// Pure functions on an image: any thread, with the window's lock held by the
// caller while it reads a window's surface.
#pragma once

#include <QByteArray>
#include <QImage>
#include <cstdint>

// Bits per pixel of the file for a display of display_bits per pixel:
// 1 -> 1, 2..4 -> 4, 5..8 -> 8, more -> 24.
int bmp_file_bits(int display_bits);

// Bytes of one pixel row of a width-pixel image at bits per pixel, padded to
// a multiple of 4.
int64_t bmp_row_bytes(int bits, int width);

// Bytes of the two headers and the colour table: 62, 118, 1078 or 54.
int bmp_header_bytes(int bits);

// The whole file for image at bits (1, 4, 8 or 24): file header, information
// header, colour table, bottom-up rows. Below 24 bits each pixel becomes the
// index of the nearest entry of palette (colour_table_size = 2, 16 or 256
// entries of 0xffRRGGBB, which also form the file's colour table).
QByteArray encode_bmp(const QImage& image, int bits, const uint32_t* palette);
