// kvrtool info for JPEG pictures: the frame as the game's decoder reads it, and whether the
// whole picture decodes.
#include <cstdio>

#include "gfx2d/jpeg_decoder.h"
#include "kvrtool.h"

namespace {

const char* ErrorMeaning(int code) {
  switch (code) {
    case kJpegBadDhtCounts: return "Huffman code counts above 255";
    case kJpegBadDhtIndex: return "Huffman table index out of range";
    case kJpegBadDhtLength: return "bad DHT length";
    case kJpegBadDqtLength: return "bad DQT length";
    case kJpegBadDqtTable: return "quantisation table id above 3";
    case kJpegBadPrecision: return "sample precision other than 8 bits";
    case kJpegBadHeight: return "bad height";
    case kJpegBadWidth: return "bad width";
    case kJpegTooManyComponents: return "more than 4 components";
    case kJpegBadSofLength: return "bad frame header length";
    case kJpegBadMarkerLength: return "bad length of a skipped segment";
    case kJpegBadDriLength: return "bad DRI length";
    case kJpegBadSos: return "bad scan header";
    case kJpegBadSosComponent: return "scan names a component not in the frame";
    case kJpegArithmetic: return "arithmetic coding";
    case kJpegUnexpectedMarker: return "unexpected marker";
    case kJpegNotJpeg: return "no SOI: not a JPEG file";
    case kJpegUnsupportedFrame: return "unsupported frame type (progressive, lossless, several scans)";
    case kJpegShortDqt: return "quantisation table cut short";
    case kJpegTooManyBlocks: return "more than 100 allocations";
    case kJpegUndefinedQuant: return "undefined quantisation table";
    case kJpegUndefinedHuffman: return "undefined Huffman table";
    case kJpegBadComponentCount: return "component count other than 1 or 3";
    case kJpegBadSampling: return "unsupported sampling factors";
    case kJpegCorruptData: return "corrupt entropy-coded data";
    case kJpegBadRestart: return "bad restart marker";
    case kJpegInternalLimit: return "internal limit exceeded";
    case kJpegStreamRead: return "read error";
    case kJpegOutOfMemory: return "out of memory";
    default: return "unknown";
  }
}

}  // namespace

bool InfoJpeg(const std::string& name, const std::vector<unsigned char>& bytes) {
  // The game's own rule: names ending in "jpg" or "JPG" are JPEG pictures.
  if (!EndsWith(name, "jpg") && !EndsWith(name, "JPG")) return false;
  FILE* file = fmemopen(const_cast<unsigned char*>(bytes.data()), bytes.size(), "rb");
  JpegInput input{file, 0, 0, 0};
  JpegDecoder* dec = JpegCreate();
  JpegInit(dec, 0, &input);
  if (JpegErrorCode(dec)) {
    printf("%s: JPEG, %zu bytes; the game refuses it at its header: error %d (%s)\n", name.c_str(),
           bytes.size(), JpegErrorCode(dec), ErrorMeaning(JpegErrorCode(dec)));
  } else {
    JpegBegin(dec);
    const JpegComponent* c = dec->components;
    printf("%s: JPEG %d x %d, %zu bytes, ", name.c_str(), JpegWidth(dec), JpegHeight(dec), bytes.size());
    if (JpegComponents(dec) == 1)
      printf("grey");
    else
      printf("%d components, luminance sampled %d x %d against chrominance %d x %d", JpegComponents(dec),
             c[0].h, c[0].v, c[1].h, c[1].v);
    if (dec->restartInterval) printf(", restart every %d MCUs", dec->restartInterval);
    printf("\n");
    const uint8_t* line;
    uint32_t length;
    int lines = 0;
    while (JpegDecode(dec, &line, &length) == 0) ++lines;
    if (JpegErrorCode(dec))
      printf("  the game refuses it after %d lines: error %d (%s)\n", lines, JpegErrorCode(dec),
             ErrorMeaning(JpegErrorCode(dec)));
    else
      printf("  decodes cleanly: %d lines into a sprite of %d x %d 5-6-5 pixels\n", lines,
             JpegWidth(dec), JpegHeight(dec));
  }
  JpegDestroy(dec);
  if (file) fclose(file);
  return true;
}
