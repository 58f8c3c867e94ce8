// The things the craft touches: pickups, the barrier, the neural link, the mainframe and the
// escape ship, with their key frames, in the craft's style (olive and gunmetal armour,
// hazard stripes, self-lit glow panels).
#include <cmath>
#include <cstdio>

#include "bake.h"
#include "model_builder.h"
#include "texture_names.h"

namespace {

using namespace EntsTex;

Skin S(int texture, double texelsPerUnit = 0, bool glow = false) {
  Skin s;
  s.texture = texture;
  s.texelsPerUnit = texelsPerUnit;
  s.glow = glow;
  return s;
}
Skin Glow(int texture) { return S(texture, 0, true); }

// Every pickup is lit from above and in front (it spins, so no side is its back), and built
// half again as large as it is modelled, so that it stands out on the ground at a distance.
void PickupLight(ModelBuilder& m) {
  m.SetLight(V3{-0.3, 0.9, 0.4}, 16, 42);
  m.ScaleBy(V3{1.5, 1.5, 1.5});
}

// A power cell: a canister with a glowing band and dark end caps.
ModelBuilder EnergyPack() {
  ModelBuilder m;
  PickupLight(m);
  m.Cylinder(V3{0, -34, 0}, V3{0, 34, 0}, 22, 6, S(kEnergyCell));
  m.Cylinder(V3{0, -44, 0}, V3{0, -34, 0}, 26, 6, S(kArmourDark));
  m.Cylinder(V3{0, 34, 0}, V3{0, 44, 0}, 26, 6, S(kArmourDark));
  m.Cylinder(V3{0, 44, 0}, V3{0, 52, 0}, 9, 6, S(kChrome));  // the terminal
  for (double a : {0.0, 120.0, 240.0}) {
    double r = a * 3.14159265358979 / 180;
    V3 out{std::sin(r), 0, std::cos(r)};
    m.Panel(out * 21.5 + V3{0, 0, 0}, Cross(V3{0, 1, 0}, out) * 7, V3{0, 26, 0}, out,
            Glow(kGlowCyan));
  }
  return m;
}

// An ammunition crate with what it holds on its lid; the lid colour tells the three apart.
enum class Ammo { Gun, Plasma, Rocket };

ModelBuilder AmmoCrate(Ammo ammo) {
  ModelBuilder m;
  PickupLight(m);
  const int lid = ammo == Ammo::Gun ? kArmourOlive : ammo == Ammo::Plasma ? kArmourBlue : kArmourRed;
  m.Box(V3{0, -12, 0}, V3{80, 40, 54}, S(kCrate));
  m.Box(V3{0, 11, 0}, V3{84, 6, 58}, S(lid));
  m.Panel(V3{0, -12, 28}, V3{30, 0, 0}, V3{0, 6, 0}, V3{0, 0, 1}, S(kHazard, 0.9));
  m.Panel(V3{0, -12, -28}, V3{30, 0, 0}, V3{0, 6, 0}, V3{0, 0, -1}, S(kHazard, 0.9));
  switch (ammo) {
    case Ammo::Gun:  // a belt of brass rounds
      for (double x : {-24.0, -8.0, 8.0, 24.0}) {
        m.Cylinder(V3{x, 14, 0}, V3{x, 34, 0}, 5, 5, S(kChrome), false);
        m.Cone(V3{x, 34, 0}, V3{x, 42, 0}, 5, 1, 5, S(kArmourOrange), false);
      }
      break;
    case Ammo::Plasma:  // two charged cells
      for (double x : {-18.0, 18.0}) {
        m.Cylinder(V3{x, 14, 0}, V3{x, 40, 0}, 11, 6, Glow(kGlowCyan));
        m.Cylinder(V3{x, 40, 0}, V3{x, 44, 0}, 12, 6, S(kGunMetal));
      }
      break;
    case Ammo::Rocket:  // two rockets lying on the lid
      for (double x : {-18.0, 18.0}) {
        m.Cylinder(V3{x, 23, -30}, V3{x, 23, 18}, 8, 6, S(kArmourDark), false);
        m.Cone(V3{x, 23, 18}, V3{x, 23, 36}, 8, 1, 6, S(kArmourRed), false);
        m.Panel(V3{x, 23, -31}, V3{6, 0, 0}, V3{0, 6, 0}, V3{0, 0, -1}, Glow(kGlowOrange));
      }
      break;
  }
  return m;
}

// A key card (the ship keycard and the mainframe's code card look alike).
ModelBuilder KeyCard() {
  ModelBuilder m;
  PickupLight(m);
  m.Box(V3{0, 0, 0}, V3{64, 42, 5}, S(kHullWhite));
  for (double z : {3.0, -3.0}) {
    V3 f{0, 0, z > 0 ? 1.0 : -1.0};
    m.Panel(V3{0, 11, z}, V3{30, 0, 0}, V3{0, 5, 0}, f, S(kHazard, 0.9));
    m.Panel(V3{-14, -8, z}, V3{12, 0, 0}, V3{0, 8, 0}, f, Glow(kLights));
    m.Panel(V3{16, -8, z}, V3{12, 0, 0}, V3{0, 8, 0}, f, Glow(kGlowCyan));
  }
  return m;
}

// The X Bomb: an armoured sphere with a hazard band, fins and a red arming eye.
ModelBuilder XBomb() {
  ModelBuilder m;
  PickupLight(m);
  m.Sphere(V3{0, 0, 0}, 34, 5, 8, S(kArmourDark));
  m.Cylinder(V3{0, -6, 0}, V3{0, 6, 0}, 35, 8, S(kHazard, 0.9), false);
  m.Cylinder(V3{0, 30, 0}, V3{0, 42, 0}, 8, 6, S(kGunMetal));
  m.Box(V3{0, 44, 0}, V3{10, 4, 10}, Glow(kEye));
  for (double a : {45.0, 135.0, 225.0, 315.0}) {
    m.Push();
    m.RotateY(a);
    m.Box(V3{0, -30, 30}, V3{3, 22, 18}, S(kArmourOlive));
    m.Pop();
  }
  return m;
}

// The hyperload station: a pad with a charging column and coils, a console in front.
ModelBuilder HyperLoad() {
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, 0.35}, 14, 41);
  m.Prism(V3{0, 0, 0}, V3{0, 20, 0}, 120, 8, S(kConcrete, 0.5));
  m.Panel(V3{0, 20, 0}, V3{80, 0, 0}, V3{0, 0, 80}, V3{0, 1, 0}, S(kMarkings, 0.4));
  m.Cylinder(V3{0, 20, -30}, V3{0, 230, -30}, 18, 6, S(kGunMetal));
  for (double y : {70.0, 120.0, 170.0})
    m.Cylinder(V3{0, y, -30}, V3{0, y + 18, -30}, 34, 8, Glow(kGlowCyan));
  m.Cone(V3{0, 230, -30}, V3{0, 262, -30}, 26, 6, 6, S(kArmourDark));
  m.Box(V3{0, 266, -30}, V3{14, 8, 14}, Glow(kGlowOrange));
  // Console on the front edge, its screen towards the arriving craft.
  V3 desk[8] = {{-40, 20, 40}, {40, 20, 40}, {40, 20, 80}, {-40, 20, 80},
                {-40, 90, 44}, {40, 90, 44}, {40, 70, 80}, {-40, 70, 80}};
  m.Block(desk, S(kArmourOlive, 0.8));
  m.Panel(V3{0, 81, 62}, V3{30, 0, 0}, V3{0, 8.5, -17}, V3{0, 0.9, 0.45}, Glow(kLights));
  for (double x : {-100.0, 100.0}) m.Box(V3{x, 28, 0}, V3{16, 16, 16}, Glow(kGlowOrange));
  return m;
}

// The barrier: two posts with an energy curtain between them. Lowered, the curtain sinks
// into a glowing slot and the posts retract; both frames are built by the same calls.
ModelBuilder Barrier(double raised) {  // raised: 1 up, 0 down
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, 0.35}, 14, 41);
  const double half = 280, top = 40 + 300 * raised, postTop = 60 + 300 * raised;
  for (double side : {-1.0, 1.0}) {
    m.Box(V3{side * (half + 22), 20, 0}, V3{60, 40, 70}, S(kArmourDark, 0.8));
    m.Box(V3{side * (half + 22), 40 + (postTop - 40) / 2, 0}, V3{36, postTop - 40, 44},
          S(kHazard, 0.35));
    m.Box(V3{side * (half + 22), postTop + 5, 0}, V3{44, 10, 50}, Glow(kGlowOrange));
  }
  m.Box(V3{0, 10, 0}, V3{2 * half, 20, 24}, S(kArmourDark, 0.1));
  // The curtain: one face each way, so it shows from both sides.
  for (double f : {1.0, -1.0})
    m.Panel(V3{0, 20 + (top - 20) / 2, f * 2}, V3{half, 0, 0}, V3{0, (top - 20) / 2, 0},
            V3{0, 0, f}, Glow(kGlowCyan));
  return m;
}

// The neural link: a glowing organic core held in a claw of cables on a plinth.
ModelBuilder NeuralLink(bool charred) {
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, 0.35}, charred ? 8 : 14, charred ? 28 : 41);
  m.BeginPiece();
  m.Prism(V3{0, 0, 0}, V3{0, 50, 0}, 110, 6, S(charred ? kScorched : kArmourDark, 0.5));
  m.Prism(V3{0, 50, 0}, V3{0, 64, 0}, 90, 6, S(kMarkings, 0.6));
  m.EndPiece();
  m.BeginPiece();
  m.Sphere(V3{0, 170, 0}, 70, 5, 8, charred ? S(kScorched) : Glow(kNeural));
  m.EndPiece();
  for (double a : {0.0, 90.0, 180.0, 270.0}) {
    m.BeginPiece();
    m.Push();
    m.RotateY(a + 45);
    m.Beam(V3{0, 64, 80}, V3{0, 150, 86}, 14, 14, V3{1, 0, 0}, S(kRubber));
    m.Beam(V3{0, 150, 86}, V3{0, 230, 40}, 12, 12, V3{1, 0, 0}, S(kRubber));
    m.Box(V3{0, 64, 84}, V3{26, 18, 26}, S(kArmourOlive));
    m.Pop();
    m.EndPiece();
  }
  m.BeginPiece();
  m.Prism(V3{0, 240, 0}, V3{0, 300, 0}, 4, 4, S(kGunMetal), false);
  m.Box(V3{0, 302, 0}, V3{10, 8, 10}, charred ? S(kScorched) : Glow(kEye));
  m.EndPiece();
  return m;
}

// The mainframe: a bank of computer cabinets under a cable duct, fans on the ends.
ModelBuilder Mainframe(bool charred) {
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, 0.35}, charred ? 8 : 14, charred ? 28 : 41);
  m.BeginPiece();
  m.Box(V3{0, 10, 0}, V3{420, 20, 150}, S(kConcrete, 0.14));
  m.EndPiece();
  for (double x : {-140.0, 0.0, 140.0}) {
    m.BeginPiece();
    m.Box(V3{x, 140, 0}, V3{124, 240, 110}, S(charred ? kScorched : kArmourDark, 0.4));
    for (double f : {1.0, -1.0}) {
      m.Panel(V3{x, 160, f * 55}, V3{50, 0, 0}, V3{0, 90, 0}, V3{0, 0, f},
              charred ? S(kScorched) : Glow(kMainframe));
      m.Panel(V3{x, 50, f * 55}, V3{50, 0, 0}, V3{0, 12, 0}, V3{0, 0, f}, S(kVent));
    }
    m.EndPiece();
  }
  m.BeginPiece();
  m.Box(V3{0, 280, 0}, V3{440, 40, 70}, S(kMarkings, 0.14));
  m.Panel(V3{0, 280, 36}, V3{200, 0, 0}, V3{0, 6, 0}, V3{0, 0, 1}, S(kHazard, 0.25));
  m.EndPiece();
  for (double side : {-1.0, 1.0}) {
    m.BeginPiece();
    m.Cylinder(V3{side * 202, 160, 0}, V3{side * 226, 160, 0}, 42, 8, S(kGunMetal));
    m.Panel(V3{side * 227, 160, 0}, V3{0, 0, 30}, V3{0, 30, 0}, V3{side, 0, 0},
            charred ? S(kScorched) : Glow(kGlowOrange));
    m.EndPiece();
  }
  return m;
}

// The escape ship: a hull with a cargo bay open at the back, a ramp that swings up to close
// it (closed = 1), wings, engines and landing legs. The craft drives up the ramp along -z.
ModelBuilder Ship(double closed) {
  ModelBuilder m;
  m.SetLight(V3{-0.4, 0.85, 0.3}, 14, 42);
  const double floorY = 160, roofY = 470, rear = -840;
  // Lower hull under the bay and the nose.
  V3 belly[8] = {{-230, 100, rear}, {230, 100, rear}, {200, 100, 560}, {-200, 100, 560},
                 {-260, floorY, rear}, {260, floorY, rear}, {240, floorY, 640}, {-240, floorY, 640}};
  m.Block(belly, S(kHullWhite, 0.04));
  // Bay walls and roof (open at the back).
  for (double side : {-1.0, 1.0}) {
    V3 wall[8] = {{side * 260, floorY, rear}, {side * 210, floorY, rear},
                  {side * 210, floorY, 300}, {side * 260, floorY, 300},
                  {side * 240, roofY, rear + 40}, {side * 200, roofY, rear + 40},
                  {side * 200, roofY, 300}, {side * 240, roofY, 300}};
    m.Block(wall, S(kHullWindows, 0.05));
  }
  m.Box(V3{0, roofY + 20, -250}, V3{480, 40, 1100}, S(kHullWhite, 0.05));
  m.Panel(V3{0, roofY + 41, -250}, V3{60, 0, 0}, V3{0, 0, 500}, V3{0, 1, 0}, S(kMarkings, 0.05));
  // Bay floor and front wall, seen through the open ramp.
  m.Panel(V3{0, floorY + 1, -270}, V3{210, 0, 0}, V3{0, 0, 570}, V3{0, 1, 0}, S(kTread, 0.05));
  m.Panel(V3{0, (floorY + roofY) / 2, 299}, V3{210, 0, 0}, V3{0, (roofY - floorY) / 2, 0},
          V3{0, 0, -1}, S(kVent, 0.12));
  // The nose with the cockpit.
  V3 nose[8] = {{-240, floorY, 300}, {240, floorY, 300}, {240, floorY, 640}, {-240, floorY, 640},
                {-240, roofY + 40, 300}, {240, roofY + 40, 300}, {120, 300, 860}, {-120, 300, 860}};
  m.Block(nose, S(kHullWhite, 0.1));
  V3 glass[8] = {{-150, 380, 440}, {150, 380, 440}, {110, 300, 800}, {-110, 300, 800},
                 {-140, roofY + 44, 320}, {140, roofY + 44, 320}, {100, 330, 790}, {-100, 330, 790}};
  m.Block(glass, S(kGlass));
  m.Panel(V3{0, 230, 750}, V3{110, 0, 0}, V3{0, 20, 40}, V3{0, 0.3, 1}, S(kHazard, 0.25));
  // Wings with engines under them, and a tail fin.
  for (double side : {-1.0, 1.0}) {
    V3 wing[8] = {{side * 250, 280, -600}, {side * 660, 300, -640}, {side * 660, 300, -420},
                  {side * 250, 280, 100}, {side * 250, 320, -600}, {side * 660, 316, -640},
                  {side * 660, 316, -420}, {side * 250, 320, 100}};
    m.Block(wing, S(kHullWhite, 0.08));
    m.Panel(V3{side * 560, 317, -560}, V3{60, 0, 0}, V3{0, 0, 50}, V3{0, 1, 0}, S(kHazard, 0.4));
    m.Cylinder(V3{side * 420, 240, -720}, V3{side * 420, 240, -280}, 60, 8, S(kArmourDark, 0.25));
    m.Panel(V3{side * 420, 240, -721}, V3{44, 0, 0}, V3{0, 44, 0}, V3{0, 0, -1}, Glow(kGlowOrange));
    // Landing legs.
    m.Beam(V3{side * 220, 110, 400}, V3{side * 280, 0, 420}, 20, 20, V3{1, 0, 0}, S(kGunMetal));
    m.Beam(V3{side * 220, 110, -700}, V3{side * 280, 0, -720}, 20, 20, V3{1, 0, 0}, S(kGunMetal));
  }
  V3 fin[8] = {{-12, roofY + 40, -820}, {12, roofY + 40, -820}, {12, roofY + 40, -460},
               {-12, roofY + 40, -460}, {-10, 720, -880}, {10, 720, -880}, {10, 720, -760},
               {-10, 720, -760}};
  m.Block(fin, S(kHullWhite, 0.12));
  m.Panel(V3{0, roofY + 40, 20}, V3{24, 0, 0}, V3{0, 0, 24}, V3{0, 1, 0}, Glow(kLights));
  // The ramp: hinged at the back of the floor. Open it reaches the ground; closed it stands
  // up and shuts the bay.
  const double open = std::atan2(floorY, 300.0), angle = open + closed * (1.5707963 - open + 0.06);
  m.Push();
  m.Translate(V3{0, floorY, rear});
  m.RotateX(angle * 180 / 3.14159265358979);
  // In the hinge frame the ramp runs along -z from the hinge (rotated down by the angle).
  m.Box(V3{0, -6, -170}, V3{420, 12, 340}, S(kArmourDark, 0.12));
  m.Panel(V3{0, 1, -170}, V3{180, 0, 0}, V3{0, 0, 160}, V3{0, 1, 0}, S(kTread, 0.12));
  m.Panel(V3{0, -13, -170}, V3{200, 0, 0}, V3{0, 0, 160}, V3{0, -1, 0}, S(kHullWhite, 0.12));
  m.Pop();
  return m;
}

bool WriteFramePair(const BakeContext& ctx, const ModelBuilder& a, const char* nameA,
                    const ModelBuilder& b, const char* nameB) {
  if (!a.SameShape(b)) {
    fprintf(stderr, "bake: %s and %s differ in shape\n", nameA, nameB);
    return false;
  }
  return a.Write(ctx, nameA) && b.Write(ctx, nameB);
}

}  // namespace

bool BakePickupModels(const BakeContext& ctx) {
  bool ok = EnergyPack().Write(ctx, "energypack.tdo");
  ok = AmmoCrate(Ammo::Gun).Write(ctx, "ammo_mgun.tdo") && ok;
  ok = AmmoCrate(Ammo::Plasma).Write(ctx, "ammo_plasma.tdo") && ok;
  ok = AmmoCrate(Ammo::Rocket).Write(ctx, "ammo_rocket.tdo") && ok;
  ok = KeyCard().Write(ctx, "keycard.tdo") && ok;
  ok = XBomb().Write(ctx, "bomb.tdo") && ok;
  ok = HyperLoad().Write(ctx, "hyperload.tdo") && ok;
  ok = WriteFramePair(ctx, Barrier(1), "barrierup.tdo", Barrier(0), "barrierdown.tdo") && ok;
  ok = NeuralLink(false).Write(ctx, "neurallink.tdo") && ok;
  ModelBuilder linkCharred = NeuralLink(true);
  ok = WriteFramePair(ctx, linkCharred, "nl_expl_f1.tdo", linkCharred.Exploded(420, 0x11F0),
                      "nl_expl_f2.tdo") && ok;
  ok = Mainframe(false).Write(ctx, "mainframe.tdo") && ok;
  ModelBuilder frameCharred = Mainframe(true);
  ok = WriteFramePair(ctx, frameCharred, "mf_expl_f1.tdo", frameCharred.Exploded(600, 0x3AF0),
                      "mf_expl_f2.tdo") && ok;
  ok = WriteFramePair(ctx, Ship(0), "ship.tdo", Ship(1), "shipclosed.tdo") && ok;
  return ok;
}
