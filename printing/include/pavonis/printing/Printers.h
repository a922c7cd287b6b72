#pragma once

#include <pavonis/printing/ImprimanteInstallee.h>

#include <QList>
#include <QString>

namespace pavonis::impression {

// The collection of installed printers, read once: positions stay valid for
// as long as the object lives, whatever happens on the print server.
class Printers {
public:
    // The printers installed now, in the order of the platform's list.
    Printers();
    explicit Printers(QList<ImprimanteInstallee> imprimantes);

    int Count() const { return int(imprimantes_.size()); }
    // Throws pavonis::Erreur (Code::Plateforme) outside 0 .. Count() - 1.
    const ImprimanteInstallee& item(int position) const;

    // The system's default printer ("" when none).
    static QString nomParDefaut();

private:
    QList<ImprimanteInstallee> imprimantes_;
};

} // namespace pavonis::impression
