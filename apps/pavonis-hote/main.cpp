// pavonis-hote: a host window with the AGGIR evaluation control, on the
// stand-alone host objects; also replays scenarios without a display.

#include "EtatEcran.h"
#include "FenetreDemo.h"
#include "HoteAutonome.h"
#include "Scenario.h"

#include <pavonis/host/Installation.h>
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/DateDuJour.h>
#include <pavonis/platform/Ecran.h>
#include <pavonis/platform/FenetreHote.h>
#include <pavonis/platform/Twips.h>

#include <pavonis/control/IEvaluationPavonis.h>
#include <pavonis/evaluation/FormatEvaluation.h>
#include <pavonis/evaluation/ReponseFhir.h>
#include <pavonis/files/EcritureFichier.h>
#include <pavonis/files/LectureFichier.h>
#include <pavonis/hostapi/Erreur.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMessageBox>
#include <QPointer>
#include <QTextStream>

#include <cstdio>
#include <iostream>

namespace {

constexpr std::size_t kTailleEvaluationMax = 1 << 20;

constexpr const char* kAide = R"(Usage : pavonis-hote [OPTIONS]

Ouvre une fenêtre hôte avec l'écran d'évaluation AGGIR (composant
Pavonis.Uc_Pavonis), sur le magasin de paramètres autonome. À la fermeture,
indique si l'utilisateur est sorti par « Retour » (W_Sortir).

Options :
  --parametres FICHIER      magasin de paramètres SQLite (par défaut : celui de
                            l'utilisateur, créé au premier lancement)
  --scenario FICHIER        rejoue un scénario sans affichage (offscreen)
  --etat SORTIE.json        écrit l'état de chaque contrôle après le scénario
  --capture SORTIE.png      écrit une capture de la fenêtre après le scénario
  --pdf SORTIE.pdf          écrit la page A4 de l'évaluation en PDF après le
                            scénario
  --charger EVALUATION.json restaure une évaluation (format pavonis-evaluation)
                            sur l'écran au démarrage, après Init
  --evaluation SORTIE.json  écrit l'évaluation (JSON, pavonis-evaluation) après
                            le scénario
  --fhir SORTIE.json        écrit l'évaluation en QuestionnaireResponse FHIR R4
                            après le scénario
  --hauteur-ecran PIXELS    simule un écran de cette hauteur (768 et plus :
                            grande disposition ; moins : petite, avec défilement)
  --mdi                     place la fenêtre hôte dans une sous-fenêtre d'une
                            fenêtre d'application (« Application hôte »)
  --help                    affiche cette aide

Sans écran (ni DISPLAY ni WAYLAND_DISPLAY), pavonis-hote rejoue le scénario
d'exemple et écrit pavonis-hote-etat.json et pavonis-hote-capture.png dans le
répertoire courant.

Scénario : une action par ligne ; « # » commence un commentaire.
  cliquer NOM               clic au centre du contrôle, au travers de la
                            fenêtre : il arrive à ce qui s'y trouve
  double-cliquer NOM        double-clic au centre du contrôle
  cocher NOM / decocher NOM coche ou décoche une case
  effacer NOM               vide le champ (touche Retour arrière)
  saisir NOM TEXTE          donne le focus au champ et tape le texte à la suite
  quitter NOM               quitte le champ (touche Tab)
  touche NOM TOUCHE         Entree, Echap, Tab, Retour, Suppr, Haut, Bas,
                            Gauche, Droite, Debut, Fin, Espace, F1, ou un caractère
  survoler NOM              passe la souris sur le contrôle
  choisir NOM TEXTE         choisit l'entrée TEXTE d'une liste (Cbo_Imprimante)
  defiler VALEUR            fait glisser le curseur de la barre de défilement
  pas bas|haut [N]          clique N fois (1 à 1000) sur une flèche de la barre
  fermer                    ferme la fenêtre hôte (case de fermeture)
Quand une action ouvre une boîte de dialogue (« Imprimer »), les lignes
suivantes s'adressent d'abord à ses contrôles (Cbo_Imprimante, Txt_NbCopies,
Cmd_Ok, Cmd_Annuler...). Un clic qui tomberait sur un autre contrôle (le
volet d'aide par-dessus) ou hors de la fenêtre, une ligne mal formée, un
fichier qui n'est pas un scénario : le rejeu s'arrête (code de sortie 2).
)";

struct Options {
    QString parametres, scenario, etat, capture, pdf, charger, evaluation, fhir;
    int hauteurEcran = 0;
    bool mdi = false;
};

bool lireOptions(int argc, char** argv, Options& o, int& statut)
{
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        const auto valeur = [&](QString& cible) {
            if (i + 1 >= argc) {
                std::cerr << "pavonis-hote: " << a.toStdString() << " attend une valeur.\n";
                return false;
            }
            cible = QString::fromLocal8Bit(argv[++i]);
            return true;
        };
        QString nombre;
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            std::fputs(kAide, stdout);
            statut = 0;
            return false;
        }
        bool ok = true;
        if (a == QLatin1String("--parametres"))
            ok = valeur(o.parametres);
        else if (a == QLatin1String("--scenario"))
            ok = valeur(o.scenario);
        else if (a == QLatin1String("--etat"))
            ok = valeur(o.etat);
        else if (a == QLatin1String("--capture"))
            ok = valeur(o.capture);
        else if (a == QLatin1String("--pdf"))
            ok = valeur(o.pdf);
        else if (a == QLatin1String("--charger"))
            ok = valeur(o.charger);
        else if (a == QLatin1String("--evaluation"))
            ok = valeur(o.evaluation);
        else if (a == QLatin1String("--fhir"))
            ok = valeur(o.fhir);
        else if (a == QLatin1String("--mdi"))
            o.mdi = true;
        else if (a == QLatin1String("--hauteur-ecran")) {
            ok = valeur(nombre);
            o.hauteurEcran = nombre.toInt(&ok);
            if (!ok || o.hauteurEcran <= 0)
                std::cerr << "pavonis-hote: --hauteur-ecran attend un nombre de pixels.\n";
            ok = ok && o.hauteurEcran > 0;
        } else {
            std::cerr << "pavonis-hote: option inconnue : " << a.toStdString()
                      << "\nEssayez « pavonis-hote --help ».\n";
            ok = false;
        }
        if (!ok) {
            statut = 2;
            return false;
        }
    }
    return true;
}

// Resident memory of this process, in kB (0 where /proc is missing).
qint64 memoireResidenteKo()
{
    QFile statut(QStringLiteral("/proc/self/status"));
    if (!statut.open(QIODevice::ReadOnly | QIODevice::Text))
        return 0;
    for (QByteArray ligne = statut.readLine(); !ligne.isEmpty(); ligne = statut.readLine())
        if (ligne.startsWith("VmRSS:"))
            return ligne.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// Whole or not at all; raises Erreur naming the file and the cause.
void ecrire(const QString& chemin, const QByteArray& contenu)
{
    pavonis::fichiers::ecrireFichier(QFile::encodeName(chemin).toStdString(),
                                     std::string_view(contenu.constData(), std::size_t(contenu.size())));
}

QString absolu(const QString& chemin)
{
    return QFileInfo(chemin).absoluteFilePath();
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    int statut = 0;
    if (!lireOptions(argc, argv, options, statut))
        return statut;

    const bool sansEcran = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
                           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
    if (sansEcran && options.scenario.isEmpty()) {
        options.scenario = QString::fromStdString(
            (pavonis::installation::repertoirePartage() / "exemples" / "scenario-demo.txt").string());
        if (options.etat.isEmpty())
            options.etat = QStringLiteral("pavonis-hote-etat.json");
        if (options.capture.isEmpty())
            options.capture = QStringLiteral("pavonis-hote-capture.png");
        std::cerr << "pavonis-hote: pas d'écran ; rejeu du scénario d'exemple "
                  << options.scenario.toStdString() << " sans affichage.\n";
    }
    // Asking for a state, a capture or a PDF is a replay too, of nothing
    // when no scenario is given.
    const bool rejeu = !options.scenario.isEmpty() || !options.etat.isEmpty() || !options.capture.isEmpty() ||
                       !options.pdf.isEmpty() || !options.evaluation.isEmpty() || !options.fhir.isEmpty();
    if (rejeu && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    if (options.hauteurEcran > 0)
        pavonis::Ecran::simulerHauteurPixels(options.hauteurEcran);

    QJsonArray messages, erreurs;
    if (rejeu)
        pavonis::BoiteMessage::intercepter([&](const pavonis::BoiteMessage::Message& m) {
            messages.append(QJsonObject{{"titre", m.titre}, {"texte", m.texte}});
        });

    auto* fenetre = new pavonis::FenetreDemo;
    fenetre->setAttribute(Qt::WA_DeleteOnClose);
    // The window deletes itself once closed: what the host needs of it is
    // taken while it closes.
    bool sortieParRetour = false;
    bool fermee = false;
    QObject::connect(fenetre, &pavonis::FenetreDemo::fermeture, [&](bool sortie) {
        sortieParRetour = sortie;
        fermee = true;
    });
    QPointer<pavonis::FenetreDemo> garde(fenetre);

    // The host window: the demo window itself, or the sub-window that holds
    // it in an application's multiple-document area.
    std::unique_ptr<QMainWindow> application;
    QMdiArea* zone = nullptr;
    QPointer<QWidget> fenetreHote = fenetre;
    if (options.mdi) {
        application = std::make_unique<QMainWindow>();
        application->setWindowTitle(QStringLiteral("Application hôte"));
        zone = new QMdiArea;
        application->setCentralWidget(zone);
        fenetreHote = zone->addSubWindow(fenetre);
    }

    std::unique_ptr<pavonis::HoteAutonome> hote;
    pavonis::IUc_Pavonis* interfaceControle = nullptr;
    try {
        hote = std::make_unique<pavonis::HoteAutonome>(options.parametres);
        interfaceControle = hote->creerControle(fenetre);
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-hote: " << e.what() << '\n';
        delete fenetre;
        return 1;
    }
    QWidget* controle = interfaceControle->widget();
    fenetre->definirControle(controle);

    // What fails in the control is shown (or, in a replay, recorded) here.
    fenetre->definirGestionnaireErreur([&](const QString& message) {
        std::cerr << "pavonis-hote: " << message.toStdString() << '\n';
        if (rejeu)
            erreurs.append(message);
        else
            QMessageBox::warning(fenetre, QStringLiteral("Pavonis"), message);
    });
    QObject::connect(controle, SIGNAL(erreur(QString)), fenetre, SLOT(signalerErreur(QString)));

    if (application)
        application->show();
    fenetreHote->show();
    if (application) {
        // The control has sized its window: the application makes room for it.
        fenetreHote->move(0, 0);
        application->resize(application->size() + fenetreHote->size() - zone->viewport()->size());
    }
    try {
        interfaceControle->Init();
    } catch (const pavonis::Erreur& e) {
        fenetre->signalerErreur(QString::fromUtf8(e.what()));
    }

    // An evaluation kept by the host, restored onto the fresh screen.
    QJsonArray avertissements;
    if (!options.charger.isEmpty()) {
        try {
            const std::string json = pavonis::fichiers::lireFichier(
                QFile::encodeName(options.charger).toStdString(), kTailleEvaluationMax);
            const auto lecture = pavonis::FormatEvaluation::lire(json);
            auto* extension = pavonis::IEvaluationPavonis::de(interfaceControle);
            extension->chargerEvaluation(lecture.evaluation);
            if (lecture.resultats)
                for (const std::string& e :
                     pavonis::FormatEvaluation::ecarts(*lecture.resultats, extension->resultats())) {
                    std::cerr << "pavonis-hote: " << options.charger.toStdString() << " : " << e << '\n';
                    avertissements.append(QString::fromStdString(e));
                }
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: évaluation " << options.charger.toStdString()
                      << " refusée : " << e.what() << '\n';
            return 2;
        }
    }

    if (!rejeu) {
        const int code = app.exec();
        std::cout << "W_Sortir = " << (sortieParRetour ? "True" : "False") << std::endl;
        return code;
    }

    // A user works in an active window: the replay waits for it.
    try {
        pavonis::Scenario::activer(*fenetreHote->window());
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-hote: " << e.what() << '\n';
    }

    int code = 0;
    try {
        if (!options.scenario.isEmpty())
            pavonis::Scenario(*fenetreHote, *controle).rejouer(options.scenario);
    } catch (const pavonis::Erreur& e) {
        std::cerr << "pavonis-hote: " << e.what() << '\n';
        code = 2;
    }
    QCoreApplication::processEvents();

    const bool ouverte = garde && !fermee;
    QJsonObject etat{{"fenetre_ouverte", ouverte},
                     {"W_Sortir_a_la_fermeture", sortieParRetour},
                     {"messages", messages},
                     {"erreurs", erreurs},
                     {"avertissements", avertissements},
                     {"memoire_residente_ko", memoireResidenteKo()}};
    if (ouverte) {
        etat.insert("controle", pavonis::etatEcran(*controle));
        const pavonis::FenetreHote fenetreDuControle(controle);
        etat.insert("fenetre",
                    QJsonObject{{"Caption", fenetreDuControle.lire(QStringLiteral("Caption")).toString()},
                                {"Height", fenetreDuControle.lire(QStringLiteral("Height")).toDouble()},
                                {"Width", fenetreDuControle.lire(QStringLiteral("Width")).toDouble()}});
        if (QWidget* focus = QApplication::focusWidget())
            etat.insert("focus", focus->objectName());
    }
    if (application)
        etat.insert("application", QJsonObject{{"titre", application->windowTitle()},
                                               {"ouverte", application->isVisible()}});
    if (!options.etat.isEmpty()) {
        try {
            ecrire(options.etat, QJsonDocument(etat).toJson(QJsonDocument::Indented));
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: " << e.what() << '\n';
            return 1;
        }
        std::cerr << "pavonis-hote: état écrit dans " << absolu(options.etat).toStdString() << '\n';
    }
    // The evaluation as data: the exchange format and the FHIR response.
    for (const auto& [chemin, fhir] : {std::pair{options.evaluation, false}, {options.fhir, true}}) {
        if (chemin.isEmpty())
            continue;
        try {
            if (!ouverte)
                throw pavonis::Erreur(pavonis::Erreur::Code::Plateforme, "la fenêtre de l'hôte est fermée.");
            auto* extension = pavonis::IEvaluationPavonis::de(interfaceControle);
            const pavonis::Evaluation e = extension->evaluation();
            const pavonis::ResultatsEvaluation r = extension->resultats();
            const std::string texte =
                fhir ? pavonis::ReponseFhir::ecrire(e, r) : pavonis::FormatEvaluation::ecrire(e, r);
            ecrire(chemin, QByteArray::fromStdString(texte));
            std::cerr << "pavonis-hote: évaluation écrite " << (fhir ? "en FHIR " : "") << "dans "
                      << absolu(chemin).toStdString() << '\n';
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: " << e.what() << '\n';
            code = code ? code : 1;
        }
    }
    if (!options.pdf.isEmpty()) {
        try {
            if (!ouverte)
                throw pavonis::Erreur(pavonis::Erreur::Code::Plateforme, "la fenêtre de l'hôte est fermée.");
            pavonis::IEvaluationPavonis::de(interfaceControle)->exporterPdf(options.pdf);
            std::cerr << "pavonis-hote: évaluation écrite en PDF dans " << absolu(options.pdf).toStdString()
                      << '\n';
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: PDF impossible : " << e.what() << '\n';
            code = code ? code : 1;
        }
    }
    if (!options.capture.isEmpty()) {
        QWidget* vue = application ? static_cast<QWidget*>(application.get()) : fenetre;
        QBuffer png;
        png.open(QIODevice::WriteOnly);
        try {
            if ((!application && !ouverte) || !vue->grab().save(&png, "PNG"))
                throw pavonis::Erreur(pavonis::Erreur::Code::Plateforme,
                                      "Impossible de faire la capture : la fenêtre de l'hôte est fermée.");
            ecrire(options.capture, png.data());
        } catch (const pavonis::Erreur& e) {
            std::cerr << "pavonis-hote: " << e.what() << '\n';
            return code ? code : 1;
        }
        std::cerr << "pavonis-hote: capture écrite dans " << absolu(options.capture).toStdString() << '\n';
    }
    if (ouverte && fenetreHote)
        fenetreHote->close();
    QCoreApplication::processEvents();
    application.reset();
    std::cout << "W_Sortir = " << (sortieParRetour ? "True" : "False") << std::endl;
    return code;
}
