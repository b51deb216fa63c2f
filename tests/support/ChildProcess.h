#pragma once

// Checks that need a process of their own: one that runs as an unprivileged user (root reads every
// file, so a permission case checks nothing as root, and CI runs as root), or one whose view of the
// system differs (a log socket of its own).
#include <QString>
#include <functional>

// Runs `prepare`, then `check`, in a forked child, which prints the first fault either returns and
// ends without running the test program's exit. True when neither returned one.
bool passesInChildProcess(const std::function<QString()>& prepare, const std::function<QString()>& check);

// Runs `check` in a child as the user nobody where the tests run as root, else as the user running
// them, and prints which user that was.
bool passesAsUnprivilegedUser(const std::function<QString()>& check);
