// Whether the window's frame can go through a graphics card: is there one, and is the GL it
// gives drawn on it or in software.
#pragma once

// True when the machine shows a graphics card's device (a DRM node, or NVIDIA's own driver):
// without one any GL is drawn in software, and asking for it costs time for nothing.
bool GraphicsCardPresent();

// True for the GL_RENDERER names of GL drawn by the processor (Mesa's llvmpipe, softpipe and
// swrast, or a stack layered on one of them, and Windows' basic render driver under WSL): such
// GL scales and sends the whole window every frame, dearer than the window's own pixels.
// An empty or missing name counts as software too: nothing says there is a card.
bool DrawnInSoftware(const char* glRenderer);
