// Device-independent bitmaps in global memory blocks ("packed DIBs": a 40-byte BITMAPINFOHEADER,
// its colour table, then the pixel rows), read from BMP files or made blank, and the screen's
// palette cleared. The caller owns every block handed out and frees it with GlobalFree.
#pragma once

#include <windows.h>

#include <cstdint>

// Realises on the screen a palette of 256 black entries that may not collapse onto other entries,
// so that every free entry of the system palette turns black; the screen keeps its palette.
void ClearSystemPalette();

// The packed DIB of a BMP file: the file opened for reading, its header read by ReadDIBInfo, the
// block grown by the pixel rows and those read. A file that cannot be opened is looked for as a
// bitmap resource of that name (the locked resource, or null when there is none). A damaged file
// throws the corrupt-file error; null when memory runs out.
HGLOBAL OpenDIB(const char* fileName);

// From the file's position: the 14-byte file header (a file without "BM" there has none: the
// position goes back) and the information header, with its colour table, as a block of a 40-byte
// header and the table. A 12-byte core header is widened to 40 bytes and its 3-byte colours to
// 4 bytes; a longer header keeps its first 40 bytes (and its three masks as the table of a
// bit-field DIB). biSizeImage is filled when 0, and biClrUsed when 0 at 8 bits or less. The file
// is left at the pixel rows (where the file header says they start). Anything the file cannot
// hold, or that no DIB has, throws the corrupt-file error.
HGLOBAL ReadDIBInfo(HFILE file);

// Fills the colour table of the DIB block: with usage DIB_PAL_COLORS the 16-bit indexes 0, 1,
// 2, ..., otherwise the palette's colours (the default palette's when none is given; entries past
// the palette's are black). A bit-field DIB's three masks are left alone. False when the block is
// no DIB or too small for its table.
bool SetDIBUsage(HGLOBAL dib, HPALETTE palette, UINT usage);

// A zero-filled packed DIB of the given depth (1, 4, 8, 16, 24 or 32 bits) and size: the header,
// 256 colours (the 16 standard VGA colours over and over) and the rows. biClrUsed is 16 at 4 bits
// and 256 at 8 bits, biSizeImage the rows' size. Null when memory runs out.
HGLOBAL CreateDIB(uint16_t bitCount, int32_t width, int32_t height);
