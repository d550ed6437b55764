#pragma once

#include <functional>

// Turns SIGTERM, SIGINT and SIGHUP into a call on the GUI thread, so that a session logout or a
// kill closes the main window normally and its settings are saved.
void onTerminationSignal(std::function<void()> handler);
