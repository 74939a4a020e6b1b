#include "desktop/screenshot.h"

#include <cstdio>

namespace {

uint32_t crc32_of(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    static uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        made = true;
    }
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t adler32_of(const std::vector<uint8_t>& data)
{
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return b << 16 | a;
}

void put_u32(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

void put_chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data)
{
    put_u32(out, static_cast<uint32_t>(data.size()));
    std::vector<uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    out.insert(out.end(), typed.begin(), typed.end());
    put_u32(out, crc32_of(typed.data(), typed.size()));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::vector<uint8_t> zlib_stored(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out = {0x78, 0x01};
    size_t offset = 0;
    do {
        size_t length = raw.size() - offset;
        if (length > 65535)
            length = 65535;
        bool last = offset + length == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(length));
        out.push_back(static_cast<uint8_t>(length >> 8));
        out.push_back(static_cast<uint8_t>(~length));
        out.push_back(static_cast<uint8_t>(~length >> 8));
        out.insert(out.end(), raw.begin() + offset, raw.begin() + offset + length);
        offset += length;
    } while (offset < raw.size());
    put_u32(out, adler32_of(raw));
    return out;
}

}  // namespace

std::vector<uint8_t> encode_png(int width, int height, const std::vector<uint8_t>& rgb)
{
    std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    std::vector<uint8_t> header;
    put_u32(header, width);
    put_u32(header, height);
    header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter, no interlace
    put_chunk(png, "IHDR", header);

    std::vector<uint8_t> rows;
    rows.reserve(static_cast<size_t>(height) * (width * 3 + 1));
    for (int y = 0; y < height; ++y) {
        rows.push_back(0);  // filter: none
        auto row = rgb.begin() + static_cast<size_t>(y) * width * 3;
        rows.insert(rows.end(), row, row + width * 3);
    }
    put_chunk(png, "IDAT", zlib_stored(rows));
    put_chunk(png, "IEND", {});
    return png;
}

bool capture_dc_rgb(HDC source, const RECT& area, int* width, int* height, std::vector<uint8_t>* rgb)
{
    int w = area.right - area.left;
    int h = area.bottom - area.top;
    if (w <= 0 || h <= 0)
        return false;

    HDC memory = CreateCompatibleDC(source);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = -h;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = bitmap != nullptr;
    if (ok) {
        HGDIOBJ old = SelectObject(memory, bitmap);
        ok = BitBlt(memory, 0, 0, w, h, source, area.left, area.top, SRCCOPY) != 0;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        const uint8_t* bgrx = static_cast<const uint8_t*>(bits);
        rgb->resize(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0, n = static_cast<size_t>(w) * h; i < n; ++i) {
            (*rgb)[i * 3 + 0] = bgrx[i * 4 + 2];
            (*rgb)[i * 3 + 1] = bgrx[i * 4 + 1];
            (*rgb)[i * 3 + 2] = bgrx[i * 4 + 0];
        }
        *width = w;
        *height = h;
    }
    if (bitmap != nullptr)
        DeleteObject(bitmap);
    DeleteDC(memory);
    return ok;
}

bool capture_screen_rgb(const RECT& area, int* width, int* height, std::vector<uint8_t>* rgb)
{
    HDC screen = GetDC(nullptr);
    const bool ok = capture_dc_rgb(screen, area, width, height, rgb);
    ReleaseDC(nullptr, screen);
    return ok;
}

bool capture_window_rgb(HWND window, int* width, int* height, std::vector<uint8_t>* rgb)
{
    RECT frame;
    return GetWindowRect(window, &frame) && capture_screen_rgb(frame, width, height, rgb);
}

bool write_png_file(const std::string& path, int width, int height, const std::vector<uint8_t>& rgb)
{
    const std::vector<uint8_t> png = encode_png(width, height, rgb);
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr)
        return false;
    const bool written = fwrite(png.data(), 1, png.size(), file) == png.size();
    return fclose(file) == 0 && written;
}
