// The component registry on any file. Property: a file refused as a registry is left byte for byte as it was.

#include <pavonis/platform/IdentiteComposant.h>
#include <pavonis/platform/RegistreComposants.h>

#include <pavonis/hostapi/Erreur.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

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
    const QByteArray contenu(reinterpret_cast<const char*>(donnees), static_cast<qsizetype>(taille));
    {
        QFile f(chemin);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return 0;
        f.write(contenu);
    }
    bool refuse = false;
    try {
        pavonis::RegistreComposants::lire();
        pavonis::RegistreComposants::classe(QStringLiteral("Pavonis.Uc_Pavonis"));
    } catch (const pavonis::Erreur&) {
        refuse = true;
    }
    pavonis::IdentiteComposant identite;
    identite.idClasse = "{00000000-0000-0000-0000-00000000F022}";
    identite.progId = "Essai.Fuzz";
    try {
        pavonis::RegistreComposants::enregistrer(identite, QStringLiteral("/usr/lib/essai.ocx"));
    } catch (const pavonis::Erreur&) {
        if (!refuse)
            std::abort(); // a registry that reads must take a registration
    }
    QFile relu(chemin);
    if (refuse && (!relu.open(QIODevice::ReadOnly) || relu.readAll() != contenu))
        std::abort();
    return 0;
}
