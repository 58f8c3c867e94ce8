// The five enemies' models: the mega raptor with its walk key frames, the stego tank, the
// hover chasmo, the pterano flyer and the shooting tower, each with its two explosion frames.
//
// The raptor and the tank are drawn at their entity, which rides 100 above the ground, so
// their feet and tracks stand on y = -100; the tower is drawn 100 below its entity and
// stands on y = 0; the hover chasmo floats about 50 above its entity; the flyer is centred.
// Muzzles match where the game's shots leave: the raptor's plasma guns at (+-100, 45, 30),
// the tank's, the hover's and the tower's launchers 220 above their entity, the flyer's
// torpedo tubes at (+-25, 0, 30).
#include <cstdio>
#include <string>

#include "bake.h"
#include "model_builder.h"
#include "texture_names.h"

namespace {

using namespace EntsTex;

constexpr double kGround = -100;  // where an entity drawn at its own position stands

// One cross-section of a tapering body: centred on x = 0 at depth z.
struct Section {
  double z, halfWidth, bottom, top;
};

// A six-faced block from a back section to a front section.
void Slab(ModelBuilder& m, Section b, Section f, const Skin& skin) {
  V3 c[8] = {{-b.halfWidth, b.bottom, b.z}, {b.halfWidth, b.bottom, b.z},
             {f.halfWidth, f.bottom, f.z},  {-f.halfWidth, f.bottom, f.z},
             {-b.halfWidth, b.top, b.z},    {b.halfWidth, b.top, b.z},
             {f.halfWidth, f.top, f.z},     {-f.halfWidth, f.top, f.z}};
  m.Block(c, skin);
}

// A thin upright fin or plate standing on the line from `a` to `b` (its base), rising to a
// shorter top edge `height` above, leaning back by `lean`.
void Fin(ModelBuilder& m, V3 a, V3 b, double height, double lean, double thickness,
         const Skin& skin) {
  V3 along = b - a;
  V3 topA = a + along * 0.35 + V3{0, height, -lean};
  V3 topB = a + along * 0.6 + V3{0, height, -lean};
  double t = thickness / 2, tt = thickness / 5;
  V3 c[8] = {a - V3{t, 0, 0},    a + V3{t, 0, 0},    b + V3{t, 0, 0},    b - V3{t, 0, 0},
             topA - V3{tt, 0, 0}, topA + V3{tt, 0, 0}, topB + V3{tt, 0, 0}, topB - V3{tt, 0, 0}};
  m.Block(c, skin);
}

// Writes the model and its explosion: a charred copy (frame 1) and its pieces flown apart
// (frame 2). Both explosion frames share one shape, as the blend needs.
bool WriteWithExplosion(const BakeContext& ctx, const ModelBuilder& model,
                        const ModelBuilder& charred, const std::string& name,
                        const std::string& explosionStem, double spread, uint32_t seed) {
  ModelBuilder burst = charred.Exploded(spread, seed);
  if (!charred.SameShape(burst) || !model.SameShape(charred)) {
    fprintf(stderr, "bake: %s explosion frames differ in shape\n", name.c_str());
    return false;
  }
  return model.Write(ctx, name) && charred.Write(ctx, explosionStem + "_f1.tdo") &&
         burst.Write(ctx, explosionStem + "_f2.tdo");
}

// Light from above, a little to the left and behind, as on the player's craft; charred
// copies are lit more darkly.
void Light(ModelBuilder& m, bool charred) {
  m.SetLight(V3{-0.5, 0.85, -0.2}, charred ? 9 : 15, charred ? 30 : 41);
}

// ---------------------------------------------------------------------------------------
// Mega raptor: a robot dinosaur on two reverse-knee legs, plasma cannons on its flanks.

struct RaptorPose {
  double leftFootZ = 10, leftLift = 0;
  double rightFootZ = 10, rightLift = 0;
  double bodyDrop = 0;  // the body sinks onto the planted leg
  double tailSwing = 0; // degrees, positive swings the tail to the right
  double headBob = 0;   // head dips as a foot lands
};

constexpr double kRaptorHipY = 52;
constexpr double kRaptorHipX = 36;
constexpr double kRaptorThigh = 80;
constexpr double kRaptorShin = 86;
constexpr double kRaptorAnkleY = kGround + 20;

void RaptorLeg(ModelBuilder& m, double side, double footZ, double lift, double hipY) {
  V3 hip{side * kRaptorHipX, hipY, -6};
  V3 ankle{side * (kRaptorHipX + 6), kRaptorAnkleY + lift, footZ};
  // The knee bends backwards like a bird's.
  V3 knee = BendJoint(hip, ankle, kRaptorThigh, kRaptorShin, V3{0, 0, -1});
  V3 out{side, 0, 0};
  m.BeginPiece();
  m.Beam(hip, knee, 30, 40, out, {kScalesGreen, 0.6});
  m.Panel(hip + V3{side * 16, -8, -4}, V3{0, 0, 18}, V3{0, 16, 0}, out, {kArmourDark});
  m.EndPiece();
  m.BeginPiece();
  m.Beam(knee, ankle, 20, 24, out, {kArmourDark, 0.6});
  m.Cylinder(knee - V3{side * 13, 0, 0}, knee + V3{side * 13, 0, 0}, 11, 5, {kRubber});
  m.EndPiece();
  m.BeginPiece();
  // Three-toed foot: a wedge and a bone claw at its tip.
  m.Wedge(V3{ankle.x, kGround + 9 + lift, ankle.z + 26}, V3{38, 18, 70}, 0.3, 0.6,
          {kArmourDark});
  m.Wedge(V3{ankle.x, kGround + 5 + lift, ankle.z + 68}, V3{16, 10, 18}, 0.9, 0.9, {kBone});
  m.EndPiece();
}

void RaptorGun(ModelBuilder& m, double side) {
  const double x = side * 100, y = 45;
  m.BeginPiece();
  // Strut from the shoulder out to the cannon.
  m.Beam(V3{side * 30, 70, 48}, V3{x - side * 10, y + 4, 6}, 14, 16, V3{0, 1, 0}, {kGunMetal});
  m.Wedge(V3{x, y, -6}, V3{26, 28, 56}, 0.2, 0.3, {kArmourDark, 0.9});
  m.Cylinder(V3{x, y, 22}, V3{x, y, 52}, 7, 6, {kGunMetal}, false);
  m.Panel(V3{x, y, 52.5}, V3{6, 0, 0}, V3{0, 6, 0}, V3{0, 0, 1}, {kGlowCyan, 0, true});
  m.Panel(V3{x, y + 14.5, 0}, V3{8, 0, 0}, V3{0, 0, 18}, V3{0, 1, 0}, {kGlowCyan, 0, true});
  m.Panel(V3{x + side * 13.5, y, -6}, V3{0, 0, 18}, V3{0, 9, 0}, V3{side, 0, 0}, {kMarkings});
  m.EndPiece();
}

ModelBuilder MegaRaptor(const RaptorPose& pose, bool charred) {
  ModelBuilder m;
  Light(m, charred);
  double hipY = kRaptorHipY - pose.bodyDrop;
  m.Push();
  m.Translate(V3{0, -pose.bodyDrop, 0});

  // Torso leaning forward, heaviest at the chest.
  m.BeginPiece();
  Slab(m, {-70, 34, 22, 96}, {70, 42, 30, 140}, {kScalesGreen, 0.4});
  // Armoured back plate and belly.
  Slab(m, {-60, 30, 96, 112}, {50, 36, 126, 146}, {kArmourDark, 0.5});
  m.EndPiece();

  // Neck rising to the head.
  m.BeginPiece();
  Slab(m, {50, 30, 60, 132}, {118, 22, 118, 168}, {kScalesGreen, 0.7});
  m.EndPiece();

  // Head: skull, lower jaw hanging a little open, teeth, eyes and a red crest.
  m.Push();
  m.Translate(V3{0, -pose.headBob, 0});
  m.BeginPiece();
  Slab(m, {104, 30, 132, 188}, {220, 16, 140, 166}, {kScalesGreen, 0.45});
  Slab(m, {110, 24, 112, 134}, {206, 12, 116, 128}, {kArmourDark, 0.5});
  m.Panel(V3{0, 133, 212}, V3{13, 0, 0}, V3{0, 4, 0}, V3{0, 0, 1}, {kBone});
  for (double side : {-1.0, 1.0}) {
    m.Panel(V3{side * 27.5, 168, 150}, V3{0, 0, 10}, V3{0, 6, 0}, V3{side, 0.15, 0.2},
            {kEye, 0, true});
    m.Panel(V3{side * 21, 136, 176}, V3{0, 0, 28}, V3{0, 3, 0}, V3{side, 0, 0}, {kBone});
  }
  Fin(m, V3{0, 186, 110}, V3{0, 178, 170}, 30, 12, 8, {kArmourRed});
  m.EndPiece();
  m.Pop();

  // Bone spines along the back.
  for (int i = 0; i < 3; ++i) {
    double z = -50 + i * 40;
    m.BeginPiece();
    double rise = i * 8.0;
    Fin(m, V3{0, 108 + rise, z - 16}, V3{0, 112 + rise, z + 16}, 34 - rise / 2, 18, 8, {kBone});
    m.EndPiece();
  }

  // Tail in two tapering parts, swinging with the walk.
  m.Push();
  m.Translate(V3{0, 60, -66});
  m.RotateY(pose.tailSwing);
  m.BeginPiece();
  Slab(m, {-130, 18, -14, 26}, {0, 32, -34, 40}, {kScalesGreen, 0.4});
  m.EndPiece();
  m.Push();
  m.Translate(V3{0, 0, -128});
  m.RotateY(pose.tailSwing);
  m.BeginPiece();
  Slab(m, {-120, 3, -2, 6}, {0, 18, -14, 26}, {kArmourDark, 0.45});
  m.EndPiece();
  m.Pop();
  m.Pop();

  // Little arms under the chest, the plasma cannons on struts either side.
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Beam(V3{side * 30, 92, 62}, V3{side * 34, 64, 86}, 10, 10, V3{1, 0, 0}, {kScalesGreen});
    m.Wedge(V3{side * 34, 60, 94}, V3{10, 10, 16}, 0.8, 0.6, {kBone});
    m.EndPiece();
    RaptorGun(m, side);
  }
  m.Pop();

  RaptorLeg(m, -1, pose.leftFootZ, pose.leftLift, hipY);
  RaptorLeg(m, 1, pose.rightFootZ, pose.rightLift, hipY);
  return m;
}

bool WriteMegaRaptor(const BakeContext& ctx) {
  RaptorPose stand;
  RaptorPose leftStep;  // left foot reaching forward, right pushing back
  leftStep.leftFootZ = 70, leftStep.leftLift = 16;
  leftStep.rightFootZ = -52;
  leftStep.bodyDrop = 8, leftStep.tailSwing = 6, leftStep.headBob = 6;
  RaptorPose rightStep = leftStep;
  std::swap(rightStep.leftFootZ, rightStep.rightFootZ);
  std::swap(rightStep.leftLift, rightStep.rightLift);
  rightStep.tailSwing = -leftStep.tailSwing;

  ModelBuilder base = MegaRaptor(stand, false);
  ModelBuilder f2 = MegaRaptor(leftStep, false);
  ModelBuilder f4 = MegaRaptor(rightStep, false);
  if (!base.SameShape(f2) || !base.SameShape(f4)) {
    fprintf(stderr, "bake: megaraptor key frames differ in shape\n");
    return false;
  }
  return WriteWithExplosion(ctx, base, MegaRaptor(stand, true), "megaraptor.tdo", "mrpt_expl",
                            320, 0x6A97) &&
         base.Write(ctx, "megaraptor_f1.tdo") && f2.Write(ctx, "megaraptor_f2.tdo") &&
         f4.Write(ctx, "megaraptor_f4.tdo");
}

// ---------------------------------------------------------------------------------------
// Stego tank: a tracked tank with a dinosaur's back plates and spiked tail, a rocket pod on
// a mast. The game turns it by its heading plus half a turn, so it is built facing -z.

ModelBuilder StegoTank(bool charred) {
  ModelBuilder m;
  Light(m, charred);
  m.Push();
  m.RotateY(180);

  // Tracks with sloping ends, a skirt over each.
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    double x = side * 92;
    V3 track[8] = {{x - 26, kGround, -150}, {x + 26, kGround, -150}, {x + 26, kGround, 150},
                   {x - 26, kGround, 150},  {x - 26, -30, -186},     {x + 26, -30, -186},
                   {x + 26, -30, 190},      {x - 26, -30, 190}};
    m.Block(track, {kTread, 0.15});
    m.Panel(V3{x + side * 27, -50, 0}, V3{0, 0, 150}, V3{0, 20, 0}, V3{side, 0, 0},
            {kArmourOrange, 0.2});
    m.Cylinder(V3{x + side * 28, -78, 150}, V3{x + side * 34, -78, 150}, 16, 6, {kRubber});
    m.Cylinder(V3{x + side * 28, -78, -146}, V3{x + side * 34, -78, -146}, 16, 6, {kRubber});
    m.EndPiece();
  }

  // Hull, with a sloping glacis and a low armoured head at the front.
  m.BeginPiece();
  Slab(m, {-170, 70, -60, 40}, {-25, 73, -60, 43}, {kArmourOrange, 0.4});
  Slab(m, {-25, 73, -60, 43}, {120, 76, -60, 46}, {kArmourOrange, 0.4});
  Slab(m, {120, 76, -60, 46}, {176, 54, -52, 4}, {kArmourDark, 0.4});
  m.Panel(V3{0, -30, 190}, V3{44, 0, 0}, V3{0, 8, 0}, V3{0, -0.2, 1}, {kHazard, 0.9});
  m.EndPiece();
  m.BeginPiece();
  Slab(m, {160, 30, -52, 4}, {250, 18, -48, -10}, {kScalesBrown, 0.6});
  for (double side : {-1.0, 1.0})
    m.Panel(V3{side * 24.5, -14, 196}, V3{0, 0, 10}, V3{0, 6, 0}, V3{side, 0.2, 0.3},
            {kEye, 0, true});
  m.EndPiece();

  // Back plates in two staggered rows.
  for (int i = 0; i < 6; ++i) {
    double side = (i % 2) ? 1 : -1;
    double z = -130 + i * 44;
    double h = 70 + (i == 2 || i == 3 ? 24 : 0) - (i == 5 ? 20 : 0);
    m.BeginPiece();
    m.Push();
    m.Translate(V3{side * 22, 40, z});
    m.RotateZ(-side * 12);
    Fin(m, V3{0, 0, -34}, V3{0, 0, 34}, h, 14, 12, {kArmourRed, 0.6});
    m.Pop();
    m.EndPiece();
  }

  // Rocket pod on a mast, its tubes 220 above the entity.
  m.BeginPiece();
  Slab(m, {-20, 34, 40, 60}, {90, 40, 40, 70}, {kArmourDark, 0.5});
  m.Prism(V3{0, 60, 34}, V3{0, 196, 24}, 22, 4, {kGunMetal, 0.35}, false);
  m.Box(V3{0, 206, 20}, V3{70, 24, 70}, {kArmourDark, 0.6});
  for (double side : {-1.0, 1.0}) {
    m.Cylinder(V3{side * 20, 226, -40}, V3{side * 20, 226, 80}, 18, 6, {kArmourOrange, 0.3});
    m.Panel(V3{side * 20, 226, 80.5}, V3{12, 0, 0}, V3{0, 12, 0}, V3{0, 0, 1},
            {kGlowOrange, 0, true});
  }
  m.EndPiece();

  // Tail with two pairs of spikes.
  m.BeginPiece();
  Slab(m, {-300, 8, -22, -6}, {-160, 40, -40, 30}, {kScalesBrown, 0.4});
  for (double side : {-1.0, 1.0}) {
    m.Prism(V3{side * 14, -10, -250}, V3{side * 70, 30, -262}, 7, 3, {kBone});
    m.Prism(V3{side * 10, -14, -286}, V3{side * 56, 16, -316}, 6, 3, {kBone});
  }
  m.EndPiece();
  m.Pop();
  return m;
}

bool WriteStegoTank(const BakeContext& ctx) {
  return WriteWithExplosion(ctx, StegoTank(false), StegoTank(true), "stegotank.tdo",
                            "stgt_expl", 340, 0x57E6);
}

// ---------------------------------------------------------------------------------------
// Hover chasmo: an armoured hover sled with a gaping maw at the front, engines either
// side and a rocket pod on a turret.

ModelBuilder HoverChasmo(bool charred) {
  ModelBuilder m;
  Light(m, charred);

  // Body: wide and flat, narrowing to the maw.
  m.BeginPiece();
  Slab(m, {-150, 96, -40, 30}, {60, 120, -50, 48}, {kArmourBlue, 0.25});
  Slab(m, {-170, 70, -20, 24}, {-150, 96, -40, 30}, {kArmourDark, 0.3});
  m.EndPiece();

  // The maw: an upper jaw over a glowing throat and a lower jaw.
  m.BeginPiece();
  Slab(m, {60, 110, 2, 48}, {170, 70, 14, 30}, {kArmourBlue, 0.28});
  Slab(m, {60, 110, -50, -10}, {160, 66, -40, -22}, {kArmourDark, 0.28});
  m.Panel(V3{0, -4, 120}, V3{70, 0, 0}, V3{0, 14, 0}, V3{0, 0, 1}, {kGlowOrange, 0, true});
  m.Panel(V3{0, 6, 165}, V3{60, 0, 0}, V3{0, 6, 0}, V3{0, -0.6, 1}, {kBone});
  m.Panel(V3{0, -20, 156}, V3{56, 0, 0}, V3{0, 4, 0}, V3{0, 0.6, 1}, {kBone});
  for (double side : {-1.0, 1.0})
    m.Panel(V3{side * 52, 36, 148}, V3{12, 0, 0}, V3{0, 6, 0}, V3{side * 0.2, 0.6, 1},
            {kEye, 0, true});
  m.EndPiece();

  // Engines either side, glowing at the back and underneath.
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Cylinder(V3{side * 146, -6, -140}, V3{side * 146, -6, 90}, 34, 6, {kArmourDark}, true);
    m.Panel(V3{side * 146, -6, -141}, V3{22, 0, 0}, V3{0, 22, 0}, V3{0, 0, -1},
            {kGlowCyan, 0, true});
    m.Panel(V3{side * 146, -41, -20}, V3{18, 0, 0}, V3{0, 0, 80}, V3{0, -1, 0},
            {kGlowCyan, 0, true});
    m.Box(V3{side * 116, 10, -30}, V3{30, 20, 80}, {kArmourBlue, 0.6});
    m.EndPiece();
  }

  // Turret with the rocket pod, its tubes 170 above the model's origin.
  m.BeginPiece();
  m.Prism(V3{0, 40, -40}, V3{0, 130, -30}, 40, 6, {kArmourDark, 0.6}, false);
  m.Box(V3{0, 162, -10}, V3{74, 44, 100}, {kArmourBlue, 0.55});
  m.Panel(V3{0, 162, 40.5}, V3{30, 0, 0}, V3{0, 16, 0}, V3{0, 0, 1}, {kLights});
  m.Panel(V3{0, 184.5, -10}, V3{33, 0, 0}, V3{0, 0, 46}, V3{0, 1, 0}, {kHazard, 0.9});
  m.EndPiece();

  // Tail fins.
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Push();
    m.Translate(V3{side * 60, 28, -150});
    m.RotateZ(-side * 20);
    Fin(m, V3{0, 0, -20}, V3{0, 0, 60}, 70, 30, 10, {kArmourRed});
    m.Pop();
    m.EndPiece();
  }
  return m;
}

bool WriteHoverChasmo(const BakeContext& ctx) {
  return WriteWithExplosion(ctx, HoverChasmo(false), HoverChasmo(true), "hoverchasmo.tdo",
                            "hv_expl", 320, 0x40C4);
}

// ---------------------------------------------------------------------------------------
// Pterano flyer: a winged robot reptile with a long beak, a crest and two torpedo tubes
// under its chest.

ModelBuilder PteranoFlyer(bool charred) {
  ModelBuilder m;
  Light(m, charred);

  // Body and neck.
  m.BeginPiece();
  Slab(m, {-130, 10, -10, 14}, {-30, 36, -30, 30}, {kScalesBrown, 0.55});
  Slab(m, {-30, 36, -30, 30}, {90, 28, -24, 26}, {kArmourDark, 0.5});
  Slab(m, {90, 28, -24, 26}, {140, 18, -12, 26}, {kScalesBrown, 0.8});
  m.EndPiece();

  // Head: beak forward, crest back.
  m.BeginPiece();
  Slab(m, {130, 22, -14, 34}, {180, 20, -10, 36}, {kScalesBrown, 0.8});
  Slab(m, {180, 16, -8, 22}, {320, 2, 2, 6}, {kBone});
  Fin(m, V3{0, 34, 180}, V3{0, 36, 130}, 18, -90, 6, {kArmourRed});
  for (double side : {-1.0, 1.0})
    m.Panel(V3{side * 21, 20, 160}, V3{0, 0, 9}, V3{0, 6, 0}, V3{side, 0.1, 0.1},
            {kEye, 0, true});
  m.EndPiece();

  // Wings: an inner and an outer panel each side, membrane above and below, with a spar
  // along the leading edge.
  for (double side : {-1.0, 1.0}) {
    auto wingPiece = [&](V3 rootFront, V3 rootBack, V3 tipFront, V3 tipBack) {
      m.BeginPiece();
      for (double up : {1.0, -1.0}) {
        V3 lift{0, up * 2, 0};
        m.Face({m.Vertex(rootFront + lift, V3{0, up, 0}), m.Vertex(tipFront + lift, V3{0, up, 0}),
                m.Vertex(tipBack + lift, V3{0, up, 0}), m.Vertex(rootBack + lift, V3{0, up, 0})},
               {0, 0, 63.9, 0, 63.9, 63.9, 0, 63.9}, {kMembrane}, V3{0, up, 0});
      }
      m.Beam(rootFront, tipFront, 10, 12, V3{0, 1, 0}, {kBone});
      m.EndPiece();
    };
    V3 rootFront{side * 30, 10, 70}, rootBack{side * 30, 4, -60};
    V3 elbowFront{side * 190, 28, 40}, elbowBack{side * 170, 20, -80};
    V3 tip{side * 380, 40, -40}, tipBack{side * 360, 36, -70};
    wingPiece(rootFront, rootBack, elbowFront, elbowBack);
    wingPiece(elbowFront, elbowBack, tip, tipBack);
  }

  // Torpedo tubes under the chest and the tail fin.
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Cylinder(V3{side * 25, -4, -30}, V3{side * 25, -4, 34}, 9, 6, {kGunMetal}, true);
    m.Panel(V3{side * 25, -4, 34.5}, V3{5, 0, 0}, V3{0, 5, 0}, V3{0, 0, 1},
            {kGlowOrange, 0, true});
    m.EndPiece();
  }
  m.BeginPiece();
  Fin(m, V3{0, 10, -200}, V3{0, 10, -110}, 46, 30, 6, {kArmourRed});
  m.Panel(V3{0, 2, -160}, V3{46, 0, 0}, V3{0, 0, 30}, V3{0, 1, 0}, {kMembrane});
  m.Panel(V3{0, 0, -160}, V3{46, 0, 0}, V3{0, 0, 30}, V3{0, -1, 0}, {kMembrane});
  m.EndPiece();
  return m;
}

bool WritePteranoFlyer(const BakeContext& ctx) {
  return WriteWithExplosion(ctx, PteranoFlyer(false), PteranoFlyer(true), "pteranoflyer.tdo",
                            "ptr_expl", 380, 0x97E2);
}

// ---------------------------------------------------------------------------------------
// Shooting tower: a turret on a column on a concrete footing; its gun 320 above the ground.

ModelBuilder ShootingTower(bool charred) {
  ModelBuilder m;
  Light(m, charred);

  m.BeginPiece();
  Slab(m, {-110, 110, 0, 30}, {110, 110, 0, 30}, {kConcrete, 0.28});
  Slab(m, {-80, 80, 30, 50}, {80, 80, 30, 50}, {kHazard, 0.38});
  m.EndPiece();
  m.BeginPiece();
  m.Prism(V3{0, 50, 0}, V3{0, 270, 0}, 46, 6, {kArmourDark, 0.28}, false);
  m.Prism(V3{0, 150, 0}, V3{0, 176, 0}, 54, 6, {kRust}, false);
  m.EndPiece();

  // Turret head: a box with a sloping front, a red eye, the twin gun and an aerial.
  m.BeginPiece();
  m.Wedge(V3{0, 310, -12}, V3{110, 84, 120}, 0.25, 0.3, {kArmourRed, 0.5});
  m.Panel(V3{0, 338, 30}, V3{30, 0, 0}, V3{0, 5, 3}, V3{0, 0.5, 1}, {kEye, 0, true});
  m.Panel(V3{55.5, 300, -12}, V3{0, 0, 50}, V3{0, 14, 0}, V3{1, 0, 0}, {kLights});
  m.Panel(V3{-55.5, 300, -12}, V3{0, 0, 50}, V3{0, 14, 0}, V3{-1, 0, 0}, {kMarkings});
  m.EndPiece();
  m.BeginPiece();
  m.Box(V3{0, 316, 58}, V3{48, 26, 24}, {kGunMetal});
  for (double side : {-1.0, 1.0})
    m.Cylinder(V3{side * 12, 318, 70}, V3{side * 12, 318, 150}, 6, 6, {kGunMetal}, true);
  m.EndPiece();
  m.Prism(V3{-36, 352, -50}, V3{-36, 430, -54}, 2.5, 3, {kGunMetal}, false);
  m.Box(V3{-36, 432, -54}, V3{7, 6, 7}, {kGlowOrange, 0, true});
  return m;
}

bool WriteShootingTower(const BakeContext& ctx) {
  return WriteWithExplosion(ctx, ShootingTower(false), ShootingTower(true),
                            "shootingtower.tdo", "stt_expl", 300, 0x5777);
}

}  // namespace

bool BakeEnemyModels(const BakeContext& ctx) {
  return WriteMegaRaptor(ctx) && WriteStegoTank(ctx) && WriteHoverChasmo(ctx) &&
         WritePteranoFlyer(ctx) && WriteShootingTower(ctx);
}
