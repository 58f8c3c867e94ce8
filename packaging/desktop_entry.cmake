# Installs the desktop entry once the prefix is known (`cmake --install --prefix` chooses it
# after the build): the menu starts the game by its name where the system's PATH holds the
# games folder (/usr/games, /usr/local/games), and by its full path anywhere else, such as
# ~/.local/games, which no session's PATH holds.
# Set before it runs: KVR_DESKTOP_SOURCE (the entry), KVR_DESKTOP_WORK (a folder of the build),
# KVR_GAMES_DIR and KVR_APPS_DIR (the programs' and the entries' folders in the prefix).
set(games "${CMAKE_INSTALL_PREFIX}/${KVR_GAMES_DIR}")
string(REGEX REPLACE "/+$" "" games "${games}")
if(games MATCHES "^/usr(/local)?/games$")
  set(program kvr-game)
else()
  set(program "${games}/kvr-game")
  # An argument with a reserved character is quoted, and inside the quotes a backslash,
  # quote, dollar or backquote takes a backslash; the entry's own string escape then doubles
  # every backslash. A percent sign is doubled in any case.
  if(program MATCHES "[] \t\"'\\\\><~|&;$*?#()`[]")
    string(REPLACE "\\" "\\\\" program "${program}")
    string(REPLACE "\"" "\\\"" program "${program}")
    string(REPLACE "`" "\\`" program "${program}")
    string(REPLACE "$" "\\$" program "${program}")
    string(REPLACE "\\" "\\\\" program "\"${program}\"")
  endif()
  string(REPLACE "%" "%%" program "${program}")
endif()
file(READ "${KVR_DESKTOP_SOURCE}" entry)
string(FIND "${entry}" "\nExec=kvr-game\n" at)
if(at EQUAL -1)
  message(FATAL_ERROR "${KVR_DESKTOP_SOURCE} has no line Exec=kvr-game to complete")
endif()
string(REPLACE "\nExec=kvr-game\n" "\nExec=${program}\n" entry "${entry}")
file(WRITE "${KVR_DESKTOP_WORK}/kvr-game.desktop" "${entry}")
file(INSTALL DESTINATION "${CMAKE_INSTALL_PREFIX}/${KVR_APPS_DIR}" TYPE FILE
  FILES "${KVR_DESKTOP_WORK}/kvr-game.desktop")
