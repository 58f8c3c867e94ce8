// Test helper: waits for setup's window on the X display, checks that it drew its picture
// and labels, and clicks Install the way a user would.
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <set>

#include "installer/form1.h"

namespace {

Window FindWindow(Display* d, Window w) {
  char* name = nullptr;
  if (XFetchName(d, w, &name) && name) {
    bool match = strcmp(name, kForm1Title) == 0;
    XFree(name);
    XWindowAttributes a;
    if (match && XGetWindowAttributes(d, w, &a) && a.map_state == IsViewable) return w;
  }
  Window root, parent, *children = nullptr;
  unsigned n = 0;
  Window found = 0;
  if (XQueryTree(d, w, &root, &parent, &children, &n)) {
    for (unsigned i = 0; i < n && !found; ++i) found = FindWindow(d, children[i]);
    if (children) XFree(children);
  }
  return found;
}

// Distinct colours and dark pixels inside a rectangle of the window.
void Survey(Display* d, Window w, const Form1Rect& r, size_t* colours, size_t* dark) {
  XImage* img = XGetImage(d, w, r.x, r.y, unsigned(r.w), unsigned(r.h), AllPlanes, ZPixmap);
  std::set<unsigned long> seen;
  *dark = 0;
  if (img) {
    for (int y = 0; y < r.h; ++y)
      for (int x = 0; x < r.w; ++x) {
        unsigned long p = XGetPixel(img, x, y);
        seen.insert(p);
        unsigned red = (p >> 16) & 255, green = (p >> 8) & 255, blue = p & 255;
        if (red + green + blue < 150) ++*dark;
      }
    XDestroyImage(img);
  }
  *colours = seen.size();
}

void SendButton(Display* d, Window w, int type, int x, int y) {
  XEvent e;
  memset(&e, 0, sizeof e);
  e.xbutton.type = type;
  e.xbutton.display = d;
  e.xbutton.window = w;
  e.xbutton.root = DefaultRootWindow(d);
  e.xbutton.subwindow = None;
  e.xbutton.time = CurrentTime;
  e.xbutton.x = x;
  e.xbutton.y = y;
  Window child;
  XTranslateCoordinates(d, w, e.xbutton.root, x, y, &e.xbutton.x_root, &e.xbutton.y_root, &child);
  e.xbutton.button = Button1;
  e.xbutton.state = type == ButtonRelease ? Button1Mask : 0;
  e.xbutton.same_screen = True;
  XSendEvent(d, w, True, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask, &e);
  XFlush(d);
}

}  // namespace

int main() {
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    fprintf(stderr, "press_install: no X display\n");
    return 2;
  }
  Window w = 0;
  for (int i = 0; i < 200 && !w; ++i) {
    w = FindWindow(d, DefaultRootWindow(d));
    if (!w) usleep(50000);
  }
  if (!w) {
    fprintf(stderr, "press_install: no window titled \"%s\"\n", kForm1Title);
    return 1;
  }
  usleep(500000);  // let the window draw itself once

  size_t colours, dark;
  Survey(d, w, kPicture1, &colours, &dark);
  if (colours < 50) {
    fprintf(stderr, "press_install: Picture1 shows no artwork (%zu colours)\n", colours);
    return 1;
  }
  for (const Form1Rect* r : {&kLabel1, &kLabelInfo, &kText1, &kCommand1}) {
    Survey(d, w, *r, &colours, &dark);
    if (dark < 20) {
      fprintf(stderr, "press_install: a control at %d,%d shows no text\n", r->x, r->y);
      return 1;
    }
  }

  int x = kCommand1.x + kCommand1.w / 2, y = kCommand1.y + kCommand1.h / 2;
  SendButton(d, w, ButtonPress, x, y);
  usleep(100000);
  SendButton(d, w, ButtonRelease, x, y);
  XCloseDisplay(d);
  return 0;
}
