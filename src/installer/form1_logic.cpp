// Form1's behaviour without its widgets: the start-up caption and the button.
#include "installer/desktop.h"
#include "installer/form1.h"

std::string LabelInfoCaption() { return "Installation of " + ReadIni("App", "Description"); }

bool Command1Click() { return RunInstall(kInstallTail); }

std::string PlainLabelText(const std::string& text) {
  std::string out;
  for (char c : text) {
    out += c;
    if (c == '@') out += '@';
  }
  return out;
}
