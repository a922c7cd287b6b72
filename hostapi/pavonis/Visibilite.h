#pragma once

// Interfaces and errors cross shared-library boundaries (the control library,
// the host's libraries, the host program): their type information must stay
// visible even though everything else is built with hidden visibility.
#if defined(_WIN32)
#define PAVONIS_INTERFACE
#else
#define PAVONIS_INTERFACE __attribute__((visibility("default")))
#endif
