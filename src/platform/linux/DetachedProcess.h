#pragma once

#include <QByteArray>
#include <QByteArrayList>

#include <sys/types.h>

namespace skylane {

// Starts the file `program` as a process of its own: the exact bytes are the
// path given to exec and its argv[0], each of `arguments` one more argv
// entry as it stands; no shell, no search of PATH. The process runs in a new
// session with its standard streams on /dev/null, no other descriptor of the
// bar, no signal blocked or ignored, and the session's environment
// (sessionEnvironment), not the bar's. It is not a child of the bar (a
// short-lived intermediate process is reaped here), so nothing ever has to
// wait for it. Returns its process id, or -1 when it could not be started;
// then `error`, when given, gets the system's error number for why (EINVAL
// for a NUL inside the path or an argument).
pid_t spawnDetached(const QByteArray &program, const QByteArrayList &arguments = {}, int *error = nullptr);

// The environment as the bar found it when this was first called, less the
// bar's own start-up notification (DESKTOP_STARTUP_ID, XDG_ACTIVATION_TOKEN),
// as exec takes it. main() calls it first thing (keepSessionEnvironment),
// before Qt or the bar's own code changes a variable.
char *const *sessionEnvironment();

} // namespace skylane
