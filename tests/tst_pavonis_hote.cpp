// pavonis-hote (docs/scenarios.md, docs/man/pavonis-hote.1): replays, every option and output, refusals.

#include "OutilsEssai.h"

#include <QImage>
#include <QJsonArray>
#include <QTemporaryDir>

using namespace pavonis::essai;

const QString kSource = PAVONIS_EXEMPLES "/evaluation.json";

static QJsonValue champ(const QJsonObject& etat, const QString& nom, const char* cle)
{
    for (const QJsonValue& v : etat["controle"]["controles"].toArray())
        if (v["nom"].toString() == nom)
            return v[cle];
    return {};
}

// The rows a scenario sets (cliquer Opt_<row>FaitPas, cocher Cac_<row><adverb>); Init leaves "fait".
static QJsonObject lignesCliquees(const QString& scenario)
{
    QJsonObject lignes;
    for (const QString& cle : lireJson(kSource)["lignes"].toObject().keys())
        lignes[cle] = QJsonObject{{"choix", "fait"}};
    for (QString l : QString::fromUtf8(lireFichier(scenario)).replace("Moyen", "M").split('\n'))
        if (l.startsWith("cliquer Opt_"))
            lignes[l.mid(12).chopped(7)] = QJsonObject{{"choix", "ne-fait-pas"}};
        else if (const QString c = l.mid(11).chopped(1); l.startsWith("cocher Cac_"))
            lignes[c] = QJsonObject{{"choix", "ne-fait-pas"},
                                    {"adverbes", lignes.value(c)["adverbes"].toArray() << l.right(1)}};
    return lignes;
}

// A FHIR response's answers ("<row>.choix", "<row>.adverbes") as the exchange format's rows.
static QJsonObject enLignes(const QJsonArray& items, QJsonObject lignes = {})
{
    for (const QJsonValue& i : items) {
        const QString id = i["linkId"].toString(), ligne = id.section('.', 0, 0), k = id.section('.', 1);
        for (const QJsonValue& a : i["answer"].toArray())
            if (k == "choix" || k == "adverbes") {
                QJsonObject l = lignes[ligne].toObject();
                l[k] = k == "choix" ? a["valueCoding"]["code"] : l[k].toArray() << a["valueCoding"]["code"];
                lignes[ligne] = l;
            }
        lignes = enLignes(i["item"].toArray(), lignes);
    }
    return lignes;
}

class TestPavonisHote : public QObject {
    Q_OBJECT

    QTemporaryDir dossier_;
    const QStringList sorties_{"--evaluation", chemin("eval.json"), "--fhir", chemin("fhir.json")};

    QString chemin(const QString& nom) const { return dossier_.filePath(nom); }

    std::pair<Execution, QJsonObject> rejouer(const QByteArray& scenario, const QStringList& plus = {})
    {
        ecrireFichier(chemin("scenario.txt"), scenario);
        for (const char* f : {"etat.json", "eval.json", "fhir.json", "page.pdf", "capture.png"})
            QFile::remove(chemin(f));
        const QProcessEnvironment env =
            avec("PAVONIS_DATE_DU_JOUR", "2026-12-05",
                 avec("XDG_DATA_HOME", chemin("d"), avec("XDG_CONFIG_HOME", chemin("c"))));
        const QStringList options{"--scenario", chemin("scenario.txt"), "--etat", chemin("etat.json")};
        return {lancer(PAVONIS_HOTE, options + plus, {}, env), lireJson(chemin("etat.json"))};
    }

private slots:
    // Clicks alone reach every GIR, a kept evaluation is restored: screen, evaluation and FHIR answers agree.
    void chaqueGir_data()
    {
        colonnes<int, int, QString, QStringList>();
        for (const auto& [g, s] : {std::pair{1, ""}, {2, ""}, {3, ""}, {4, ""}, {5, "C"}, {6, "B"}})
            QTest::addRow("gir%d", g) << g << g << QString(s) << QStringList();
        // Group A without Cohérence C: 4440 - 2000 < 3390 in A, then 3660 >= 2016 in B.
        const QString sql = "UPDATE valeurs SET valeur = 0 WHERE cle = 'A' AND ligne = 1 AND colonne = 2;";
        QTest::newRow("--parametres")
            << 1 << 2 << "" << QStringList{"--parametres", creerMagasin(chemin("a"), sql)};
        // No scenario (0): restored unchanged; small layout's capture: 14775 × 7560 twips (docs/ecran.md).
        const QStringList charger{"--charger",       kSource, "--pdf",     chemin("page.pdf"),
                                  "--hauteur-ecran", "700",   "--capture", chemin("capture.png")};
        QTest::newRow("--charger") << 0 << 4 << QString() << charger;
    }
    void chaqueGir()
    {
        const auto [scenario, gir, sousGroupe, plus] = ligne<int, int, QString, QStringList>();
        const QString fichier = QStringLiteral(PAVONIS_EXEMPLES "/scenarios/gir%1.txt").arg(scenario);
        const auto [e, etat] = rejouer(lireFichier(fichier), plus + sorties_);
        const QJsonObject ev = lireJson(chemin("eval.json")), source = lireJson(kSource),
                          lignes = scenario ? lignesCliquees(fichier) : source["lignes"].toObject();
        QCOMPARE(QJsonArray({e.code, etat["avertissements"], champ(etat, "Txt_Groupe", "texte"),
                             champ(etat, "Txt_SousGroupe", "texte"), ev["date"], ev["resultats"]["gir"],
                             ev["resultats"]["sous_groupe"], ev["lignes"],
                             enLignes(lireJson(chemin("fhir.json"))["item"].toArray())}),
                 QJsonArray({0, QJsonArray(), QString::number(gir), sousGroupe, "05/12/2026", gir,
                             sousGroupe.isEmpty() ? QJsonValue() : sousGroupe, lignes, lignes}));
        if (scenario)
            return;
        QCOMPARE(ev, source);
        QCOMPARE(champ(etat, "Txt_NomBenef", "texte").toString(), "Jeanne Martin");
        const QString page = executer("pdftotext", {chemin("page.pdf"), "-"});
        QVERIFY2(page.contains("Jeanne Martin") && page.contains("Claire Dupuis"), qPrintable(page));
        const QString png = chemin("capture.png");
        QVERIFY(lireFichier(png).startsWith("\x89PNG\r\n") && QImage(png).size() == QSize(985, 504));
    }

    // "3112" becomes 31/12/2026 for review, refused (after today); "1/12/26" is accepted as 01/12/2026.
    void etatEcrit()
    {
        const auto [e, etat] = rejouer(
            "saisir Txt_NomBenef Hélène Lefèvre\ntouche Txt_NomBenef €\neffacer Txt_DateEval\n"
            "saisir Txt_DateEval 3112\nquitter Txt_DateEval\nquitter Txt_DateEval\neffacer Txt_DateEval\n"
            "saisir Txt_DateEval 1/12/26\nquitter Txt_DateEval\ncliquer Opt_TransfertsFait\n");
        const auto c = [&, &etat = etat](const char* nom, const char* cle) { return champ(etat, nom, cle); };
        QCOMPARE(QJsonArray({e.code, int(etat["controle"]["controles"].toArray().size()),
                             c("Txt_NomBenef", "texte"), c("Txt_NomBenef", "conteneur"),
                             c("Txt_NomBenef", "gauche"), c("Txt_NomBenef", "haut"),
                             c("Cac_TransfertsS", "actif"), c("Cac_TransfertsS", "valeur"),
                             c("Opt_TransfertsFait", "valeur"), int(etat["messages"].toArray().size()),
                             etat["messages"][0]["titre"], c("Txt_DateEval", "texte"), etat["focus"],
                             etat["fenetre"]["Caption"], QString(e.sortie)}),
                 QJsonArray({0, 253, "Hélène Lefèvre€", "Cdr_GroupeIsoRessource", 240, 2520, false, 0, true,
                             1, "Message NORVELIS", "01/12/2026", "Opt_TransfertsFait",
                             "Outil grille Aggir révision 2008", "W_Sortir = False\n"}));
    }

    // Scenarios refused (0: nothing ran), stopped (1) or ended by closing (2: "Retour" sets W_Sortir, in an
    // MDI application the sub-window alone closes); options refused or impossible (-1: no state).
    void issues_data()
    {
        colonnes<QByteArray, QStringList, int, int, QString>();
        const auto cas = [](const char* n, QByteArray s, int joue, QString m, QStringList o = {},
                            int code = 2) {
            QTest::newRow(n) << "cliquer Opt_TransfertsFaitPas\n" + s << o << code << joue << m;
        };
        const QStringList p{"--hauteur-ecran", "700"};
        cas("action inconnue", "# note\nsauter X\n", 0, "ligne 3 : action inconnue « sauter »");
        cas("nom manquant", "cliquer\n", 0, "ligne 2 : il manque le nom du contrôle");
        cas("nom en trop", "quitter A B\n", 0, "« quitter » prend un seul nom de contrôle");
        cas("pas nul", "pas bas 0\n", 0, "nombre de pas attendu, de 1 à 1000, pas « 0 »", p);
        cas("signe plus", "pas bas +2\n", 0, "de 1 à 1000, pas « +2 »", p);
        cas("défilement négatif", "defiler -1\n", 0, "de 0 à 32767, pas « -1 »", p);
        cas("caractère de contrôle", "saisir Txt_NomBenef a\x01z\n", 0, "U+0001");
        cas("pas de l'UTF-8", "saisir Txt_NomBenef H\xe9l\xe8ne\n", 0, "pas en UTF-8");
        cas("octet nul", QByteArray("x\0y\n", 4), 0, "pas un fichier texte");
        cas("contrôle inconnu", "\ncliquer Opt_Inconnu\n", 1, "contrôle inconnu « Opt_Inconnu »");
        cas("pas une case", "cocher Txt_Groupe\n", 1, "« Txt_Groupe » n'est pas une case");
        cas("sous le volet d'aide",
            "survoler Etq_Transferts2008\ncliquer Etq_Transferts2008\ncliquer Opt_ActivitesTempsLibreFait\n",
            1, "le clic sur « Opt_ActivitesTempsLibreFait » tomberait sur");
        cas("hors de la fenêtre", "cliquer Cmd_Retour\n", 1, "« Cmd_Retour » est hors de la fenêtre", p);
        cas("au-delà de la barre", "defiler 15\n", 1, "valeur de défilement 15 hors de la barre (0 à 14)", p);
        cas("barre désactivée", "pas bas\n", 1, "la barre de défilement est désactivée");
        cas("retour", "cliquer Cmd_Retour\n", 2, "W_Sortir = True\n", {}, 0);
        cas("case de fermeture", "fermer\n", 2, "W_Sortir = False\n", {}, 0);
        cas("retour, --mdi", "cliquer Cmd_Retour\n", 2, "W_Sortir = True\n", {"--mdi"}, 0);
        for (const char* option : {"--etat", "--capture", "--pdf", "--evaluation", "--fhir"})
            cas(option, "", -1, "« - » n'est pas un fichier", {option, "-"});
        const QString pixels = "--hauteur-ecran attend un nombre de pixels";
        cas("--hauteur-ecran x", "", -1, pixels, {"--hauteur-ecran", "x"});
        cas("--hauteur-ecran 0", "", -1, pixels, {"--hauteur-ecran", "0"});
        cas("argument en trop", "", -1, "argument inattendu : x", {"x"});
        cas("option inconnue", "", -1, "sortie", {"--sortie"});
        ecrireFichier(chemin("faux.json"),
                      R"({"format":"pavonis-evaluation","version":1,"lignes":{"Cuisine":{"choix":"x"}}})");
        cas("--charger refusé", "", -1, "/lignes/Cuisine/choix", {"--charger", chemin("faux.json")});
        cas("--parametres abîmé", "", -1, "b.sqlite",
            {"--parametres", creerMagasin(chemin("b.sqlite"), "DROP TABLE valeurs;")}, 1);
        cas("--etat impossible", "", -1, "/nulle/part/etat.json", {"--etat", "/nulle/part/etat.json"}, 1);
    }
    void issues()
    {
        const auto [s, options, code, joue, message] = ligne<QByteArray, QStringList, int, int, QString>();
        const auto [e, etat] = rejouer(s, options);
        QVERIFY2(e.code == code &&
                     (code ? QString::fromUtf8(e.erreurs).contains(message) : e.sortie == message),
                 e.erreurs.constData());
        QCOMPARE(etat.isEmpty(), joue < 0);
        QCOMPARE(champ(etat, "Opt_TransfertsFaitPas", "valeur").toBool(), joue == 1);
        QVERIFY(joue < 0 || (etat["fenetre_ouverte"] == (joue < 2) &&
                             etat["W_Sortir_a_la_fermeture"] == message.endsWith("True\n")));
        QCOMPARE(etat["application"].toObject(),
                 options.contains("--mdi") ? QJsonObject({{"ouverte", true}, {"titre", "Application hôte"}})
                                           : QJsonObject());
    }
};

QTEST_MAIN(TestPavonisHote)
#include "tst_pavonis_hote.moc"
