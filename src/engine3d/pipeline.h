// Inside the 3D engine: the steps of DrawFrame and the rasterisers, shared by its files
// (and its tests), never seen by the rest of the game.
#pragma once

#include <cstdint>

#include "engine3d/engine3d.h"

// The frame-buffer size the outline and sprite drawers have built in.
constexpr int32_t kFrameWidth = 240;
constexpr int32_t kFrameHeight = 320;

// Guard rows on either side of each look-up table (see Engine3D::lutBlocks).
constexpr int kLutGuardRows = 8;

// --- Scene pipeline, in the order DrawFrame runs it ---

// View matrix from the camera matrix and angles, then the projection scaling.
void BuildViewMatrix(Engine3D& e);
// Culls one object and appends its vertices and polygons to the soups.
void SubmitObject(Engine3D& e, Object3D* object);
// Camera space and distance fog for every vertex in the vert soup.
void TransformAndFog(Engine3D& e);
// Depth key of a polygon record (before the visibility test): -1 never occurs as a key of
// a drawn polygon, but any value may come back.
int32_t PolygonKey(const Engine3D& e, const Poly3D& p);
// Fills the depth buckets with the soup's polygons and the visible 3D sprites.
void Order(Engine3D& e);
// Draws the buckets far to near.
void DrawOrdered(Engine3D& e);

// --- Corners, clipping, sprites ---

// Screen positions and plane distances far outside the frame only ever belong to corners
// that are clipped away; keeping them within 2^30 keeps later arithmetic in range.
constexpr int64_t kClipLimit = (int64_t(1) << 30) - 1;
inline int32_t Clamp30(int64_t v) {
  return int32_t(v > kClipLimit ? kClipLimit : (v < -kClipLimit ? -kClipLimit : v));
}

// Screen position (24.8) of a camera-space point; (0, 0) for depths outside 1..16383.
// Inline: every vertex of the frame goes through it.
inline void ProjectPoint(const Engine3D& e, int32_t x, int32_t y, int32_t z, int32_t* sx,
                         int32_t* sy) {
  if (z < 1 || z >= 16384) {
    *sx = 0;
    *sy = 0;
    return;
  }
  int64_t q = e.reciprocal[z];
  *sx = Clamp30((int64_t((e.x0 + e.x1) >> 1) << 8) + ((int64_t(e.x1 - e.x0) * x * q) >> 9));
  *sy = Clamp30((int64_t((e.y0 + e.y1) >> 1) << 8) - ((int64_t(e.y1 - e.y0) * y * q) >> 9));
}
// The next slot of the clip ring.
ClipVertex* NextClipVertex(Engine3D& e);
// Clips corners (pointers into the clip ring) against the four side planes of the view
// pyramid. `out` must hold kMaxClipCorners. Returns the corners left (0 when none or when
// a degenerate polygon would need more than kMaxClipCorners).
constexpr int kMaxClipCorners = 16;
int ClipPolygon(Engine3D& e, ClipVertex** corners, int count, ClipVertex** out, bool textured);
// Where a soup polygon's n camera-space corners lie against the pyramid's sides, taken in the
// clipper's order (z + x, z - x, z + y, z - y). While every corner is inside a side the clipper
// keeps the corners as they are; at the first side some corner is outside of it drops those,
// so when that is all of them nothing is left to draw (kOutside). Only past that side does it
// make new corners, whose rounding no test here could foresee (kCrossing).
enum class Placement { kInside, kOutside, kCrossing };
Placement PlaceCorners(const Engine3D& e, const Poly3D& p, int n);
// Draws one 3D sprite record (camera centre already computed).
void DrawSprite3D(Engine3D& e, const Sprite3D& s);

// --- Rasterisers ---

// A projected corner handed to the textured filler.
struct RasterVertex {
  int32_t x, y;     // screen, 24.8
  int32_t shade;    // 8-fraction look-up row
  int32_t u, v;     // texture position in 1/256 texel
};

// Affine textured, Gouraud-shaded polygon (count 3..16) into the engine's viewport; only
// corners running clockwise on the screen produce spans. `lut` points at row 0.
void FillTexturedPolygon(const Engine3D& e, const RasterVertex* vertices, int count,
                         const uint8_t* texture, uint16_t* frame, const uint16_t* lut);
// One row of the textured filler: n pixels from (u, v, shade) stepping (du, dv, ds) per
// pixel; u and v in 1/256 texel, the shade row in 8-fraction units. `lut` points at row 0.
void TexturedSpan(uint16_t* dst, int32_t n, const uint8_t* texture, const uint16_t* lut,
                  int32_t u, int32_t v, int32_t shade, int32_t du, int32_t dv, int32_t ds);
// The same row pixel by pixel in 32-bit arithmetic: what TexturedSpan must match, and what
// it is where the compiler has no vector types.
void TexturedSpanScalar(uint16_t* dst, int32_t n, const uint8_t* texture, const uint16_t* lut,
                        int32_t u, int32_t v, int32_t shade, int32_t du, int32_t dv, int32_t ds);
// The count edges of the closed corner list as one-pixel lines, inside a 2-pixel border.
void DrawOutlinePolygon(const Engine3D& e, uint16_t* frame, ClipVertex* const* corners,
                        int count, uint16_t colour);
// Nearest-neighbour scaled blit of an image's source rectangle into the destination
// rectangle, clipped to the clip rectangle, with blit mode 0..3 (others draw nothing).
void BlitSprite(const Engine3D& e, uint16_t* frame, int32_t left, int32_t top, int32_t right,
                int32_t bottom, const uint16_t* image, int32_t srcLeft, int32_t srcTop,
                int32_t srcRight, int32_t srcBottom, int32_t clipX0, int32_t clipY0,
                int32_t clipX1, int32_t clipY1, int32_t mode, int32_t key);
// One row of a sprite blit: n pixels from src at u, stepping du (both 1/256 pixel), in blit
// mode 0..3 (others draw nothing).
void BlitSpriteRow(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                   int32_t mode, uint16_t key);
// The same row pixel by pixel: what BlitSpriteRow must match, and what it is where the
// compiler has no vector types.
void BlitSpriteRowScalar(uint16_t* dst, const uint16_t* src, int32_t u, int32_t du, int32_t n,
                         int32_t mode, uint16_t key);
