// BMP encoding of a surface.
#include "window/graph/bitmap_file.h"

namespace {

void put16(char* p, uint16_t v) {
    p[0] = static_cast<char>(v & 0xff);
    p[1] = static_cast<char>(v >> 8);
}

void put32(char* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<char>((v >> (8 * i)) & 0xff);
}

int table_entries(int bits) {
    return bits == 24 ? 0 : 1 << bits;
}

// Index of the palette entry nearest to rgb (squared distance; the first
// of equals wins, so exact palette colours map to their own index).
int nearest_index(QRgb rgb, const uint32_t* palette, int entries) {
    int best = 0;
    long best_d = -1;
    for (int i = 0; i < entries; ++i) {
        long dr = qRed(rgb) - static_cast<int>((palette[i] >> 16) & 0xff);
        long dg = qGreen(rgb) - static_cast<int>((palette[i] >> 8) & 0xff);
        long db = qBlue(rgb) - static_cast<int>(palette[i] & 0xff);
        long d = dr * dr + dg * dg + db * db;
        if (best_d < 0 || d < best_d) {
            best = i;
            best_d = d;
            if (d == 0) break;
        }
    }
    return best;
}

} // namespace

int bmp_file_bits(int display_bits) {
    if (display_bits <= 1) return 1;
    if (display_bits <= 4) return 4;
    if (display_bits <= 8) return 8;
    return 24;
}

int64_t bmp_row_bytes(int bits, int width) {
    int64_t w = width;
    switch (bits) {
    case 1:
        return (w + 31) / 32 * 4;
    case 4:
        return ((4 * w + 7) / 8 + 3) / 4 * 4;
    case 8:
        return (w + 3) / 4 * 4;
    default:
        return (3 * w + 3) / 4 * 4;
    }
}

int bmp_header_bytes(int bits) {
    return 14 + 40 + 4 * table_entries(bits);
}

QByteArray encode_bmp(const QImage& source, int bits, const uint32_t* palette) {
    if (bits != 1 && bits != 4 && bits != 8) bits = 24;
    QImage image = source.convertToFormat(QImage::Format_RGB32);
    const int w = image.width(), h = image.height();
    const int64_t row = bmp_row_bytes(bits, w);
    const int head = bmp_header_bytes(bits);
    const int64_t total = head + row * h;
    if (w <= 0 || h <= 0 || total > 0x7fffffff) return QByteArray();

    QByteArray file(static_cast<int>(total), '\0');
    char* p = file.data();
    // File header: signature, size, two reserved words, offset of the rows.
    p[0] = 'B';
    p[1] = 'M';
    put32(p + 2, static_cast<uint32_t>(total));
    put32(p + 10, static_cast<uint32_t>(head));
    // Information header: positive height means bottom-up rows.
    char* info = p + 14;
    put32(info + 0, 40);
    put32(info + 4, static_cast<uint32_t>(w));
    put32(info + 8, static_cast<uint32_t>(h));
    put16(info + 12, 1);
    put16(info + 14, static_cast<uint16_t>(bits));
    put32(info + 16, 0); // no compression
    put32(info + 20, static_cast<uint32_t>(row * h));
    put32(info + 24, 0);
    put32(info + 28, 0);
    const int entries = table_entries(bits);
    put32(info + 32, static_cast<uint32_t>(entries));
    put32(info + 36, 0);
    // Colour table: blue, green, red, reserved.
    char* table = info + 40;
    for (int i = 0; i < entries; ++i) {
        uint32_t c = palette ? palette[i] : (i ? 0xffffffffu : 0xff000000u);
        table[4 * i + 0] = static_cast<char>(c & 0xff);
        table[4 * i + 1] = static_cast<char>((c >> 8) & 0xff);
        table[4 * i + 2] = static_cast<char>((c >> 16) & 0xff);
    }

    unsigned char* rows = reinterpret_cast<unsigned char*>(p + head);
    for (int y = 0; y < h; ++y) {
        const QRgb* src = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        unsigned char* dst = rows + (h - 1 - y) * row;
        if (bits == 24) {
            for (int x = 0; x < w; ++x) {
                dst[3 * x + 0] = static_cast<unsigned char>(qBlue(src[x]));
                dst[3 * x + 1] = static_cast<unsigned char>(qGreen(src[x]));
                dst[3 * x + 2] = static_cast<unsigned char>(qRed(src[x]));
            }
            continue;
        }
        for (int x = 0; x < w; ++x) {
            const unsigned idx = static_cast<unsigned>(nearest_index(src[x], palette, entries));
            if (bits == 8) {
                dst[x] = static_cast<unsigned char>(idx);
            } else if (bits == 4) {
                dst[x / 2] |= static_cast<unsigned char>((x % 2) ? idx : idx << 4);
            } else if (idx) {
                dst[x / 8] |= static_cast<unsigned char>(0x80u >> (x % 8));
            }
        }
    }
    return file;
}
