# The one line play.sh and test.sh end with: what they installed and how long they took.
# Sourced, not run.
# shellcheck shell=bash

# seconds_text 134 -> "2 min 14 s"
seconds_text() {
  if [ "$1" -ge 60 ]; then echo "$(($1 / 60)) min $(($1 % 60)) s"; else echo "$1 s"; fi
}

# installed_text [PACKAGE...] -> "installed nothing" or "installed a b (with what they need)"
installed_text() {
  if [ $# -eq 0 ]; then echo "installed nothing"; else echo "installed $* (with what they need)"; fi
}
