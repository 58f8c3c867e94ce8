// The game's only diagnostic channel: one line per failure in log.txt beside the program.
#pragma once

// Appends `text` and a newline to log.txt, flushing and closing at once. Always 0.
// A log that cannot be opened drops the message.
int LogMessage(const char* text);

// Deletes log.txt; called once at start, before anything is logged.
void DeleteLog();
