// The message box: the window shows it; without a window the text goes to standard error.
#include <cstdio>

#include "installer/desktop.h"

namespace {

void PrintMessage(const std::string& text) { fprintf(stderr, "setup: %s\n", text.c_str()); }

MessageBoxHandler handler = PrintMessage;

}  // namespace

MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler newHandler) {
  MessageBoxHandler old = handler;
  handler = newHandler ? newHandler : PrintMessage;
  return old;
}

void ShowMessageBox(const std::string& text) { handler(text); }
