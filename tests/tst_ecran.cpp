// The screen against its reviewed inventory and Tab order (tests/donnees), its looks and names.

#include "HoteEssai.h"
#include "OutilsEssai.h"

using namespace pavonis;
using namespace pavonis::essai;

class TestEcran : public EssaiControle {
    Q_OBJECT

    static QStringList lignesDe(const char* f) { return donnee(f).split('\n', Qt::SkipEmptyParts); }
    QString nom(const QString& n, QAccessible::Text t = QAccessible::Name) const // as read aloud
    {
        return QAccessible::queryAccessibleInterface(enfant(*c_, qPrintable(n)))->text(t);
    }

private slots:

    void inventaire_data()
    {
        QTest::addColumn<QStringList>("attendu"); // nom genre conteneur légende gauche haut largeur hauteur
        for (const QString& l : lignesDe("ecran-inventaire.tsv").mid(1))
            QTest::newRow(qPrintable(l.section('\t', 0, 0))) << l.split('\t');
    }
    void inventaire()
    {
        QFETCH(QStringList, attendu);
        QWidget* w = enfant(*c_, qPrintable(attendu[0]));
        QString genre = "?"; // the classes are unrelated: one at most
        for (QString g :
             {"QTextBrowser:navigateur", "QCheckBox:case", "QRadioButton:option", "QLineEdit:zone_texte",
              "QLabel:etiquette", "QGroupBox:cadre", "QPushButton:bouton", "QScrollBar:barre_defilement"})
            if (w->inherits(qPrintable(g.section(':', 0, 0))))
                genre = g.section(':', 1);
        const QRect t = w->property("twips").toRect();
        QCOMPARE(QStringList({w->objectName(), genre, w->parentWidget()->objectName(), legende(w)}) +
                     QString("%1 %2 %3 %4").arg(t.x()).arg(t.y()).arg(t.width()).arg(t.height()).split(' '),
                 attendu);
    }

    // Nothing more than the inventory, each name once, in the reviewed Tab order; variable names on light
    // orange, results in 18 points, notes read-only and one character long; before Init, nothing written.
    void rienDePlusTabulationEtApparence()
    {
        QStringList noms, chaine;
        for (QWidget* w : c_->findChildren<QWidget*>())
            if (w->property("twips").isValid())
                noms << w->objectName();
        QCOMPARE(noms.size(), lignesDe("ecran-inventaire.tsv").size() - 1);
        QCOMPARE(QSet<QString>(noms.begin(), noms.end()).size(), 253); // each name once
        const QStringList attendus = lignesDe("ecran-tabulation.txt");
        for (QWidget* w = enfant(*c_, qPrintable(attendus[0])); chaine.size() < attendus.size();
             w = w->nextInFocusChain())
            if (w->focusPolicy() & Qt::TabFocus && w->property("twips").isValid())
                chaine << w->objectName();
        QCOMPARE(chaine, attendus);
        const auto orange = [](QLabel* l) {
            return l->autoFillBackground() && l->palette().color(QPalette::Window) == QColor(255, 224, 192);
        };
        QCOMPARE(std::ranges::count_if(c_->findChildren<QLabel*>(), orange), 17);
        for (const QFont& f : {enfant(*c_, "Txt_Groupe")->font(), enfant(*c_, "Txt_SousGroupe")->font()})
            QVERIFY(f.pointSize() == 18 && !f.bold() && !f.italic() && !f.underline() && !f.strikeOut());
        for (QLineEdit* z : c_->findChildren<QLineEdit*>())
            QCOMPARE(z->text() + '|' + QString::number(z->maxLength()), z->isReadOnly() ? "|1" : "|32767");
        QCOMPARE(std::ranges::count_if(c_->findChildren<QLineEdit*>(), &QLineEdit::isReadOnly), 32);
    }

    // Each heading word, as drawn, within 3 pixels of its column's mark; each caption fits; at ×2 too.
    void entetesEtLegendes()
    {
        QVERIFY(montrer(hote_->fenetre()));
        for (auto [entete, ligne] : {std::pair{"Etq_VariablesDiscriminantes2008", "Transferts"},
                                     std::pair{"Etq_VariablesIllustratives2008", "Cuisine"}}) {
            const QImage image = enfant(*c_, entete)->grab().toImage();
            const double dpr = image.devicePixelRatio();
            QList<std::pair<int, int>> mots; // ink columns, separated by 6 pixels or more
            for (int x = 0; x < image.width(); ++x)
                for (int y = 0; y < image.height(); ++y)
                    if (QColor(image.pixel(x, y)).lightness() >= 128)
                        continue;
                    else if (mots.isEmpty() || x - mots.last().second > 6 * dpr)
                        mots.append({x, x});
                    else
                        mots.last().second = x;
            QCOMPARE(mots.size(), 7); // the title, then Fait, Ne fait pas, S, T, C, H
            const QString m = QString("Opt_%1Fait Opt_%1FaitPas Cac_%1S Cac_%1T Cac_%1C Cac_%1H").arg(ligne);
            for (int k = 0; k < 6; ++k) { // each word's centre against its mark's, on the surface
                QWidget* b = enfant(*c_, qPrintable(m.section(' ', k, k)));
                QStyleOptionButton o;
                o.initFrom(b);
                const auto e = k < 2 ? QStyle::SE_RadioButtonIndicator : QStyle::SE_CheckBoxIndicator;
                const double marque =
                    b->mapTo(c_, QPointF(b->style()->subElementRect(e, &o, b).center().x() + 0.5, 0)).x();
                const double mot = (mots[k + 1].first + mots[k + 1].second + 1) / 2.0 / dpr; // on the heading
                QVERIFY2(std::abs(enfant(*c_, entete)->x() + mot - marque) <= 3, qPrintable(b->objectName()));
            }
        }
        for (QLabel* l : c_->findChildren<QLabel*>())
            QVERIFY2(l->wordWrap() || QFontMetricsF(l->font()).boundingRect(l->text()).right() <=
                                          l->contentsRect().width(),
                     qPrintable(l->objectName()));
    }

    // Each row's controls named after the inventory's captions ("de" elided); the results' names and values.
    void accessibilite()
    {
        QHash<QString, QString> legendeDuCadre, conteneur;
        for (const QString& l : lignesDe("ecran-inventaire.tsv").mid(1)) {
            const QStringList c = l.split('\t');
            conteneur[c[0]] = c[2];
            if (c[1] == "etiquette" && !c[2].isEmpty())
                legendeDuCadre[c[2]] = c[3];
        }
        const QStringList adverbes{"S — Spontanément", "T — Totalement", "C — Correctement",
                                   "H — Habituellement"};
        const QStringList faits = conteneur.keys().filter(QRegularExpression("^Opt_.*Fait$")); // a row each
        QCOMPARE(faits.size(), 24);
        for (const QString& fait : faits) {
            const QString cadre = conteneur[fait], parent = conteneur[cadre], s = legendeDuCadre[cadre];
            const bool sous = parent.startsWith("Cdr_");
            QString variable = legendeDuCadre[sous ? parent : cadre];
            variable.replace(QRegularExpression("^Elimination"), "Élimination"); // as said
            const QString rangee = sous ? variable + ", " + s.first(1).toLower() + s.mid(1) : variable;
            const QString modalite = QString("AEÉHIOU").contains(rangee[0]) ? "Modalité d'" : "Modalité de ";
            for (const QString& n : conteneur.keys(cadre) + (sous ? conteneur.keys(parent) : QStringList())) {
                const QString adverbe = adverbes.value(QString("STCH").indexOf(n.back()));
                if (n.startsWith("Opt_"))
                    QCOMPARE(nom(n), rangee + (n.endsWith("FaitPas") ? " : Ne fait pas" : " : Fait"));
                else if (n.startsWith("Cac_"))
                    QCOMPARE(nom(n) + nom(n, QAccessible::Description) +
                                 enfant(*c_, qPrintable(n))->toolTip().left(adverbe.size() - 1),
                             rangee + " : " + adverbe + "Cochée si la condition n'est pas remplie." +
                                 QString(adverbe).replace(" — ", "- "));
                else if (n.startsWith("Txt_"))
                    QCOMPARE(nom(n), sous && conteneur[n] == cadre ? modalite + rangee
                                                                   : "Modalité de la variable " + variable);
            }
        }
        QCOMPARE(nom("Txt_Groupe") + "|" + nom("Txt_SousGroupe") + "|" + nom("Txt_DateEval"),
                 "Groupe iso-ressources|Sous-groupe|A la date du");
        QVERIFY(demarrer()); // the values, as the row rule wrote them
        cliquer(*c_, "Opt_TransfertsFaitPas");
        QCOMPARE(texte(*c_, "Txt_TransfertsNote"), "C");
        for (const char* z : {"Txt_TransfertsNote", "Txt_Groupe", "Txt_SousGroupe"})
            QCOMPARE(nom(z, QAccessible::Value), texte(*c_, z));
    }
};

QTEST_MAIN(TestEcran)
#include "tst_ecran.moc"
