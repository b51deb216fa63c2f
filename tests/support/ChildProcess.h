#pragma once

// Checks that need a process of their own: one that runs as an unprivileged user (root reads every
// file, so a permission case checks nothing as root, and CI runs as root), or one whose view of the
// system differs (a log socket of its own).
#include <QString>
#include <functional>

// Runs `prepare`, then `check`, in a forked child and returns the first fault either gives (empty:
// passed), or why the child gave no answer. The child ends without running the test program's exit.
QString inChildProcess(const std::function<QString()>& prepare, const std::function<QString()>& check);

// Runs `check` in a child as the user nobody where the tests run as root, else as the user running
// them, and prints which user that was.
QString asUnprivilegedUser(const std::function<QString()>& check);
