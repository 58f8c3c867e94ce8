// The JPEG decoder's plumbing: its life, its block table, errors and the byte input.
#include <cstdlib>
#include <cstring>

#include "core/core.h"
#include "gfx2d/jpeg_decoder.h"

int JpegInputRead(JpegInput* input, uint8_t* buffer, int size) {
  if (input->error || !input->file) {
    input->error = 1;
    return -1;
  }
  if (input->eof) return 0;
  size_t got = fread(buffer, 1, size_t(size), input->file);
  if (got < size_t(size)) {
    if (ferror(input->file)) {
      input->error = 1;
      return -1;
    }
    input->eof = 1;
  }
  return int(got);
}

JpegDecoder* JpegCreate() {
  auto* dec = static_cast<JpegDecoder*>(AllocZeroed(sizeof(JpegDecoder)));
  if (dec) dec->inPtr = dec->inStore + kJpegPushBackBytes;
  return dec;
}

void JpegDestroy(JpegDecoder* dec) {
  if (!dec) return;
  JpegFreeAll(dec);
  MemFree(dec);
}

void JpegStop(JpegDecoder* dec, int32_t code) {
  if (dec->errorCode == 0) dec->errorCode = code;
  JpegFreeAll(dec);
  throw JpegAbort{};
}

void* JpegAlloc(JpegDecoder* dec, size_t size) {
  if (dec->blockCount >= kJpegMaxAllocations) JpegStop(dec, kJpegTooManyBlocks);
  // calloc's blocks are aligned for any scalar type, which covers the 8 bytes needed.
  void* block = calloc(1, size ? size : 1);
  if (!block) JpegStop(dec, kJpegOutOfMemory);
  dec->blocks[dec->blockCount++] = block;
  return block;
}

void JpegFreeAll(JpegDecoder* dec) {
  for (int i = 0; i < dec->blockCount; ++i) free(dec->blocks[i]);
  dec->blockCount = 0;
  // Nothing may reach the freed memory through a stale pointer.
  dec->coefficients = nullptr;
  dec->blockLast = nullptr;
  dec->samples = nullptr;
  dec->lines[0] = dec->lines[1] = nullptr;
}

uint8_t JpegRefillAndRead(JpegDecoder* dec) {
  if (!dec->input->eof) {
    uint8_t* buffer = dec->inStore + kJpegPushBackBytes;
    int got = JpegInputRead(dec->input, buffer, kJpegInputBytes);
    if (got < 0) JpegStop(dec, kJpegStreamRead);
    if (got > 0) {
      dec->inPtr = buffer + 1;
      dec->inLeft = got - 1;
      return buffer[0];
    }
  }
  // A truncated file reads as if it ended with EOI markers, so every loop looking for a
  // marker ends.
  dec->eoiToggle ^= 1;
  return dec->eoiToggle ? 0xFF : 0xD9;
}

void JpegPushBack(JpegDecoder* dec, uint8_t byte) {
  // Only the bit reader pushes back, two bytes at most before they are read again.
  if (dec->inPtr == dec->inStore) JpegStop(dec, kJpegInternalLimit);
  *--dec->inPtr = byte;
  ++dec->inLeft;
}
