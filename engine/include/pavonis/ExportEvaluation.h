#pragma once

// The evaluation library (libpavonis-evaluation) exports its API; the rest
// of it stays hidden.
#if defined(_WIN32)
#if defined(PAVONIS_EVALUATION_BUILD)
#define PAVONIS_EVALUATION_EXPORT __declspec(dllexport)
#else
#define PAVONIS_EVALUATION_EXPORT __declspec(dllimport)
#endif
#else
#define PAVONIS_EVALUATION_EXPORT __attribute__((visibility("default")))
#endif
