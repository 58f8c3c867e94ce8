// Process start: the device manager runs on its own, setup neither waits for it nor keeps it.
#include <fcntl.h>
#include <linux/close_range.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "installer/desktop.h"

std::vector<std::string> SplitArguments(const std::string& tail) {
  std::vector<std::string> args;
  std::string arg;
  bool inArg = false;
  bool quoted = false;
  for (char c : tail) {
    if (c == '"') {
      quoted = !quoted;
      inArg = true;
    } else if ((c == ' ' || c == '\t') && !quoted) {
      if (inArg) args.push_back(arg);
      arg.clear();
      inArg = false;
    } else {
      arg += c;
      inArg = true;
    }
  }
  if (inArg) args.push_back(arg);
  return args;
}

bool StartProcess(const std::string& program, const std::string& commandLine,
                  const std::string& workDir, std::string* error) {
  if (program.empty() || commandLine.compare(0, program.size(), program) != 0) {
    *error = "the command line does not start with the program";
    return false;
  }
  // Everything the child needs is built before fork: after it only exec and _exit run.
  std::string exe = NativePath(program);
  std::vector<std::string> args = SplitArguments(commandLine.substr(program.size()));
  std::vector<char*> argv;
  argv.push_back(exe.data());
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);

  // The pipe closes on a successful exec; a failed one sends its errno through it.
  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) {
    *error = strerror(errno);
    return false;
  }
  pid_t child = fork();
  if (child < 0) {
    *error = strerror(errno);
    close(fds[0]);
    close(fds[1]);
    return false;
  }
  if (child == 0) {
    // Started twice over: the middle process ends at once and is reaped below, and the
    // device manager is handed to init, which reaps it whenever it ends.
    pid_t grandchild = fork();
    if (grandchild != 0) _exit(grandchild < 0 ? 1 : 0);
    setsid();
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    signal(SIGPIPE, SIG_DFL);
    signal(SIGCHLD, SIG_DFL);
    // Setup's own descriptors (the display connection, files) stay behind.
    close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    int err = 0;
    if (workDir.empty() || chdir(workDir.c_str()) == 0) execv(argv[0], argv.data());
    err = errno;
    ssize_t ignored = write(fds[1], &err, sizeof err);
    (void)ignored;
    _exit(127);
  }
  close(fds[1]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  int err = 0;
  ssize_t n;
  do {
    n = read(fds[0], &err, sizeof err);
  } while (n < 0 && errno == EINTR);
  close(fds[0]);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    *error = "cannot start a process";
    return false;
  }
  if (n == ssize_t(sizeof err)) {
    *error = strerror(err);
    return false;
  }
  return true;
}
