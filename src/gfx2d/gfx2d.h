// The face of the 2D graphics library: colours, Graphics2D with its sprite table, sprite
// blocks, SpriteImage, bitmap fonts and text, and the sky backgrounds.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/display.h"

// ---------------------------------------------------------------------------------------
// Colours

// A 5-6-5 pixel built from 5-bit components (0..31): r * 2048 + g * 64 + b. The lowest
// green bit stays clear. Out-of-range components spill into the neighbouring field.
constexpr uint16_t MakeColour(int32_t r, int32_t g, int32_t b) {
  return uint16_t(uint32_t(r) * 2048u + uint32_t(g) * 64u + uint32_t(b));
}

// How DrawSprite writes a sprite's pixels. Any other value draws like Opaque.
enum BlitMode : uint32_t {
  Opaque = 0,     // destination = source
  ColourKey = 1,  // source pixels equal to the key are skipped
  Blend50 = 2,    // every pixel half source, half destination
  KeyBlend = 3,   // key-coloured pixels tint the destination half-way towards the key
};

// ---------------------------------------------------------------------------------------
// Sprite blocks: one heap block (MemAlloc) per loaded sprite; the 3D engine, the animations
// and the forms read them directly. Layout: width, height (native 16-bit words), then
// width x height 5-6-5 pixels, row after row, top row first.

inline int32_t SpriteWidth(const uint16_t* block) { return block[0]; }
inline int32_t SpriteHeight(const uint16_t* block) { return block[1]; }
inline uint16_t* SpritePixels(uint16_t* block) { return block + 2; }
inline const uint16_t* SpritePixels(const uint16_t* block) { return block + 2; }

constexpr int kMaxSprites = 200;          // slots of the sprite table
constexpr int kMaxSpriteNameChars = 28;   // longer names are refused

// One slot of the sprite table.
struct SpriteEntry {
  char name[32];      // the name as passed to LoadSprite; only matched while inUse
  uint16_t* block;    // the sprite block, owned by the slot
  uint8_t inUse;      // 1 while the slot holds a sprite
  int32_t refs;       // holders beyond the first (0 = one holder)
};

// ---------------------------------------------------------------------------------------
// Graphics2D: the one 2D drawing object. Created by the game driver once the display is
// open, before any sprite is loaded; reached through Gfx2D. Sprites are named by slot
// index, -1 meaning none.

class Graphics2D {
 public:
  Graphics2D() = default;
  // Frees any sprite blocks still held (owners should have released them by then).
  ~Graphics2D();
  Graphics2D(const Graphics2D&) = delete;
  Graphics2D& operator=(const Graphics2D&) = delete;

  // Stores the drawing target and the owner's word. Always 1.
  int Create(uint32_t owner, int32_t width, int32_t height, uint16_t* pixels);

  // --- Drawing (into `pixels`) ---

  // Blits a loaded sprite with its top-left corner at (x, y), clipped to the target.
  // 0 for slot -1, for a sprite wholly off the left or top edge or below the screen, and
  // when the blit ran past the right or bottom edge (rows above stay drawn); else 1.
  int DrawSprite(int32_t slot, int32_t x, int32_t y, uint32_t mode, uint16_t key);
  // Loads a sprite file (shared), blits it with key 0 and releases it. 1 if it loaded.
  int DrawSpriteFile(const char* name, int32_t x, int32_t y, uint32_t mode);
  // A one-pixel line. Refused (0) when x0 < 0, x1 >= width - 1, y0 < 0 or y1 >= height - 1;
  // stops and returns 0 at the first point off the target; 1 when the whole line was drawn.
  // `extra` has no effect (callers pass 1).
  int DrawLine(int32_t x0, int32_t y0, int32_t x1, int32_t y1, int32_t extra, uint16_t colour);
  // One DrawLine per row y .. y + h - 1, from column x to x + w inclusive; the result of
  // the last row (0 when there is none).
  int FillRect(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour);
  // The four edges between (x, y) and (x + w, y + h); the result of the last edge.
  int DrawRect(int32_t x, int32_t y, int32_t w, int32_t h, uint16_t colour);
  // Scales every pixel's channels by level / 31 (0..31: 31 keeps, 0 is black).
  void FadeScreen(int32_t levelB, int32_t levelG, int32_t levelR);
  // Layout units (1024 = the whole layout width or height) to pixels.
  int32_t ScaleX(int32_t v) const;
  int32_t ScaleY(int32_t v) const;

  // --- Sprite table ---

  // Loads a .spr file (or a JPEG for names ending in "jpg" or "JPG") into the lowest free
  // slot, or shares the slot already holding that name. The slot, or -1 after logging.
  // messageVariant only picks which allocation-failure text is logged.
  int32_t LoadSprite(const char* name);
  int32_t LoadSprite(const char* name, uint8_t messageVariant);
  // One more holder of a loaded sprite. Returns the slot (-1 when it holds no sprite).
  int32_t AddSpriteRef(int32_t slot);
  // Drops one holder; the last one frees the block and the slot. 0 for slot -1 (and for a
  // slot that holds no sprite), else 1.
  int ReleaseSprite(int32_t slot);
  // The sprite's size (0 x 0 for a slot that holds no sprite).
  void GetSpriteSize(int32_t slot, int32_t* width, int32_t* height) const;
  // Sets every pixel of the sprite to 0 (for sprites used as drawing surfaces).
  void ClearSprite(int32_t slot);
  // The block of a loaded sprite, null for -1 or a free slot. Owned by the table.
  uint16_t* SpriteBlock(int32_t slot) const;

  int32_t width = 0;            // pixels per row of the target (240)
  int32_t height = 0;           // rows of the target (320)
  uint16_t* pixels = nullptr;   // the current target, normally FrameBuffer
  uint32_t owner = 0;           // the driver's word; unused here
  SpriteEntry sprites[kMaxSprites] = {};
  int32_t searchFrom = 0;       // where LoadSprite starts looking for a name: after the last found
};

// The one Graphics2D of the process (null until the game driver creates it).
extern Graphics2D* Gfx2D;

// ---------------------------------------------------------------------------------------
// SpriteImage: one sprite with where and how to draw it (a form's BITMAP control and the
// like). Works through Gfx2D.

struct SpriteImage {
  // slot -1, x = y = 0, visible 1, the control name copied (cut to 63 characters).
  void Init(void* owner, const char* controlName);
  // Loads the file (messageVariant 1) and takes its size. 1, or 0 when it fails to load.
  int Load(const char* fileName, uint32_t mode, uint32_t key);
  // Draws the sprite at (x, y) when visible. Always 1.
  int Draw();
  // Releases the sprite (the slot becomes -1).
  void Release();

  int32_t slot = -1;
  void* owner = nullptr;        // the owning form
  uint32_t blitMode = Opaque;
  uint8_t option = 0;           // set and read by the owner
  uint8_t visible = 0;
  uint32_t colourKey = 0;
  char name[64] = {};           // control name
  int32_t y = 0;
  int32_t x = 0;
  int32_t width = 0;            // the sprite's
  int32_t height = 0;
  char fileName[64] = {};
};

// ---------------------------------------------------------------------------------------
// Bitmap fonts. A glyph is advance-width x height bytes: 255 foreground, 2 outline (black),
// 0 background (written only when drawing opaque), anything else not written.

constexpr int kGlyphForeground = 255;
constexpr int kGlyphOutline = 2;
constexpr int kGlyphBackground = 0;
// DrawText works on at most this many characters of a text; the rest is not drawn.
constexpr int kMaxTextChars = 299;
// DrawTextBlock cuts each line to this many characters.
constexpr int kMaxBlockLineChars = 127;

class Font {
 public:
  Font() = default;
  explicit Font(void* owner) : owner(owner) {}
  ~Font();  // frees every glyph
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Reads a .fnt file by name from the data directory. 1 loaded, 0 failed ("No memory."
  // is logged when a glyph cannot be allocated; the caller logs which font failed).
  int LoadFont(const char* name);
  void SetTextColours(uint16_t fg, uint16_t bg);
  // Sum of the advances (7 for a code without a glyph); 0 for empty text.
  int32_t MeasureText(const char* text) const;
  // The height of 'A': the line height.
  int32_t FontHeight() const;
  // Draws text with its first glyph's top-left at (x, y) into any 16-bit target; a glyph
  // row that would leave the target is skipped whole. Returns the total advance.
  int32_t DrawText(int32_t x, int32_t y, const char* text, uint16_t* target,
                   int32_t targetWidth, int32_t targetHeight, uint8_t transparent);

  void* owner = nullptr;
  FILE* file = nullptr;           // only while loading
  int32_t count = 0;              // glyph records read
  uint8_t* glyphs[256] = {};      // null = no glyph
  uint8_t widths[256] = {};       // advance, also the glyph's row length
  uint8_t heights[256] = {};
  int8_t offsets[256] = {};       // rows below the pen's top
  int32_t sizes[256] = {};        // bytes of glyph data
  uint16_t foreground = 0xFFFF;
  uint16_t background = 0;
  uint16_t outline = 0;           // always black
};

// Draws text horizontally centred on the Graphics2D target at row y. Returns the advance.
int32_t DrawTextCentred(Graphics2D* g2d, int32_t y, const char* text, Font* font,
                        uint8_t transparent);
// Draws a message of lines separated by code 10, transparent, centred on the screen, lines
// 2 x FontHeight apart.
void DrawTextBlock(Graphics2D* g2d, const char* text, Font* font);

// ---------------------------------------------------------------------------------------
// Backgrounds: a 640 x 128 sky panorama (512 columns to a full turn, the last 128 repeating
// the first) of which 128 x 80 is stretched over the background area, or a plain fill.
// Works through Gfx2D.

constexpr int kPanoramaWidth = 640;
constexpr int kPanoramaHeight = 128;

class Background {
 public:
  Background() = default;
  Background(void* owner, const char* name, int32_t x, int32_t y, int32_t width,
             int32_t height) {
    Create(owner, name, x, y, width, height);
  }
  // The area (x, y, width, height) in physical pixels. Plain mode, heading and slot -1,
  // pitch 0, colour 0, visible.
  void Create(void* owner, const char* name, int32_t x, int32_t y, int32_t width,
              int32_t height);
  // Moves the area (physical pixels) and keeps the panorama, the fill and the angles.
  void SetArea(int32_t x, int32_t y, int32_t width, int32_t height);
  // Loads the panorama (shared). 1 when loaded, or at once for a plain background; 0 after
  // logging when the file fails to load or is not 640 x 128.
  int LoadBackground(const char* file);
  void SetFillColour(uint16_t colour);
  // Draws the sky window (or the plain fill) into the target. 1, or 0 when an image
  // background has no image; an invisible background draws nothing and returns 1.
  int DrawBackground(uint16_t* target);
  // The frame rectangle (columns left..right-1, rows top..bottom-1) that DrawBackground
  // overwrites whole, taking nothing from what was there; false when a draw would leave some
  // pixel of its area as it was (hidden, no image, or rows past the panorama skipped).
  bool Covers(int32_t* left, int32_t* top, int32_t* right, int32_t* bottom) const;
  // Releases the panorama's sprite.
  void Release();

  void* owner = nullptr;
  char name[64] = {};
  int32_t pitch = 0;        // camera pitch + 51000; 1792 per panorama row
  int32_t heading = 0;      // 524288 = one turn; 1024 per panorama column
  uint16_t* target = nullptr;
  uint8_t visible = 0;
  int32_t screenPixels = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t x = 0;
  int32_t y = 0;
  int32_t margin = 0;
  int32_t fillStart = 0;
  int32_t fillLength = 0;
  int32_t windowWidth = 0;   // 8.8 fixed point: 32768 = 128 columns
  int32_t windowHeight = 0;  // 20480 = 80 rows
  uint8_t loaded = 0;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  int32_t slot = -1;
  uint8_t plain = 0;
  uint16_t fillColour = 0;
  uint16_t fillColourCopy = 0;
};
