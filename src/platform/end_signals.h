#pragma once
// The desktop's requests to end the program: SIGTERM when the session logs out or a service
// manager stops it, SIGHUP when its terminal goes away.

namespace platform {

// Catches the end requests from now on instead of dying at once. Returns a descriptor that
// becomes readable at each request (see takeEndRequests), or -1 when they cannot be caught.
int catchEndRequests();
// Reads the requests waiting on the descriptor; true when there was at least one.
bool takeEndRequests(int fd);

} // namespace platform
