// The baseline JPEG decoder behind LoadJpg: sequential DCT, Huffman coded, JFIF YCbCr or grey.
// Private to gfx2d (and to the tests and tools that look inside it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// Error codes; 0 means none. Only LoadJpg's four messages reach the log, never these.
enum JpegError : int32_t {
  kJpegBadDhtCounts = -200,        // Huffman code counts above 255
  kJpegBadDhtIndex = -201,         // Huffman table class or id out of range
  kJpegBadDhtLength = -202,
  kJpegBadDqtLength = -203,
  kJpegBadDqtTable = -204,         // quantisation table id above 3
  kJpegBadPrecision = -205,        // sample precision other than 8
  kJpegBadHeight = -206,
  kJpegBadWidth = -207,
  kJpegTooManyComponents = -208,
  kJpegBadSofLength = -209,
  kJpegBadMarkerLength = -210,     // a skipped marker segment
  kJpegBadDriLength = -211,
  kJpegBadSos = -212,              // SOS length or scan component count
  kJpegBadSosComponent = -213,     // scan names a component not in the frame
  kJpegArithmetic = -215,
  kJpegUnexpectedMarker = -216,
  kJpegNotJpeg = -217,             // no SOI
  kJpegUnsupportedFrame = -218,
  kJpegShortDqt = -219,            // table shorter than its precision needs
  kJpegTooManyBlocks = -221,       // more than kJpegMaxAllocations
  kJpegUndefinedQuant = -222,
  kJpegUndefinedHuffman = -223,
  kJpegBadComponentCount = -225,   // neither 1 nor 3
  kJpegBadSampling = -226,
  kJpegCorruptData = -227,         // entropy-coded data that decode to nonsense
  kJpegBadRestart = -228,
  kJpegInternalLimit = -229,       // blocks per MCU row
  kJpegStreamRead = -232,
  kJpegOutOfMemory = -233,
};

constexpr int kJpegInputBytes = 4096;
constexpr int kJpegPushBackBytes = 16;   // the bit reader pushes back at most a marker's 2
constexpr int kJpegMaxAllocations = 100;
constexpr int kJpegMaxDimension = 8192;
constexpr int kJpegMaxBlocksPerMcuRow = 6144;

// The source of the compressed bytes: an open file and its state.
struct JpegInput {
  FILE* file;
  uint8_t eof;      // a short read has been seen: no more data
  uint8_t error;    // a read failed; every later read fails too
  uint32_t context; // the Graphics2D owner word, not used
};

// Fills up to `size` bytes; the count read, or -1 on a read error, a missing file or a
// read after an earlier error.
int JpegInputRead(JpegInput* input, uint8_t* buffer, int size);

// One Huffman table as DHT defines it, plus what begin builds for decoding.
struct JpegHuffTable {
  uint8_t counts[17];     // codes of each length 1..16 (counts[0] unused)
  uint8_t values[256];    // symbols in code order
  // Codes up to kJpegFastBits long decode with one look-up: (length << 8) | symbol,
  // 0 for a longer code.
  uint16_t fast[512];
  // An AC code and the value after it, both within kJpegFastBits: (value << 16) |
  // (run << 8) | bits taken, 0 otherwise.
  int32_t fastAc[512];
  int32_t maxCode[18];    // largest code of each length, -1 when there is none
  int32_t valueOffset[17];// values index = valueOffset[length] + code
};
constexpr int kJpegFastBits = 9;

struct JpegComponent {
  uint8_t id;
  uint8_t h, v;           // sampling factors
  uint8_t quant;          // quantisation table selector
  uint8_t dcTable, acTable;  // from the scan header
};

// How MCU samples become output lines.
enum JpegLayout : int32_t {
  kJpegGrey = 0,
  kJpegColour1x1 = 1,
  kJpegColour2x1 = 2,     // luminance twice as wide as chrominance (4:2:2)
  kJpegColour1x2 = 3,     // luminance twice as tall
  kJpegColour2x2 = 4,     // 4:2:0
};

struct JpegDecoder {
  uint32_t context;
  JpegInput* input;

  // Byte input: a buffer with room in front for pushed-back bytes.
  uint8_t inStore[kJpegPushBackBytes + kJpegInputBytes];
  uint8_t* inPtr;
  int32_t inLeft;
  uint8_t eoiToggle;      // past the end: 0xFF, 0xD9, 0xFF, ...

  // Bit input: the next bit is bit 31.
  uint32_t bitBuf;
  int32_t bitCount;
  uint8_t markerHit;      // the entropy-coded segment ended; only zero bits follow

  uint16_t quant[4][64];  // in zig-zag order, as stored in the file
  uint8_t quantDefined[4];
  JpegHuffTable huff[8];  // 0..3 DC, 4..7 AC
  uint8_t huffDefined[8];

  // Frame.
  int32_t width, height;
  int32_t componentCount;
  JpegComponent components[4];

  // Scan.
  int32_t scanCount;
  uint8_t scanOrder[4];   // frame component index of each scan component
  int32_t spectralStart, spectralEnd, approxHigh, approxLow;
  int32_t restartInterval, restartsLeft, nextRestart;
  int32_t dcPred[4];

  // MCU geometry.
  int32_t layout;
  int32_t mcuWidth, mcuHeight;
  int32_t blocksPerMcu, mcusPerRow, mcuRows, blocksPerMcuRow;
  uint8_t blockComponent[6];  // frame component of each block of an MCU
  int32_t lumaBlock, cbBlock, crBlock;  // where each component's blocks start in an MCU
  int32_t bytesPerPixel;

  // One MCU row at a time.
  int16_t* coefficients;  // 64 per block, natural order, dequantised
  uint8_t* blockLast;     // per block: zig-zag index of its last non-zero coefficient
  uint8_t* samples;       // 64 per block
  uint8_t* lines[2];      // (width rounded up to 16) x bytesPerPixel each
  int32_t rowsLeft;       // lines still to deliver
  int32_t mcuLinesLeft;   // of them, in the current MCU row
  int32_t mcuLine;        // the next line within the MCU row

  // Colour conversion, per byte value.
  int32_t crR[256], cbB[256], crG[256], cbG[256];

  void* blocks[kJpegMaxAllocations];
  int32_t blockCount;
  int32_t errorCode;
  uint8_t begun;
  uint8_t progressive;
  uint8_t finished;       // EOI came instead of a scan: nothing to deliver
  uint8_t portableOnly;   // set by tests: plain C++ where a vector path exists
};

// --- The decoder's operations, in the order LoadJpg uses them ---

// A zero-filled decoder; null when memory is short.
JpegDecoder* JpegCreate();
// Reads the markers up to and including the frame header; sets the error code on failure.
void JpegInit(JpegDecoder* dec, uint32_t context, JpegInput* input);
// -1 when an error is already recorded; otherwise sets up the frame and the first scan once
// and returns 0. Errors of the set-up show in JpegDecode.
int JpegBegin(JpegDecoder* dec);
// Delivers the next scan line: 0 with *line and *length set (valid until the next call),
// 1 when every line has been delivered, -1 on an error or before begin. Colour lines hold 4
// bytes per pixel (red, green, blue, one unused byte), grey lines 1.
int JpegDecode(JpegDecoder* dec, const uint8_t** line, uint32_t* length);
inline int32_t JpegWidth(const JpegDecoder* dec) { return dec->width; }
inline int32_t JpegHeight(const JpegDecoder* dec) { return dec->height; }
inline int32_t JpegComponents(const JpegDecoder* dec) { return dec->componentCount; }
inline int32_t JpegBytesPerPixel(const JpegDecoder* dec) { return dec->bytesPerPixel; }
inline int32_t JpegErrorCode(const JpegDecoder* dec) { return dec->errorCode; }
// Frees every block and the decoder itself. Null is allowed.
void JpegDestroy(JpegDecoder* dec);

// --- Inside the decoder ---

// Thrown by JpegStop to end the current operation; caught by init, begin and decode.
struct JpegAbort {};

// Records `code` (the first error wins), frees every block and ends the operation.
[[noreturn]] void JpegStop(JpegDecoder* dec, int32_t code);
// A zero-filled block aligned to 8 bytes, freed by JpegFreeAll. Records -221 for a 101st
// block and -233 when memory is short (through JpegStop).
void* JpegAlloc(JpegDecoder* dec, size_t size);
void JpegFreeAll(JpegDecoder* dec);

// Next byte of the file; past its end 0xFF and 0xD9 alternately, as if it ended in EOIs.
uint8_t JpegRefillAndRead(JpegDecoder* dec);
inline uint8_t JpegReadByte(JpegDecoder* dec) {
  if (dec->inLeft > 0) {
    --dec->inLeft;
    return *dec->inPtr++;
  }
  return JpegRefillAndRead(dec);
}
// Puts a byte back in front of the read pointer.
void JpegPushBack(JpegDecoder* dec, uint8_t byte);

// Reads the next marker's code, skipping anything that is not 0xFF before it.
int JpegNextMarker(JpegDecoder* dec);
// Handles table and skippable segments until a marker that frames the image (SOFn, SOS,
// EOI, ...) comes; returns that marker's code.
int JpegProcessMarkers(JpegDecoder* dec);
// Reads an SOS segment into the scan fields (the marker itself already read).
void JpegReadScanHeader(JpegDecoder* dec);

// Builds the decoding tables of a defined Huffman table.
void JpegBuildHuffTable(JpegHuffTable* table);
// Empties the bit buffer and starts reading entropy-coded bits.
void JpegResetBits(JpegDecoder* dec);
// Entropy-decodes the next MCU row into dec->coefficients (restarts included).
void JpegDecodeMcuRow(JpegDecoder* dec);
// Inverse DCT of every block of the MCU row into dec->samples.
void JpegIdctMcuRow(JpegDecoder* dec);
// One 8 x 8 block: dequantised coefficients in natural order to level-shifted, clamped
// samples (row after row). `last` is the zig-zag index of the last non-zero coefficient.
// Where the machine has SSE2 the transform runs eight lanes at a time; the samples are the
// same as the portable version's, which the tests hold it to.
void JpegIdctBlock(const int16_t* in, int32_t last, uint8_t* out);
void JpegIdctBlockPortable(const int16_t* in, int32_t last, uint8_t* out);

// Zig-zag position -> natural (row-major) position. The 16 extra entries are never reached:
// an index past 63 is refused before it is used.
inline constexpr uint8_t kJpegZigzag[64 + 16] = {
    0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33,
    40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36,
    29, 22, 15, 23, 30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54,
    47, 55, 62, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63, 63};
