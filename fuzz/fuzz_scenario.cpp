// The scenario reader on any bytes. Property: actions in the order of their lines, one at most per line, each
// on a line of the file.

#include <pavonis/hote/LecteurScenario.h>

#include <pavonis/hostapi/Erreur.h>

#include <algorithm>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    const QByteArray contenu(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
    try {
        const QList<pavonis::ActionScenario> actions =
            pavonis::LecteurScenario::lire(contenu, QStringLiteral("essai"));
        const int lignes = int(contenu.count('\n')) + 1;
        int derniere = 0;
        for (const pavonis::ActionScenario& a : actions) {
            if (a.ligne <= derniere || a.ligne > lignes)
                std::abort();
            derniere = a.ligne;
        }
    } catch (const pavonis::Erreur&) {
    }
    return 0;
}
