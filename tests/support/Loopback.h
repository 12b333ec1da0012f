#pragma once

namespace tarnwick::test {

// A listening TCP socket on 127.0.0.1 with a port the system chose, which goes to port.
int ListenOnLoopback(int& port, int backlog);

}  // namespace tarnwick::test
