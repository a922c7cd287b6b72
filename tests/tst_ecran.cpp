// The screen against its reviewed inventory (tests/donnees): every control
// with its kind, container, caption, place and size in twips; the focus
// order; the looks and the state before any code has run.

#include "HoteEssai.h"
#include "OutilsEssai.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTextBrowser>

using namespace pavonis;
using namespace pavonis::essai;
using namespace Qt::Literals::StringLiterals;

namespace {

QStringList lignesDe(const char* fichier)
{
    return donnee(fichier).split('\n', Qt::SkipEmptyParts);
}

QString genre(const QWidget* w)
{
    if (qobject_cast<const QTextBrowser*>(w))
        return "navigateur";
    if (qobject_cast<const QCheckBox*>(w))
        return "case";
    if (qobject_cast<const QRadioButton*>(w))
        return "option";
    if (qobject_cast<const QLineEdit*>(w))
        return "zone_texte";
    if (qobject_cast<const QLabel*>(w))
        return "etiquette";
    if (qobject_cast<const QGroupBox*>(w))
        return "cadre";
    if (qobject_cast<const QPushButton*>(w))
        return "bouton";
    if (qobject_cast<const QScrollBar*>(w))
        return "barre_defilement";
    return "?";
}

} // namespace

class TestEcran : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        c_ = hote_->creerControle();
    }
    void cleanup() { hote_.reset(); }

    void inventaire_data()
    {
        QTest::addColumn<QStringList>(
            "attendu"); // nom, genre, conteneur, légende, gauche, haut, largeur, hauteur
        for (const QString& l : lignesDe("ecran-inventaire.tsv").mid(1))
            QTest::newRow(qPrintable(l.section('\t', 0, 0))) << l.split('\t');
    }
    void inventaire()
    {
        QFETCH(QStringList, attendu);
        QWidget* w = enfant(*c_, qPrintable(attendu[0]));
        const QRect t = w->property("twips").toRect();
        const QString conteneur = w->parentWidget() == c_ ? QString() : w->parentWidget()->objectName();
        QCOMPARE(
            QStringList({w->objectName(), genre(w), conteneur, legende(w), QString::number(t.x()),
                         QString::number(t.y()), QString::number(t.width()), QString::number(t.height())}),
            attendu);
    }

    // Nothing more than the inventory: 253 controls, each name once.
    void rienDePlus()
    {
        QStringList noms;
        for (QWidget* w : c_->findChildren<QWidget*>())
            if (w->property("twips").isValid())
                noms << w->objectName();
        QCOMPARE(noms.size(), 253);
        QCOMPARE(noms.size(), lignesDe("ecran-inventaire.tsv").size() - 1);
        noms.removeDuplicates();
        QCOMPARE(noms.size(), 253);
    }

    // The focus chain visits the inventory's focus order, the help pane
    // first when it is shown.
    void ordreDeTabulation()
    {
        QStringList attendus = lignesDe("ecran-tabulation.txt");
        QStringList chaine;
        QWidget* w = enfant(*c_, qPrintable(attendus[0]));
        for (int i = 0; i < attendus.size(); ++i, w = w->nextInFocusChain()) {
            while (!(w->focusPolicy() & Qt::TabFocus) || !w->property("twips").isValid())
                w = w->nextInFocusChain();
            chaine << w->objectName();
        }
        QCOMPARE(chaine, attendus);
        // Through the keyboard after Init: disabled boxes are skipped.
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        enfant(*c_, "Txt_NomEnqueteur")->setFocus();
        QStringList vus;
        for (int i = 0; i < 8; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            vus << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(vus, QStringList({"Cmd_Retour", "Cmd_Imprimer", "Cmd_NouvelleEval", "Txt_DateEval",
                                   "Txt_SousGroupe", "Txt_Groupe", "Txt_GestionNote", "Opt_GestionFait"}));
    }

    // Each heading word, as drawn, centred over its column's marks within 3
    // pixels; every caption within its label; at any scale (see CMakeLists).
    void entetesEtLegendes()
    {
        QVERIFY(montrer(hote_->fenetre()));
        const auto centreMarque = [&](const char* nom) {
            auto* b = qobject_cast<QAbstractButton*>(enfant(*c_, nom));
            QStyleOptionButton o;
            o.initFrom(b);
            const bool rond = qobject_cast<QRadioButton*>(b);
            const QRectF r = b->style()->subElementRect(
                rond ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator, &o, b);
            return b->mapTo(c_, QPointF(r.center().x() + 0.5, 0)).x();
        };
        for (const auto& [entete, ligne] : {std::pair{"Etq_VariablesDiscriminantes2008", "Transferts"},
                                            std::pair{"Etq_VariablesIllustratives2008", "Cuisine"}}) {
            auto* l = qobject_cast<QLabel*>(enfant(*c_, entete));
            const QImage image = l->grab().toImage();
            const double dpr = image.devicePixelRatio();
            QList<std::pair<int, int>> mots; // ink columns, separated by 6 pixels or more
            for (int x = 0; x < image.width(); ++x) {
                bool encre = false;
                for (int y = 0; y < image.height() && !encre; ++y)
                    encre = QColor(image.pixel(x, y)).lightness() < 128;
                if (encre && (mots.isEmpty() || x - mots.last().second > 6 * dpr))
                    mots.append({x, x});
                else if (encre)
                    mots.last().second = x;
            }
            QCOMPARE(mots.size(), 7); // the title, then Fait, Ne fait pas, S, T, C, H
            const QStringList colonnes{"Opt_%1Fait", "Opt_%1FaitPas", "Cac_%1S",
                                       "Cac_%1T",    "Cac_%1C",       "Cac_%1H"};
            for (int k = 0; k < 6; ++k) {
                const double centre = l->mapTo(c_, QPointF(0, 0)).x() +
                                      (mots[k + 1].first + mots[k + 1].second + 1) / 2.0 / dpr;
                const double colonne = centreMarque(qPrintable(colonnes[k].arg(ligne)));
                QVERIFY2(
                    std::abs(centre - colonne) <= 3,
                    qPrintable(
                        QString("%1 : %2 pour %3").arg(colonnes[k].arg(ligne)).arg(centre).arg(colonne)));
            }
        }
        for (QLabel* l : c_->findChildren<QLabel*>())
            if (!l->wordWrap())
                QVERIFY2(QFontMetricsF(l->font()).boundingRect(l->text()).right() <=
                             l->contentsRect().width(),
                         qPrintable(l->objectName()));
    }

    // What assistive technology reads: every row's controls named after the
    // variable and sub-variable captions of the screen, the adverbs as the
    // legend words them; the result boxes give their value.
    void accessibilite()
    {
        const QStringList lignes = lignesDe("ecran-inventaire.tsv").mid(1);
        QHash<QString, QString> legendeDuCadre, conteneur;
        for (const QString& l : lignes) {
            const QStringList c = l.split('\t');
            conteneur[c[0]] = c[2];
            if (c[1] == "etiquette" && c[0] != "Etq_NomEnqueteeur" && !c[2].isEmpty())
                legendeDuCadre[c[2]] = c[3];
        }
        const auto nom = [&](const QString& controle) {
            QAccessibleInterface* a =
                QAccessible::queryAccessibleInterface(enfant(*c_, qPrintable(controle)));
            return a ? a->text(QAccessible::Name) : QString();
        };
        const QStringList adverbes{"S — Spontanément", "T — Totalement", "C — Correctement",
                                   "H — Habituellement"};
        int rangees = 0;
        for (const QString& l : lignes) {
            const QString option = l.section('\t', 0, 0), cadre = l.section('\t', 2, 2);
            if (!option.startsWith("Opt_") || option.endsWith("FaitPas"))
                continue;
            ++rangees; // one "Fait" option a row
            const QString parent = conteneur[cadre];
            const bool sousVariable = parent.startsWith("Cdr_");
            QString sous = legendeDuCadre[cadre];
            sous[0] = sous[0].toLower();
            // Names as said: the capital's accent back.
            const QString rangee =
                QString(sousVariable ? legendeDuCadre[parent] + ", " + sous : legendeDuCadre[cadre])
                    .replace(QRegularExpression("^Elimination"), "Élimination");
            for (const QString& autre : lignes) {
                const QString n = autre.section('\t', 0, 0);
                const QString adverbe = adverbes.value("STCH"_L1.indexOf(n.back()));
                if (conteneur[n] != cadre)
                    continue;
                if (n.startsWith("Opt_"))
                    QCOMPARE(nom(n), rangee + (n.endsWith("FaitPas") ? " : Ne fait pas" : " : Fait"));
                else if (n.startsWith("Cac_"))
                    QCOMPARE(nom(n) + enfant(*c_, qPrintable(n))->toolTip().left(adverbe.size() - 1),
                             rangee + " : " + adverbe + QString(adverbe).replace(" — ", "- "));
                else if (n.startsWith("Txt_") && !sousVariable)
                    QCOMPARE(nom(n), "Modalité de la variable " + rangee);
            }
        }
        QCOMPARE(rangees, 24);
        // « de » elided as French does, before a vowel or a mute h.
        QCOMPARE(
            nom("Txt_ToiletteNote") + "|" + nom("Txt_EliminationNote") + "|" + nom("Txt_ToiletteHNote") +
                "|" + nom("Txt_EliminationFecaleNote") + "|" + nom("Txt_HabillageHautNote") + "|" +
                nom("Txt_AlimentationServirnote") + "|" + nom("Txt_OrientationTempsNote"),
            "Modalité de la variable Toilette|Modalité de la variable Élimination|Modalité de Toilette, haut|"
            "Modalité d'Élimination, fécale|Modalité d'Habillage, haut|Modalité d'Alimentation, se servir|"
            "Modalité d'Orientation, dans le temps");
        QCOMPARE(nom("Txt_Groupe") + "|" + nom("Txt_SousGroupe") + "|" + nom("Txt_DateEval"),
                 "Groupe iso-ressources|Sous-groupe|A la date du");

        // Their value, as the boxes show it after the row rule ran (Qt's line
        // edits send the text change to the screen reader's bridge).
        QVERIFY(montrer(hote_->fenetre()));
        c_->Init();
        cliquer(*c_, "Opt_TransfertsFaitPas");
        for (const char* zone : {"Txt_TransfertsNote", "Txt_Groupe", "Txt_SousGroupe"})
            QCOMPARE(QAccessible::queryAccessibleInterface(enfant(*c_, zone))->text(QAccessible::Value),
                     texte(*c_, zone));
        QCOMPARE(texte(*c_, "Txt_TransfertsNote"), "C");
    }

    // The looks: variable names on light orange, the result in 18 points,
    // notes locked to one character, a single titled frame, the state
    // before Init.
    void apparenceEtEtatInitial()
    {
        int orange = 0, lectureSeule = 0;
        for (QLabel* l : c_->findChildren<QLabel*>())
            orange +=
                l->autoFillBackground() && l->palette().color(QPalette::Window) == QColor(255, 224, 192);
        QCOMPARE(orange, 17);
        for (const char* nom : {"Txt_Groupe", "Txt_SousGroupe"}) {
            const QFont f = enfant(*c_, nom)->font();
            QVERIFY(f.pointSize() == 18 && !f.bold() && !f.italic() && !f.underline() && !f.strikeOut());
        }
        for (QLineEdit* z : c_->findChildren<QLineEdit*>()) {
            QVERIFY2(z->text().isEmpty(), qPrintable(z->objectName()));
            lectureSeule += z->isReadOnly();
            QCOMPARE(z->maxLength(), z->isReadOnly() ? 1 : 32767);
        }
        QCOMPARE(lectureSeule, 32);
        for (QRadioButton* o : c_->findChildren<QRadioButton*>())
            QVERIFY(!o->isChecked());
        for (QCheckBox* k : c_->findChildren<QCheckBox*>())
            QVERIFY(!k->isChecked() && k->isEnabled());
        QVERIFY(enfant(*c_, "WB_Aide")->isHidden() && !enfant(*c_, "Etq_Aide")->isHidden());
        auto* barre = qobject_cast<QScrollBar*>(enfant(*c_, "Bdv_Controles"));
        QCOMPARE(QList<int>({barre->value(), barre->minimum(), barre->maximum(), barre->singleStep(),
                             barre->pageStep()}),
                 QList<int>({0, 0, 32767, 1, 1}));
    }
};

QTEST_MAIN(TestEcran)
#include "tst_ecran.moc"
