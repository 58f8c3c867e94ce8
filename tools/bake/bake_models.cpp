// The player's walking combat craft "player1.tdo" with its walk and explosion key frames.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "bake.h"
#include "model_builder.h"
#include "texture_names.h"

namespace {

// Where the feet are in one key frame of the walk.
struct WalkPose {
  double leftFootZ = 4, leftLift = 0;
  double rightFootZ = 4, rightLift = 0;
  double bodyDrop = 0;   // the body sinks onto the planted leg
  double bodyRoll = 0;   // and leans over it (degrees, positive leans right)
};

constexpr double kHipY = 132;
constexpr double kHipX = 44;
constexpr double kThigh = 62;
constexpr double kShin = 66;
constexpr double kAnkleY = 17;

Skin S(int texture, double texelsPerUnit = 0, bool glow = false) {
  Skin s;
  s.texture = texture;
  s.texelsPerUnit = texelsPerUnit;
  s.glow = glow;
  return s;
}

// Knee of a two-bone leg from hip to ankle in the leg's (z, y) plane, bending forward.
V3 Knee(V3 hip, V3 ankle) {
  double dz = ankle.z - hip.z, dy = hip.y - ankle.y;
  double d = std::min(std::sqrt(dz * dz + dy * dy), kThigh + kShin - 0.5);
  double base = std::atan2(dz, dy);  // angle of hip -> ankle from straight down
  double a = std::acos(std::clamp((kThigh * kThigh + d * d - kShin * kShin) / (2 * kThigh * d), -1.0, 1.0));
  double t = base + a;
  return V3{hip.x, hip.y - kThigh * std::cos(t), hip.z + kThigh * std::sin(t)};
}

void Leg(ModelBuilder& m, double side, double footZ, double lift, double hipY) {
  using namespace EntsTex;
  V3 hip{side * kHipX, hipY, 0};
  V3 ankle{side * kHipX, kAnkleY + lift, footZ};
  V3 knee = Knee(hip, ankle);
  V3 out{side, 0, 0};

  m.BeginPiece();  // hip joint and thigh
  m.Cylinder(hip - V3{side * 12, 0, 0}, hip + V3{side * 13, 0, 0}, 15, 6, S(kArmourDark));
  m.Beam(hip, knee, 22, 30, out, S(kArmourOlive, 0.9));
  m.EndPiece();

  m.BeginPiece();  // knee, shin and its piston
  m.Cylinder(knee - V3{side * 12, 0, 0}, knee + V3{side * 12, 0, 0}, 12, 6, S(kRubber));
  V3 shinDir = Normalised(ankle - knee);
  V3 plateOut = Normalised(Cross(shinDir, out) * side);  // the shin's front
  m.Beam(knee, ankle, 18, 22, out, S(kArmourDark, 0.9));
  // Knee guard: a plate over the front of the knee and the top of the shin.
  V3 guardTop = knee + plateOut * 14 + V3{0, 16, 0};
  V3 guardBottom = knee + plateOut * 13 + shinDir * 28;
  m.Panel((guardTop + guardBottom) * 0.5, V3{12, 0, 0}, (guardTop - guardBottom) * 0.5, plateOut,
          S(kArmourOlive));
  V3 pistonTop = knee - plateOut * 13 + shinDir * 6;
  V3 pistonBottom = ankle - plateOut * 12 + shinDir * -10;
  m.Cylinder(pistonTop, pistonBottom, 3.5, 6, S(kChrome), false);
  m.EndPiece();

  m.BeginPiece();  // ankle and foot
  m.Cylinder(ankle - V3{side * 10, 0, 0}, ankle + V3{side * 10, 0, 0}, 8, 6, S(kRubber), false);
  m.Wedge(V3{ankle.x, ankle.y - 8, ankle.z + 10}, V3{34, 16, 60}, 0.35, 0.55, S(kArmourDark));
  m.Wedge(V3{ankle.x, ankle.y - 8, ankle.z - 28}, V3{20, 14, 20}, 0.0, 0.0, S(kArmourOlive));
  m.EndPiece();
}

void Gun(ModelBuilder& m, double side) {
  using namespace EntsTex;
  const double x = side * 78, y = 182;
  m.BeginPiece();
  m.Cylinder(V3{side * 52, y + 2, 4}, V3{side * 66, y + 2, 4}, 11, 6, S(kArmourDark));
  m.Wedge(V3{x, y, 12}, V3{26, 30, 64}, 0.25, 0.35, S(kArmourOlive, 0.8));
  m.Panel(V3{x + side * 15, y - 2, 12}, V3{0, 0, 22}, V3{0, 10, 0}, V3{side, 0, 0}, S(kMarkings));
  m.EndPiece();
  m.BeginPiece();
  for (double dx : {-6.0, 6.0}) {
    m.Cylinder(V3{x + dx, y + 3, 40}, V3{x + dx, y + 3, 104}, 4.5, 6, S(kGunMetal), false);
    m.Cylinder(V3{x + dx, y + 3, 104}, V3{x + dx, y + 3, 112}, 5.5, 6, S(kGunMetal));
  }
  m.Box(V3{x, y + 3, 76}, V3{22, 7, 6}, S(kArmourDark));
  m.EndPiece();
}

void Body(ModelBuilder& m) {
  using namespace EntsTex;
  // Pelvis between the hips.
  m.Box(V3{0, 140, -2}, V3{66, 26, 46}, S(kArmourDark, 0.9));

  // Hull: a chunky block, broad at the shoulders, with a jutting chin.
  m.BeginPiece();
  V3 hull[8] = {{-44, 152, -44}, {44, 152, -44}, {44, 152, 38}, {-44, 152, 38},
                {-54, 214, -50}, {54, 214, -50}, {54, 214, 28}, {-54, 214, 28}};
  m.Block(hull, S(kArmourOlive, 0.7));
  // Chin under the canopy, sloping back to the pelvis.
  V3 chin[8] = {{-36, 156, 36}, {36, 156, 36}, {30, 170, 58}, {-30, 170, 58},
                {-46, 200, 28}, {46, 200, 28}, {40, 196, 58}, {-40, 196, 58}};
  m.Block(chin, S(kArmourOlive, 0.7));
  m.Panel(V3{0, 163, 50}, V3{26, 0, 0}, V3{0, 5, 3.5}, V3{0, -0.4, 1}, S(kHazard, 0.9));
  m.EndPiece();

  // Cockpit: glass canopy on the front of the roof with a frame bar across it.
  m.BeginPiece();
  V3 canopy[8] = {{-40, 196, 0}, {40, 196, 0}, {40, 196, 58}, {-40, 196, 58},
                  {-34, 236, -14}, {34, 236, -14}, {30, 226, 24}, {-30, 226, 24}};
  m.Block(canopy, S(kGlass));
  m.Beam(V3{0, 197, 59}, V3{0, 227, 25}, 8, 4, V3{1, 0, 0}, S(kArmourDark));
  m.Box(V3{0, 238, -24}, V3{72, 8, 36}, S(kArmourOlive));
  m.EndPiece();

  // Headlights either side of the chin.
  for (double side : {-1.0, 1.0})
    m.Panel(V3{side * 26, 184, 60}, V3{7, 0, 0}, V3{0, 4, 0}, V3{0, 0, 1}, S(kGlowCyan, 0, true));

  // Backpack with a vent between two glowing engine grilles, and two exhausts: the side
  // the player sees most.
  m.BeginPiece();
  m.Box(V3{0, 186, -64}, V3{84, 48, 28}, S(kArmourDark, 0.8));
  m.Panel(V3{0, 190, -80}, V3{16, 0, 0}, V3{0, 16, 0}, V3{0, 0, -1}, S(kVent));
  for (double side : {-1.0, 1.0})
    m.Panel(V3{side * 30, 190, -80}, V3{8, 0, 0}, V3{0, 12, 0}, V3{0, 0, -1}, S(kGlowOrange, 0, true));
  m.Panel(V3{0, 168, -80}, V3{36, 0, 0}, V3{0, 3.5, 0}, V3{0, 0, -1}, S(kHazard, 0.9));
  m.EndPiece();
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Cylinder(V3{side * 30, 206, -70}, V3{side * 30, 246, -80}, 7, 6, S(kGunMetal), false);
    m.Panel(V3{side * 30, 247, -80.5}, V3{6, 0, 0}, V3{0, 0.5, -5}, V3{0, 1, -0.25},
            S(kGlowOrange, 0, true));
    m.EndPiece();
  }

  // Rocket pod on the left shoulder, antenna on the right.
  m.BeginPiece();
  m.Box(V3{-40, 250, -14}, V3{36, 26, 46}, S(kArmourOlive));
  m.Panel(V3{-40, 250, 11}, V3{14, 0, 0}, V3{0, 10, 0}, V3{0, 0, 1}, S(kLights));
  m.Box(V3{-40, 238, -14}, V3{12, 8, 16}, S(kArmourDark));
  m.EndPiece();
  m.Prism(V3{44, 214, -40}, V3{48, 268, -46}, 2, 4, S(kGunMetal), false);
  m.Box(V3{48, 269, -46}, V3{5, 4, 5}, S(kGlowOrange, 0, true));
}

ModelBuilder PlayerCraft(const WalkPose& pose, bool charred) {
  ModelBuilder m;
  // Light from above, a little to the left and behind: the player mostly sees the craft's
  // back. The charred copy (the explosion's first frame) is lit more darkly.
  const V3 light{-0.5, 0.85, -0.2};
  m.SetLight(light, charred ? 9 : 15, charred ? 30 : 41);
  double hipY = kHipY - pose.bodyDrop;
  m.Push();
  // Lean the whole upper craft over the planted foot, pivoting at the hips.
  m.Translate(V3{0, hipY, 0});
  m.RotateZ(-pose.bodyRoll);
  m.Translate(V3{0, -kHipY, 0});
  Body(m);
  Gun(m, -1);
  Gun(m, 1);
  m.Pop();
  Leg(m, -1, pose.leftFootZ, pose.leftLift, hipY);
  Leg(m, 1, pose.rightFootZ, pose.rightLift, hipY);
  return m;
}

bool WriteFrames(const BakeContext& ctx) {
  WalkPose stand;
  WalkPose leftStep;  // left foot swinging forward, right foot pushing back
  leftStep.leftFootZ = 48, leftStep.leftLift = 12;
  leftStep.rightFootZ = -40, leftStep.rightLift = 0;
  leftStep.bodyDrop = 6, leftStep.bodyRoll = 2.5;
  WalkPose rightStep = leftStep;
  std::swap(rightStep.leftFootZ, rightStep.rightFootZ);
  std::swap(rightStep.leftLift, rightStep.rightLift);
  rightStep.bodyRoll = -leftStep.bodyRoll;

  ModelBuilder base = PlayerCraft(stand, false);
  ModelBuilder f2 = PlayerCraft(leftStep, false);
  ModelBuilder f4 = PlayerCraft(rightStep, false);
  ModelBuilder charred = PlayerCraft(stand, true);
  ModelBuilder burst = charred.Exploded(300, 0x5EED);
  if (!base.SameShape(f2) || !base.SameShape(f4) || !charred.SameShape(burst)) {
    fprintf(stderr, "bake: player1 key frames differ in shape\n");
    return false;
  }
  return base.Write(ctx, "player1.tdo") && base.Write(ctx, "player1_f1.tdo") &&
         f2.Write(ctx, "player1_f2.tdo") && f4.Write(ctx, "player1_f4.tdo") &&
         charred.Write(ctx, "player1_expl_f1.tdo") && burst.Write(ctx, "player1_expl_f2.tdo");
}

}  // namespace

bool BakeModels(const BakeContext& ctx) { return WriteFrames(ctx); }
