// The scenario reader on any bytes: a list of actions, or an error naming
// the line.

#include <pavonis/hote/LecteurScenario.h>

#include <pavonis/hostapi/Erreur.h>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    try {
        pavonis::LecteurScenario::lire(
            QByteArray(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille)),
            QStringLiteral("essai"));
    } catch (const pavonis::Erreur&) {
    }
    return 0;
}
