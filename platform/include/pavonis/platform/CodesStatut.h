#pragma once

#include <cstdint>

// Status codes of the component runtime's entry points, with the values of
// their Windows counterparts so that a Windows build keeps them.
namespace pavonis::statut {

inline constexpr std::int32_t kOk = 0;
inline constexpr std::int32_t kFaux = 1;
inline constexpr std::int32_t kPasDInterface = static_cast<std::int32_t>(0x80004002u);
inline constexpr std::int32_t kPointeurNul = static_cast<std::int32_t>(0x80004003u);
inline constexpr std::int32_t kEchec = static_cast<std::int32_t>(0x80004005u);
inline constexpr std::int32_t kClasseIndisponible = static_cast<std::int32_t>(0x80040111u);
inline constexpr std::int32_t kEnregistrementClasse = static_cast<std::int32_t>(0x80040201u);

inline constexpr bool reussi(std::int32_t s)
{
    return s >= 0;
}

} // namespace pavonis::statut
