// The JPEG decoder's marker reader: SOI, the table segments, the frame and scan headers.
#include "gfx2d/jpeg_decoder.h"

namespace {

enum Marker : int {
  kSof0 = 0xC0, kSof1 = 0xC1, kSof2 = 0xC2, kSof3 = 0xC3, kDht = 0xC4, kJpg = 0xC8,
  kSof9 = 0xC9, kDac = 0xCC, kSof15 = 0xCF, kRst0 = 0xD0, kRst7 = 0xD7, kSoi = 0xD8, kEoi = 0xD9, kSos = 0xDA,
  kDqt = 0xDB, kDri = 0xDD, kTem = 0x01,
};

// SOI may follow a little junk (some tools prepend a header), but not much.
constexpr int kSoiSearchBytes = 512;

int ReadU16(JpegDecoder* dec) {
  int high = JpegReadByte(dec);
  return (high << 8) | JpegReadByte(dec);
}

void FindSoi(JpegDecoder* dec) {
  int last = JpegReadByte(dec);
  int cur = JpegReadByte(dec);
  for (int i = 0; !(last == 0xFF && cur == kSoi); ++i) {
    if (i == kSoiSearchBytes) JpegStop(dec, kJpegNotJpeg);
    last = cur;
    cur = JpegReadByte(dec);
  }
}

void ReadDht(JpegDecoder* dec) {
  int left = ReadU16(dec);
  if (left < 2) JpegStop(dec, kJpegBadDhtLength);
  left -= 2;
  while (left > 0) {
    int index = JpegReadByte(dec);
    uint8_t counts[17] = {};
    int total = 0;
    for (int i = 1; i <= 16; ++i) {
      counts[i] = JpegReadByte(dec);
      total += counts[i];
    }
    if (total > 255) JpegStop(dec, kJpegBadDhtCounts);
    if (left < 17 + total) JpegStop(dec, kJpegBadDhtLength);
    // Class 0 (DC) or 1 (AC), id 0..3. Ids 4..7 of class 0 would otherwise land on the AC
    // tables, so they are refused too.
    int tableClass = index >> 4;
    int id = index & 15;
    if (tableClass > 1 || id > 3) JpegStop(dec, kJpegBadDhtIndex);
    JpegHuffTable& table = dec->huff[tableClass * 4 + id];
    for (int i = 0; i < 17; ++i) table.counts[i] = counts[i];
    for (int i = 0; i < total; ++i) table.values[i] = JpegReadByte(dec);
    for (int i = total; i < 256; ++i) table.values[i] = 0;
    dec->huffDefined[tableClass * 4 + id] = 1;
    left -= 17 + total;
  }
}

void ReadDqt(JpegDecoder* dec) {
  int left = ReadU16(dec);
  if (left < 2) JpegStop(dec, kJpegBadDqtLength);
  left -= 2;
  while (left > 0) {
    int n = JpegReadByte(dec);
    int id = n & 15;
    bool wide = (n >> 4) != 0;
    if (id > 3) JpegStop(dec, kJpegBadDqtTable);
    int need = wide ? 129 : 65;
    if (left < need) JpegStop(dec, kJpegShortDqt);
    for (int i = 0; i < 64; ++i)
      dec->quant[id][i] = uint16_t(wide ? ReadU16(dec) : JpegReadByte(dec));
    dec->quantDefined[id] = 1;
    left -= need;
  }
}

void ReadDri(JpegDecoder* dec) {
  if (ReadU16(dec) != 4) JpegStop(dec, kJpegBadDriLength);
  dec->restartInterval = ReadU16(dec);
}

void SkipSegment(JpegDecoder* dec) {
  int left = ReadU16(dec);
  if (left < 2) JpegStop(dec, kJpegBadMarkerLength);
  for (left -= 2; left > 0; --left) JpegReadByte(dec);
}

void ReadFrameHeader(JpegDecoder* dec) {
  int length = ReadU16(dec);
  if (JpegReadByte(dec) != 8) JpegStop(dec, kJpegBadPrecision);
  dec->height = ReadU16(dec);
  if (dec->height < 1 || dec->height > kJpegMaxDimension) JpegStop(dec, kJpegBadHeight);
  dec->width = ReadU16(dec);
  if (dec->width < 1 || dec->width > kJpegMaxDimension) JpegStop(dec, kJpegBadWidth);
  dec->componentCount = JpegReadByte(dec);
  if (dec->componentCount > 4) JpegStop(dec, kJpegTooManyComponents);
  if (length != 8 + dec->componentCount * 3) JpegStop(dec, kJpegBadSofLength);
  dec->bytesPerPixel = dec->componentCount == 1 ? 1 : 4;
  for (int i = 0; i < dec->componentCount; ++i) {
    JpegComponent& c = dec->components[i];
    c.id = JpegReadByte(dec);
    int sampling = JpegReadByte(dec);
    c.h = uint8_t(sampling >> 4);
    c.v = uint8_t(sampling & 15);
    c.quant = JpegReadByte(dec);
  }
}

}  // namespace

int JpegNextMarker(JpegDecoder* dec) {
  int c;
  do {
    do {
      c = JpegReadByte(dec);
    } while (c != 0xFF);
    do {
      c = JpegReadByte(dec);
    } while (c == 0xFF);
  } while (c == 0);  // a stuffed 0xFF is not a marker
  return c;
}

int JpegProcessMarkers(JpegDecoder* dec) {
  for (;;) {
    int c = JpegNextMarker(dec);
    switch (c) {
      case kDht:
        ReadDht(dec);
        break;
      case kDqt:
        ReadDqt(dec);
        break;
      case kDri:
        ReadDri(dec);
        break;
      case kDac:
        JpegStop(dec, kJpegArithmetic);
      case kJpg:
      case kTem:
        JpegStop(dec, kJpegUnexpectedMarker);
      default:
        if (c >= kRst0 && c <= kRst7) JpegStop(dec, kJpegUnexpectedMarker);
        // Frame headers, SOI, EOI and SOS are the caller's to handle.
        if ((c >= kSof0 && c <= kSof15) || c == kSoi || c == kEoi || c == kSos) return c;
        SkipSegment(dec);  // APPn, COM and the rest
        break;
    }
  }
}

void JpegReadScanHeader(JpegDecoder* dec) {
  int length = ReadU16(dec);
  int n = JpegReadByte(dec);
  if (n < 1 || n > 4 || length != 6 + 2 * n) JpegStop(dec, kJpegBadSos);
  dec->scanCount = n;
  for (int i = 0; i < n; ++i) {
    int id = JpegReadByte(dec);
    int tables = JpegReadByte(dec);
    int found = -1;
    for (int c = 0; c < dec->componentCount && found < 0; ++c)
      if (dec->components[c].id == id) found = c;
    if (found < 0) JpegStop(dec, kJpegBadSosComponent);
    dec->scanOrder[i] = uint8_t(found);
    dec->components[found].dcTable = uint8_t(tables >> 4);
    dec->components[found].acTable = uint8_t(tables & 15);
  }
  dec->spectralStart = JpegReadByte(dec);
  dec->spectralEnd = JpegReadByte(dec);
  int approx = JpegReadByte(dec);
  dec->approxHigh = approx >> 4;
  dec->approxLow = approx & 15;
  if (!dec->progressive) {
    dec->spectralStart = 0;
    dec->spectralEnd = 63;
  }
}

void JpegInit(JpegDecoder* dec, uint32_t context, JpegInput* input) {
  dec->context = context;
  dec->input = input;
  try {
    FindSoi(dec);
    int c = JpegProcessMarkers(dec);
    if (c == kSof2) dec->progressive = 1;
    if (c == kSof0 || c == kSof1 || c == kSof2) {
      ReadFrameHeader(dec);
    } else if (c == kSof9) {
      JpegStop(dec, kJpegArithmetic);
    } else if (c >= kSof3 && c <= kSof15 && c != kDht && c != kJpg && c != kDac) {
      JpegStop(dec, kJpegUnsupportedFrame);
    } else {
      JpegStop(dec, kJpegUnexpectedMarker);  // SOI, EOI or SOS before any frame
    }
    // There is no progressive scan decoding: such files are refused here, before anyone
    // allocates a picture for them.
    if (dec->progressive) JpegStop(dec, kJpegUnsupportedFrame);
  } catch (const JpegAbort&) {
  }
}
