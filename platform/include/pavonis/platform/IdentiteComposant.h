#pragma once

#include <cstdint>
#include <string>

namespace pavonis {

// What a component library tells the runtime about itself when it is
// registered: its type library, its control class and their interfaces.
struct IdentiteComposant {
    std::string bibliotheque;    // type library name
    std::string idBibliotheque;  // its id, "{...}"
    std::string version;         // "1.0"
    std::string classe;          // control class name
    std::string idClasse;        // its class id
    std::string progId;          // programmatic id
    std::string interfaceDefaut; // default interface name
    std::string idInterfaceDefaut;
    std::string interfaceEvenements; // event interface name
    std::string idInterfaceEvenements;
    std::string modeleThreads;      // "Apartment"
    std::uint32_t etatControle = 0; // control status bits
};

// Control status bits.
namespace etat_controle {
inline constexpr std::uint32_t kRecomposerAuRedimensionnement = 0x1;
inline constexpr std::uint32_t kPasDeLienInterne = 0x10;
inline constexpr std::uint32_t kActivationInterne = 0x80;
inline constexpr std::uint32_t kActiverQuandVisible = 0x100;
inline constexpr std::uint32_t kSiteClientDAbord = 0x20000;
} // namespace etat_controle

} // namespace pavonis
