// The demo host as a program: scenarios replayed without a display as a
// user's clicks, the state it writes, a bad scenario (refused before
// anything runs, or stopped where the user could not do it), the ways out,
// the MDI host, and the evaluation restored and written as data.

#include "OutilsEssai.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace pavonis::essai;

namespace {

struct Execution {
    int code = -1;
    QString erreurs;
    QString sortie;
    QJsonObject etat;
};

QJsonObject controle(const QJsonObject& etat, const QString& nom)
{
    for (const QJsonValue& v : etat["controle"]["controles"].toArray())
        if (v["nom"].toString() == nom)
            return v.toObject();
    return {};
}

const QString kExemples = QStringLiteral(PAVONIS_EXEMPLES);

} // namespace

class TestPavonisHote : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;

    QString chemin(const QString& nom) const { return dossier_.path() + '/' + nom; }

    Execution lancer(const QByteArray& scenario, const QStringList& plus = {})
    {
        ecrireFichier(chemin("scenario.txt"), scenario);
        QFile::remove(chemin("etat.json"));
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_DATA_HOME", chemin("donnees"));
        env.insert("XDG_CONFIG_HOME", chemin("config"));
        env.insert("PAVONIS_DATE_DU_JOUR", "2026-12-05");
        p.setProcessEnvironment(env);
        p.start(PAVONIS_HOTE,
                QStringList{"--scenario", chemin("scenario.txt"), "--etat", chemin("etat.json")} + plus);
        Execution e;
        if (!p.waitForFinished(60000))
            return e;
        e.code = p.exitCode();
        e.erreurs = QString::fromUtf8(p.readAllStandardError());
        e.sortie = QString::fromUtf8(p.readAllStandardOutput());
        e.etat = QJsonDocument::fromJson(lireFichier(chemin("etat.json"))).object();
        return e;
    }

private slots:
    // Clicks alone reach every GIR; the evaluation written says the same.
    void chaqueGir_data()
    {
        QTest::addColumn<QString>("fichier");
        QTest::addColumn<QString>("gir");
        QTest::addColumn<QString>("sousGroupe");
        QTest::newRow("1") << "gir1.txt"
                           << "1"
                           << "";
        QTest::newRow("2") << "gir2.txt"
                           << "2"
                           << "";
        QTest::newRow("3") << "gir3.txt"
                           << "3"
                           << "";
        QTest::newRow("4") << "gir4.txt"
                           << "4"
                           << "";
        QTest::newRow("5") << "gir5.txt"
                           << "5"
                           << "C";
        QTest::newRow("6") << "gir6.txt"
                           << "6"
                           << "B";
    }
    void chaqueGir()
    {
        QFETCH(QString, fichier);
        QFETCH(QString, gir);
        QFETCH(QString, sousGroupe);
        const Execution e =
            lancer(lireFichier(kExemples + "/scenarios/" + fichier), {"--evaluation", chemin("eval.json")});
        QVERIFY2(e.code == 0, qPrintable(e.erreurs));
        QCOMPARE(controle(e.etat, "Txt_Groupe")["texte"].toString(), gir);
        QCOMPARE(controle(e.etat, "Txt_SousGroupe")["texte"].toString(), sousGroupe);
        const QJsonObject r =
            QJsonDocument::fromJson(lireFichier(chemin("eval.json")))["resultats"].toObject();
        QCOMPARE(r["gir"].toInt(), gir.toInt());
        QCOMPARE(r["sous_groupe"].toString(), sousGroupe);
    }

    void etatEcrit()
    {
        const Execution e = lancer("saisir Txt_NomBenef Hélène Lefèvre\n"
                                   "touche Txt_NomBenef €\n"
                                   "effacer Txt_DateEval\n"
                                   "saisir Txt_DateEval 3112\n"
                                   "quitter Txt_DateEval\n"
                                   "quitter Txt_DateEval\n"
                                   "effacer Txt_DateEval\n"
                                   "saisir Txt_DateEval 1/12/26\n"
                                   "quitter Txt_DateEval\n"
                                   "cliquer Opt_TransfertsFait\n");
        QVERIFY2(e.code == 0, qPrintable(e.erreurs));
        QCOMPARE(e.etat["controle"]["controles"].toArray().size(), 253);
        const QJsonObject nom = controle(e.etat, "Txt_NomBenef");
        QCOMPARE(nom["texte"].toString(), "Hélène Lefèvre€");
        QCOMPARE(nom["conteneur"].toString(), "Cdr_GroupeIsoRessource");
        QCOMPARE(QList<int>({nom["gauche"].toInt(), nom["haut"].toInt()}), QList<int>({240, 2520}));
        QCOMPARE(controle(e.etat, "Cac_TransfertsS")["actif"].toBool(), false);
        QCOMPARE(controle(e.etat, "Opt_TransfertsFait")["valeur"].toBool(), true);
        // "3112" is completed to 31/12/2026 for review, then refused (after
        // today); "1/12/26" is accepted as 01/12/2026.
        QCOMPARE(e.etat["messages"].toArray().size(), 1);
        QCOMPARE(e.etat["messages"][0]["titre"].toString(), "Message NORVELIS");
        QCOMPARE(controle(e.etat, "Txt_DateEval")["texte"].toString(), "01/12/2026");
        QCOMPARE(e.etat["focus"].toString(), "Opt_TransfertsFait");
        QCOMPARE(e.etat["fenetre"]["Caption"].toString(), "Outil grille Aggir révision 2008");
        QVERIFY(e.sortie.contains("W_Sortir = False"));
    }

    // Refused while reading: nothing of the file runs. Refused while
    // replaying: the replay stops where a user could not go on.
    void scenarioFautif_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("rien"); // nothing ran: Transferts still "Fait"
        const QByteArray debut = "cliquer Opt_TransfertsFaitPas\n";
        const QStringList petit{"--hauteur-ecran", "700"};
        QTest::newRow("action inconnue") << debut + "# note\nsauter X\n"
                                         << QStringList() << "ligne 3 : action inconnue « sauter »" << true;
        QTest::newRow("nom manquant") << debut + "cliquer\n"
                                      << QStringList() << "ligne 2 : il manque le nom du contrôle" << true;
        QTest::newRow("nom en trop") << debut + "quitter A B\n"
                                     << QStringList() << "« quitter » prend un seul nom de contrôle" << true;
        QTest::newRow("pas nul") << debut + "pas bas 0\n"
                                 << petit << "nombre de pas attendu, de 1 à 1000, pas « 0 »" << true;
        QTest::newRow("signe plus") << debut + "pas bas +2\n"
                                    << petit << "nombre de pas attendu, de 1 à 1000, pas « +2 »" << true;
        QTest::newRow("défilement négatif") << debut + "defiler -1\n"
                                            << petit << "de 0 à 32767, pas « -1 »" << true;
        QTest::newRow("caractère de contrôle") << debut + "saisir Txt_NomBenef a\x01z\n"
                                               << QStringList() << "U+0001" << true;
        QTest::newRow("pas de l'UTF-8") << debut + "saisir Txt_NomBenef H\xe9l\xe8ne\n"
                                        << QStringList() << "pas en UTF-8" << true;
        QTest::newRow("octet nul") << debut + QByteArray("x\0y\n", 4) << QStringList()
                                   << "pas un fichier texte" << true;
        QTest::newRow("contrôle inconnu") << debut + "\ncliquer Opt_Inconnu\n"
                                          << QStringList() << "contrôle inconnu « Opt_Inconnu »" << false;
        QTest::newRow("pas une case") << debut + "cocher Txt_Groupe\n"
                                      << QStringList() << "« Txt_Groupe » n'est pas une case" << false;
        QTest::newRow("sous le volet d'aide")
            << debut + "survoler Etq_Transferts2008\ncliquer Etq_Transferts2008\ncliquer "
                       "Opt_ActivitesTempsLibreFait\n"
            << QStringList() << "le clic sur « Opt_ActivitesTempsLibreFait » tomberait sur" << false;
        QTest::newRow("hors de la fenêtre") << debut + "cliquer Cmd_Retour\n"
                                            << petit << "« Cmd_Retour » est hors de la fenêtre" << false;
        QTest::newRow("au-delà de la barre")
            << debut + "defiler 15\n"
            << petit << "valeur de défilement 15 hors de la barre (0 à 14)" << false;
        QTest::newRow("barre désactivée")
            << debut + "pas bas\n"
            << QStringList() << "la barre de défilement est désactivée" << false;
    }
    void scenarioFautif()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(QStringList, options);
        QFETCH(QString, message);
        QFETCH(bool, rien);
        const Execution e = lancer(scenario, options);
        QCOMPARE(e.code, 2);
        QVERIFY2(e.erreurs.contains(message), qPrintable(e.erreurs));
        QCOMPARE(controle(e.etat, "Opt_TransfertsFaitPas")["valeur"].toBool(),
                 !rien); // the state is still written
    }

    // The way out: "Retour" sets W_Sortir and closes the host window -- in
    // an MDI application, the sub-window alone.
    void sortie_data()
    {
        QTest::addColumn<QByteArray>("scenario");
        QTest::addColumn<bool>("mdi");
        QTest::addColumn<bool>("wSortir");
        QTest::newRow("retour") << QByteArray("cliquer Cmd_Retour\n") << false << true;
        QTest::newRow("case de fermeture") << QByteArray("fermer\n") << false << false;
        QTest::newRow("retour en MDI") << QByteArray("cliquer Cmd_Retour\n") << true << true;
    }
    void sortie()
    {
        QFETCH(QByteArray, scenario);
        QFETCH(bool, mdi);
        QFETCH(bool, wSortir);
        const Execution e = lancer(scenario, mdi ? QStringList{"--mdi"} : QStringList());
        QCOMPARE(e.code, 0);
        QCOMPARE(e.etat["fenetre_ouverte"].toBool(), false);
        QCOMPARE(e.etat["W_Sortir_a_la_fermeture"].toBool(), wSortir);
        QCOMPARE(e.etat["application"]["ouverte"].toBool(), mdi);
        QVERIFY(e.sortie.contains(wSortir ? "W_Sortir = True" : "W_Sortir = False"));
    }

    // An evaluation restored onto the screen comes back out unchanged; one
    // that is not an evaluation is refused before the screen is shown.
    void evaluationChargee()
    {
        const QString source = kExemples + "/evaluation.json";
        Execution e = lancer(
            "", {"--charger", source, "--evaluation", chemin("sortie.json"), "--fhir", chemin("fhir.json")});
        QVERIFY2(e.code == 0, qPrintable(e.erreurs));
        QCOMPARE(QJsonDocument::fromJson(lireFichier(chemin("sortie.json"))),
                 QJsonDocument::fromJson(lireFichier(source)));
        QVERIFY(e.etat["avertissements"].toArray().isEmpty());
        QCOMPARE(QJsonDocument::fromJson(lireFichier(chemin("fhir.json")))["resourceType"].toString(),
                 "QuestionnaireResponse");
        QCOMPARE(controle(e.etat, "Txt_NomBenef")["texte"].toString(), "Jeanne Martin");

        ecrireFichier(
            chemin("faux.json"),
            R"({"format": "pavonis-evaluation", "version": 1, "lignes": {"Cuisine": {"choix": "peut-être"}}})");
        e = lancer("", {"--charger", chemin("faux.json")});
        QCOMPARE(e.code, 2);
        QVERIFY2(e.erreurs.contains("refusée") && e.erreurs.contains("/lignes/Cuisine/choix"),
                 qPrintable(e.erreurs));
    }
};

QTEST_MAIN(TestPavonisHote)
#include "tst_pavonis_hote.moc"
