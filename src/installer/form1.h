// Form1, the installer's one window: its layout, and the entry that shows it.
#pragma once

#include <string>

// Control rectangles in window pixels: x, y, width, height.
struct Form1Rect {
  int x, y, w, h;
};
inline constexpr int kForm1Width = 620;
inline constexpr int kForm1Height = 420;
inline constexpr Form1Rect kPicture1 = {12, 12, 180, 330};
inline constexpr Form1Rect kLabel1 = {206, 12, 402, 40};
inline constexpr Form1Rect kText1 = {206, 56, 402, 286};
inline constexpr Form1Rect kLabelInfo = {12, 358, 460, 50};
inline constexpr Form1Rect kCommand1 = {496, 366, 112, 36};

inline constexpr const char* kForm1Title = "Vomtal Games Installer";
inline constexpr const char* kLabel1Text =
    "Please read carefully the license before you proceed with the installation.";
// Beside setup: the agreement shown in Text1 and the picture shown in Picture1.
inline constexpr const char* kLicenseFile = "license.txt";
inline constexpr const char* kArtworkFile = "setup.png";

// Text for a widget label that shows exactly `text`: the toolkit reads '@' as the start of
// a symbol, so each one is doubled.
std::string PlainLabelText(const std::string& text);

// Builds Form1, runs its start-up and the event loop until the window is closed.
int RunForm1();
