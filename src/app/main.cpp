// Entry of the program `game`: reads the desktop options and hands over to the shell.
#include "app/app.h"

int main(int argc, char** argv) { return RunGame(argc, argv); }
