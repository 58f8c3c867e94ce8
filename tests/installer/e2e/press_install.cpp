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

// What is missing from the window, or null when the picture and every text are drawn.
const char* Problem(Display* d, Window w) {
  size_t colours, dark;
  Survey(d, w, kPicture1, &colours, &dark);
  if (colours < 50) return "Picture1 shows no artwork";
  Survey(d, w, kLabel1, &colours, &dark);
  if (dark < 20) return "Label1 shows no text";
  Survey(d, w, kText1, &colours, &dark);
  if (dark < 20) return "Text1 shows no licence";
  Survey(d, w, kLabelInfo, &colours, &dark);
  if (dark < 20) return "LabelInfo shows no text";
  // Past "Installation of " the package's description follows.
  const Form1Rect description = {kLabelInfo.x + 150, kLabelInfo.y, 110, kLabelInfo.h};
  Survey(d, w, description, &colours, &dark);
  if (dark < 20) return "LabelInfo shows no description";
  Survey(d, w, kCommand1, &colours, &dark);
  if (dark < 20) return "Command1 shows no caption";
  return nullptr;
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
  // The window draws itself shortly after it maps; give a busy machine ten seconds.
  const char* problem = nullptr;
  for (int i = 0; i < 200; ++i) {
    problem = Problem(d, w);
    if (!problem) break;
    usleep(50000);
  }
  if (problem) {
    fprintf(stderr, "press_install: %s\n", problem);
    return 1;
  }

  int x = kCommand1.x + kCommand1.w / 2, y = kCommand1.y + kCommand1.h / 2;
  SendButton(d, w, ButtonPress, x, y);
  usleep(100000);
  SendButton(d, w, ButtonRelease, x, y);
  XCloseDisplay(d);
  return 0;
}
