#pragma once

#include <cstdint>

class QWidget;

namespace pavonis {

// The class factory a component library hands out for one of its classes.
class IFabriqueClasse {
public:
    static constexpr const char* kIid = "{00000001-0000-0000-C000-000000000046}";

    // Creates an instance inside `conteneur` and returns, in `*objet`, its
    // interface `iid`. The instance belongs to its Qt parent.
    virtual std::int32_t CreateInstance(QWidget* conteneur, const char* iid, void** objet) = 0;
    // Keeps the library loaded while locked, with or without instances.
    virtual std::int32_t LockServer(bool verrouiller) = 0;

protected:
    ~IFabriqueClasse() = default;
};

} // namespace pavonis
