#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>

namespace pavonis::essai {

// The message of the exception `f` throws; empty when it throws none.
QString erreurDe(const std::function<void()>& f);

// Runs a program to its end, a minute at most: its output then its errors.
// `code` receives its exit status, -1 when it did not end by itself.
// `enfant` runs in the child before the program starts (limits, user).
QString executer(const QString& programme, const QStringList& arguments, int* code = nullptr,
                 const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment(),
                 const std::function<void()>& enfant = {});

// A whole file, empty when it cannot be read; writing one that cannot be
// written stops the test program.
QByteArray lireFichier(const QString& chemin);
void ecrireFichier(const QString& chemin, const QByteArray& contenu);

// A file of the reviewed expected data (tests/donnees).
QString donnee(const QString& nom);
// A _data() table from such a file, tab-separated with a header line: a row
// per line, named by its first field, the next fields as QString columns of
// these names (kept by QTest: literals).
void tableDonnees(const char* fichier, std::initializer_list<const char*> colonnes);

} // namespace pavonis::essai
