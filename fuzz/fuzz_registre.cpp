// The component registry reader on any file, as the runtime reads it to
// create a control.

#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/hostapi/Erreur.h>

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* donnees, std::size_t taille)
{
    static QTemporaryDir dossier;
    static const QString chemin = dossier.filePath(QStringLiteral("registre.json"));
    static const bool initialise = [] {
        qputenv("PAVONIS_REGISTRE", chemin.toUtf8());
        qputenv("PAVONIS_REGISTRE_MACHINE", dossier.filePath(QStringLiteral("machine.json")).toUtf8());
        return true;
    }();
    (void)initialise;
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(reinterpret_cast<const char*>(donnees), static_cast<qint64>(taille));
    }
    try {
        pavonis::RegistreComposants::lire();
        pavonis::RegistreComposants::classe(QStringLiteral("Pavonis.Uc_Pavonis"));
    } catch (const pavonis::Erreur&) {
    }
    return 0;
}
