#pragma once

// The platform layer is one shared library, like the system libraries it
// stands for: the host program and the control library see the same
// component registry, message-box hook and simulated screen.
#if defined(_WIN32)
#if defined(PAVONIS_PLATEFORME_BUILD)
#define PAVONIS_PLATEFORME_EXPORT __declspec(dllexport)
#else
#define PAVONIS_PLATEFORME_EXPORT __declspec(dllimport)
#endif
#else
#define PAVONIS_PLATEFORME_EXPORT __attribute__((visibility("default")))
#endif
