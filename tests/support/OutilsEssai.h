#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTest>

#include <functional>
#include <initializer_list>
#include <tuple>
#include <utility>

namespace pavonis::essai {

// The message of the exception `f` throws; empty when it throws none.
QString erreurDe(const std::function<void()>& f);

// A program run to its end (a minute at most): output then errors, `code` its status (-1: did not end).
QString executer(const QString& programme, const QStringList& arguments, int* code = nullptr,
                 const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment(),
                 const std::function<void()>& enfant = {});

// For `enfant`: the child becomes nobody (65534), or ends with status 125.
void commePersonne();

// The same with its output and errors apart, `entree` fed through a pipe in 4 KiB pieces.
struct Execution {
    int code = -1;
    QByteArray sortie, erreurs;
};
Execution lancer(const QString& programme, const QStringList& arguments, const QByteArray& entree = {},
                 const QProcessEnvironment& environnement = QProcessEnvironment::systemEnvironment(),
                 const std::function<void()>& enfant = {});
// The environment with `nom` set to `valeur`.
QProcessEnvironment avec(const QString& nom, const QString& valeur,
                         QProcessEnvironment environnement = QProcessEnvironment::systemEnvironment());

// A parameter store (made with the published weights if new), then changed by `sql`.
QString creerMagasin(const QString& chemin, const QString& sql = {});

// A whole file (or JSON object), empty when unreadable; a file that cannot be written stops the test.
QByteArray lireFichier(const QString& chemin);
void ecrireFichier(const QString& chemin, const QByteArray& contenu);
QJsonObject lireJson(const QString& chemin);

// Columns c0, c1... of these types: `colonnes<int, QString>()`, `const auto [n, s] = ligne<int, QString>()`.
inline const char* const kColonnes[] = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7"};
template <class... T> void colonnes()
{
    int i = 0;
    (QTest::addColumn<T>(kColonnes[i++]), ...);
}
template <class... T, std::size_t... I> std::tuple<T...> ligne(std::index_sequence<I...>)
{
    return {*static_cast<T*>(QTest::qData(kColonnes[I], qMetaTypeId<T>()))...};
}
template <class... T> std::tuple<T...> ligne()
{
    return ligne<T...>(std::index_sequence_for<T...>());
}

// A file of the reviewed expected data (tests/donnees).
QString donnee(const QString& nom);
// A _data() table from a TSV file with a header: rows named by field 1, the others QString columns.
void tableDonnees(const char* fichier, std::initializer_list<const char*> colonnes);

} // namespace pavonis::essai
