#pragma once

// The control library exports its control class and its registration entry
// points; everything else stays hidden.
#if defined(_WIN32)
#if defined(PAVONIS_BUILD)
#define PAVONIS_EXPORT __declspec(dllexport)
#else
#define PAVONIS_EXPORT __declspec(dllimport)
#endif
#else
#define PAVONIS_EXPORT __attribute__((visibility("default")))
#endif
