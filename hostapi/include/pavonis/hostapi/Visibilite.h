#pragma once

/// @file
/// Ce que les bibliothèques de Pavonis montrent aux autres : tout le reste est
/// construit caché (-fvisibility=hidden). Les interfaces et les erreurs
/// franchissent les frontières de bibliothèques (le contrôle, les
/// bibliothèques de l'hôte, le programme hôte) : leur information de type doit
/// rester visible.

/// Marque une classe ou une fonction offerte aux autres bibliothèques.
#define PAVONIS_API __attribute__((visibility("default")))
