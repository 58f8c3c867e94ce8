// The face of the 3D engine: objects and their store, key-frame sets, 3D sprites, and the
// Engine3D that culls, transforms, fogs, sorts, clips and rasterises them into a frame.
#pragma once

#include <cstdint>
#include <cstdio>

#include "core/fixed_math.h"

class Engine3D;
struct ByteReader;
struct Sprite3D;

// ---------------------------------------------------------------------------------------
// Fixed sizes of the renderer. Everything is allocated at creation; nothing while drawing.

constexpr int kMaxObjects = 140;         // slots of an ObjectStore
constexpr int kMaxObjectVertices = 1100; // per .tdo
constexpr int kMaxObjectPolygons = 500;  // per .tdo
constexpr int kMaxObjectNameChars = 19;  // longer names are cut (and logged)
constexpr int kVertSoupSize = 5000;      // vertices submitted per frame
constexpr int kPolySoupSize = 2800;      // polygons (and 3D sprites) per frame
constexpr int kMaxSprites3D = 200;
constexpr int kClipRingSize = 32;
constexpr int kDepthBuckets = 4000;      // one per world unit of depth
constexpr int32_t kCullDistance = 4400;  // objects farther from the eye are never drawn
constexpr int32_t kMinVisibility = 2000;
constexpr int32_t kMaxVisibility = 4000;
constexpr int32_t kFogDepth = 800;       // fog begins this far before the visibility
constexpr int kTexturesPerBank = 32;
constexpr int kTextureSide = 64;         // textures are 64 x 64 colour numbers
constexpr int kTextureBytes = kTextureSide * kTextureSide;
constexpr int kShadeRows = 64;           // rows of a colour look-up table, dark to bright
constexpr int kLutEntries = kShadeRows * 256;
constexpr int32_t kMaxShade = 16383;     // shade >> 8 picks the row: 0..63
constexpr int kBankMap = 0;              // the map's texture pack
constexpr int kBankEntities = 1;         // "ents.tex"

// Sizes of a texture pack file: 32 textures, the look-up table, a 768-byte palette.
constexpr long kTexPackTexturesBytes = kTexturesPerBank * kTextureBytes;  // 131072
constexpr long kTexPackLutBytes = kLutEntries * 2;                        // 32768
constexpr long kTexPackPaletteBytes = 768;
constexpr long kTexPackBytes = kTexPackTexturesBytes + kTexPackLutBytes + kTexPackPaletteBytes;

// ---------------------------------------------------------------------------------------
// Objects

// One vertex, in memory as in the file: object-space position and light level. shade >> 8
// is the look-up row (0 darkest, 63 brightest); loads keep it within 0..16383.
struct Vertex3D {
  int32_t x, y, z, shade;
};

// A triangle or quadrilateral. Built by the loader; the pipeline copies whole records into
// its poly soup, where corner indices point into the vert soup.
struct Poly3D {
  uint8_t cornerCount;   // 3 or 4
  int16_t corner[4];     // vertex indices; front faces run clockwise on the screen
  int16_t u[4];          // texture column per corner, 1/256 texel
  int16_t v[4];          // texture row per corner, 1/256 texel
  int32_t nx, ny, nz;    // face normal times 256 (truncated)
  uint8_t texture;       // 0..31 within the bank
  uint8_t bank;          // kBankMap or kBankEntities
  uint8_t type;          // 3, 4: outline drawn as green lines; else textured (1, 2: collision)
  Poly3D* next;          // depth-bucket chain (poly soup only)
  uint8_t doubleSided;   // 1: never dropped as a back face
  Sprite3D* sprite;      // set only in poly-soup records standing for a 3D sprite
  int32_t cx, cy, cz;    // average of the corners
  uint16_t radius;       // largest rounded distance from the centre to a corner
};

// One placed model in a store slot.
struct Object3D {
  char name[20];            // file it came from; empty for map objects
  int32_t x, y, z;          // world position of the origin
  int32_t tiltX, tiltY, tiltZ;  // axis for AxisMatrix, written by tilting entities
  int32_t angleX, angleY, angleZ;  // orientation of entity objects
  Vertex3D* vertices;       // owned unless clone
  Poly3D* polygons;         // owned unless clone
  Matrix3 matrix;           // last orientation used (entity objects)
  uint8_t presetMatrix;     // 1: use `matrix` as it is instead of building it from the angles
  int32_t vertexCount;
  int32_t polygonCount;
  uint8_t visible;          // written each frame: 1 if it passed the culling tests
  uint8_t ownsArrays;
  uint8_t solid;            // map objects: set by the map loader; not used here
  uint8_t entity;           // 1: entity model (rotated, bank 1); 0: map geometry (bank 0)
  uint8_t hidden;           // 1: skipped by the pipeline
  uint8_t clone;            // 1: its arrays belong to the object it was copied from
  uint8_t named;            // 1: loaded by name
  int32_t userValue;        // the caller's value (entity models 2, map objects 0)
  int32_t radius;           // largest rounded distance of a vertex from the origin
};

// The 140 object slots of one engine. Slots fill in order and are only emptied together,
// when the engine is destroyed. Every operation returns the slot index or -1.
struct ObjectStore {
  // Reads NAME.tdo by name. Logs "Max tdobjects reached" when full and the cut name when it
  // is over 19 characters; a file that cannot be opened gives -1 silently (callers log).
  // With `reuse`, an object of the same name that was not loaded by name is cloned instead;
  // every named load sets that flag, so in practice the file is read again.
  int32_t Load(const char* name, uint8_t entity, int32_t userValue, uint8_t reuse);
  // Load with the reuse flag: what entity constructors call.
  int32_t LoadShared(const char* name, uint8_t entity, int32_t userValue);
  // Parses one object at the reader's position and moves it past the object (map files
  // embed them). On failure logs the reason, frees what it took and leaves the store
  // unchanged.
  int32_t LoadFromBytes(ByteReader* in, uint8_t entity, int32_t userValue);
  // A new slot with a copy of the record sharing the source's arrays.
  int32_t CloneObject(int32_t index);
  // The object in a slot, null when the index holds none.
  Object3D* Get(int32_t index) const;
  void SetPosition(int32_t index, int32_t x, int32_t y, int32_t z);
  void SetAngles(int32_t index, int32_t ax, int32_t ay, int32_t az);
  void AddAngles(int32_t index, int32_t dx, int32_t dy, int32_t dz);
  // Frees every object (shared arrays once, through their source); count becomes 0.
  void Release();

  Engine3D* engine = nullptr;  // whose soup fill levels limit loads
  Object3D* objects[kMaxObjects] = {};
  int32_t count = 0;
};

// Key-frame animation: blends the vertex positions of two frames into a base object.
// Frame 0 is the base itself, 1..5 the frames added in order. The frames are hidden store
// objects; the set owns nothing.
struct FrameSet {
  static constexpr int kMaxFrames = 5;

  void Create(int32_t owner, Engine3D* engine);
  void Destroy() {}
  int SetBase(Object3D* object);  // 1
  // Loads a frame (entity model, user value 2), hides it and appends it when its vertex and
  // polygon counts equal the base's. 1, or 0 after logging.
  int AddFrame(const char* name, uint8_t reuse);
  // Base = frame a + (frame b - frame a) * t / 256, t clamped to 0..256; nothing when t is
  // the value of the previous call (whatever the frames). Shades are never blended.
  void Blend(int32_t t, int32_t a, int32_t b);

  int32_t owner = 0;
  int32_t frameCount = 0;
  int32_t lastBlend = 0;
  Engine3D* engine = nullptr;
  Object3D* base = nullptr;
  Object3D* frames[kMaxFrames] = {};
};

// ---------------------------------------------------------------------------------------
// 3D sprites: camera-facing images scaled with depth.

struct Sprite3D {
  uint16_t halfWidth, halfHeight;  // world units: image size times the scale at creation
  int32_t x, y, z;                 // world position of the centre
  int32_t camX, camY, camZ;        // camera-space centre, computed every frame
  int32_t mode;                    // blit mode 0..3
  int32_t key;                     // transparent colour (low 16 bits)
  uint16_t* image;                 // a sprite block (width, height, pixels); animations swap it
  int32_t spriteIndex;             // sprite-table slot held, -1 once released
  uint8_t visible;                 // drawn only when not 0
  uint8_t ownsEntry;               // 1: the slot was loaded for this sprite
};

// A corner on its way through clipping and projection; lives in the engine's clip ring.
struct ClipVertex {
  int32_t x, y, z;      // camera space
  int32_t shade, u, v;
  int32_t d;            // signed distance to the plane being clipped against
  int32_t sx, sy;       // screen position, 24.8 pixels
};

// ---------------------------------------------------------------------------------------
// Engine3D: the renderer of one 3D view. Allocate it zero-filled (value-initialised), then
// Create; Destroy releases everything. Drawing calls do nothing until Create succeeded.

class Engine3D {
 public:
  Engine3D() { store.engine = this; }
  Engine3D(const Engine3D&) = delete;
  Engine3D& operator=(const Engine3D&) = delete;

  // Sets the viewport from the control's rectangle (layout = frame-buffer pixels; kept
  // within the frame buffer), visibility 4000, the identity camera, then loads "148" and
  // allocates the tables, textures and soups. 1, or 0 after logging.
  int Create(void* owner, const char* name, int32_t x, int32_t y, int32_t w, int32_t h);
  // Moves the view to another rectangle of the frame (cut to it); the projection follows it
  // from the next frame on. Used when a view grows to the whole screen.
  void SetViewport(int32_t x, int32_t y, int32_t w, int32_t h);
  // Clamps to 2000..4000; fog starts 800 before it.
  void SetVisibility(int32_t v);
  // Reads a texture pack into bank 0 (map) or 1 (entities). 1 when complete including its
  // palette; 0 after logging otherwise (textures and table already read stay).
  int LoadTexturePack(const char* name, int32_t bank);
  // Frees the objects, gives back the 3D sprites' sprite-table slots, frees the tables.
  void Destroy();

  // Draws the whole scene into `frameBuffer` (240 x 320, pitch FrameBufferWidth).
  void DrawFrame(uint16_t* frameBuffer);

  // Loads an image into the sprite table (messageVariant 1) as a new, invisible 3D sprite
  // of half size image size * scale. The sprite's index, or -1 ("Max sprites reached").
  int32_t AddSprite(const char* file, int32_t mode, int32_t key, double scale);
  // Sets the world position of sprite i; returns its record (null for a bad index).
  Sprite3D* SetSpritePosition(int32_t i, int32_t x, int32_t y, int32_t z);
  // Gives back the sprite-table slot sprite i loaded; the sprite draws nothing after.
  void ReleaseSprite3D(int32_t i);

  // --- State, written directly by the form, the map loader and the world ---
  uint8_t ready = 0;
  char name[64] = {};
  void* owner = nullptr;
  int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;  // viewport: columns x0..x1-1, rows y0..y1-1
  int32_t viewWidth = 0, viewHeight = 0;
  int32_t visibility = 0;
  int32_t fogStart = 0;
  uint8_t fogMode = 0;           // 0: fade to dark; 1: fade to bright
  Vec3 cameraPos = {};
  Vec3 cameraAngle = {};         // x pitch (positive looks down), y yaw, z roll
  Matrix3 cameraMatrix = {};     // base orientation; identity after Create
  Matrix3 viewMatrix = {};       // built by DrawFrame
  int32_t zoom = 0;              // field-of-view divisor, 0 = 256 (90 degrees vertically)
  uint16_t* frameBuffer = nullptr;

  ObjectStore store;
  Sprite3D sprites[kMaxSprites3D] = {};
  int32_t spriteCount = 0;

  // --- Per-frame pools (read by tests and tools; rewritten every frame) ---
  uint32_t clipCounter = 0;
  ClipVertex clipRing[kClipRingSize] = {};
  Poly3D* polySoup = nullptr;    // kPolySoupSize records
  Vertex3D* vertSoup = nullptr;  // kVertSoupSize vertices
  Poly3D* buckets[kDepthBuckets] = {};
  int32_t polygonsUsed = 0;
  int32_t verticesUsed = 0;
  // Records of the poly soup that may hold data; the next frame clears only these.
  int32_t polygonsDirty = 0;
  // Outline polygons the last frame drew: unlike everything else they are kept only inside
  // the frame's border, not the viewport.
  int32_t outlinesDrawn = 0;
  // Screen position (24.8) of each vert-soup vertex, projected once per frame for all the
  // polygons that share it (kVertSoupSize entries of x, y).
  int32_t* projected = nullptr;

  // --- Tables ---
  uint16_t* reciprocal = nullptr;             // 16384 entries of 65536 / n
  uint8_t* textures[2][kTexturesPerBank] = {};  // bank, texture: 64 x 64 colour numbers
  uint16_t* luts[2] = {};                     // bank: row * 256 + colour -> pixel
  uint8_t palette[768] = {};                  // of the last pack read; unused for drawing

  // 65536 / n through the reciprocal table, by division beyond it.
  int32_t Reciprocal(int32_t n) const {
    return uint32_t(n) < 16384u ? reciprocal[n] : (n > 0 ? 65536 / n : 0);
  }
  // The allocations behind `luts` (with guard rows of row 0 below and row 63 above, so
  // a shade that affine stepping pushes a little outside 0..16383 still reads a colour)
  // and behind `textures`.
  uint16_t* lutBlocks[2] = {};
  uint8_t* textureBlock = nullptr;
};
