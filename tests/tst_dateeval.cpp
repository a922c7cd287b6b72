// The date box: what may be written in it, however it arrives; the check on leaving it, before what follows.

#include "HoteEssai.h"
#include "OutilsEssai.h"
#include <pavonis/platform/BoiteMessage.h>
#include <pavonis/platform/Composants.h>

#include <pavonis/hostapi/IControleTexte.h>
#include <pavonis/hostapi/IServiceDate.h>

using namespace pavonis;
using namespace pavonis::essai;

// Answers as told ("normal form, none: the text given|revoir|refusal", or "panne") and logs what it is asked.
struct ServiceScripte final : IServiceDate {
    QString reponses;
    QStringList journal;

    std::string NormaliserDate(std::string& texte, std::int16_t& format) override
    {
        journal << QString("N %1 %2").arg(QString::fromStdString(texte)).arg(format);
        if (reponses == "panne")
            throw std::runtime_error("service des dates indisponible");
        return reponses.section('|', 0, 0).isEmpty() ? texte : reponses.section('|', 0, 0).toStdString();
    }
    bool SaisieARevoir() override { return journal << "R", reponses.section('|', 1, 1) == "revoir"; }
    std::string ControlerDate(const ObjetPtr& zone) override
    {
        journal << "C " + QString::fromStdString(convertir<IControleTexte>(zone, "zone")->Text());
        return reponses.section('|', 2).toStdString();
    }
};

const QString kMessage = "Message NORVELIS | Erreur de saisie dans la date, veuillez la ressaisir. | 2";

class TestDateEval : public EssaiControle {
    Q_OBJECT

    QLineEdit* date_ = nullptr;
    std::shared_ptr<ServiceScripte> service_ = std::make_shared<ServiceScripte>(); // the thread's, made once
    QStringList messages_;

private slots:
    void init()
    {
        EssaiControle::init(); // the control asks for its date service when it first needs it
        *service_ = ServiceScripte{};
        Composants::enregistrerClasse("Velmor.ServiceDate", [s = service_] { return ObjetPtr(s); });
        messages_.clear();
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_ << m.titre + " | " + m.texte + " | " + QString::number(int(m.icone));
        });
        QVERIFY(demarrer());
        date_ = qobject_cast<QLineEdit*>(enfant(*c_, "Txt_DateEval"));
        QCOMPARE(date_->text(), "05/12/2026"); // written by the control, not filtered
        date_->clear();
        date_->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), date_);
    }

    // Digits and "/" stay, other code points become "/": typed (← ⇱: Left, Home), pasted, dropped, composed.
    void saisie_data()
    {
        colonnes<QString, QString, QString>(); // way, "typed|inserted", text
        QTest::newRow("lettre, espace et point") << "clavier" << QString("1a2 3.") << "1/2/3/";
        QTest::newRow("accent, symbole, hors du BMP") << "clavier" << QString("3é€4\U0001F6005") << "3//4/5";
        QTest::newRow("entrée et échap") << "clavier" << QString("3\r\x1b") << "3//";
        QTest::newRow("retour arrière") << "clavier" << QString("12\b3") << "13";
        QTest::newRow("suppr (U+007F sous X)") << "clavier" << QString("12⇱\x7f") << "2";
        QTest::newRow("flèches") << "clavier" << QString("12←9") << "192";
        for (const char* voie : {"coller", "déposer", "méthode de saisie"}) // what was there left alone
            QTest::newRow(voie) << voie << QString("1x|05 déc. 2\U0001F600") << "1/05//////2/";
    }
    void saisie()
    {
        const auto [voie, saisie, attendu] = ligne<QString, QString, QString>();
        QMimeData donnees;
        donnees.setText(saisie.section('|', 1));
        const QPoint fin(date_->width() - 2, date_->height() / 2);
        QDragEnterEvent entree(fin, Qt::CopyAction, &donnees, Qt::LeftButton, {}); // also the first move
        QDropEvent depot(fin, Qt::CopyAction, &donnees, Qt::LeftButton, {});
        QInputMethodEvent compose;
        compose.setCommitString(donnees.text());
        QApplication::clipboard()->setText(donnees.text());
        for (const char32_t t : saisie.section('|', 0, 0).toUcs4())
            if (t == U'←' || t == U'⇱')
                QTest::keyClick(date_, t == U'←' ? Qt::Key_Left : Qt::Key_Home);
            else if (t < 0x7f)
                QTest::keyClick(date_, char(t));
            else // Delete carries U+007F under X
                QTest::sendKeyEvent(QTest::Click, date_, t == 0x7f ? Qt::Key_Delete : Qt::Key_unknown,
                                    QString::fromUcs4(&t, 1), {});
        if (voie == "coller")
            date_->paste(); // as the context menu does: Ctrl+V is a typed "/"
        else if (voie == "déposer")
            for (QEvent* e : std::initializer_list<QEvent*>{&entree, &depot})
                QApplication::sendEvent(date_, e);
        else if (voie != "clavier")
            QApplication::sendEvent(date_, &compose);
        QCOMPARE(date_->text(), attendu);
    }

    // Leaving: normalised, perhaps looked at again, checked; refused: told, held, nothing done; else it goes.
    void depart_data()
    {
        // way (Tab, Shift+Tab, host, click), input, answers, log, text|focus|messages; focus then, effect
        colonnes<QString, QString, QString, QString, QString, QString, bool>();
        const QString sous = "Txt_SousGroupe", rien;
        QTest::newRow("vide") << "Tab" << rien << "||jamais" << rien << "|Txt_SousGroupe|0" << sous << false;
        QTest::newRow("refusée, vidée")
            << "Tab" << QString("3102") << "31/02/2026||Date impossible" << QString("N 3102 0,R,C 31/02/2026")
            << "31/02/2026|Txt_DateEval|1" << sous << false;
        QTest::newRow("à revoir") << "Tab" << QString("0512") << "05/12/2026|revoir|refusée quand même"
                                  << QString("N 0512 0,R") << "05/12/2026|Txt_DateEval|0" << sous << false;
        for (QString v : {"Maj+Tab Cmd_NouvelleEval 0", "hôte:Txt_NomEnqueteur Txt_NomEnqueteur 0",
                          "Opt_ToiletteHFaitPas Opt_ToiletteHFaitPas 1", "Cac_TransfertsS Cac_TransfertsS 1",
                          "Cmd_NouvelleEval Cmd_NouvelleEval 1", "Etq_Alimentation2008 Txt_DateEval 1",
                          "Txt_NomBenef Txt_NomBenef 0"}) // way, focus then, effect
            QTest::newRow(qPrintable(v)) << v.section(' ', 0, 0) << QString("31/02") << "||Date impossible"
                                         << QString("N 31/02 0,R,C 31/02") << "31/02|Txt_DateEval|1"
                                         << v.section(' ', 1, 1) << v.endsWith('1');
    }
    void depart()
    {
        const auto [voie, saisie, reponses, journal, retenu, libre, effet] =
            ligne<QString, QString, QString, QString, QString, QString, bool>();
        const auto partir = [&, voie = voie] {
            voie.endsWith("Tab")       ? QTest::keyClick(date_, voie == "Tab" ? Qt::Key_Tab : Qt::Key_Backtab)
            : voie.startsWith("hôte:") ? enfant(*c_, qPrintable(voie.mid(5)))->setFocus()
                                       : cliquer(*c_, qPrintable(voie));
        };
        const auto etat = [&] { // the help pane and the buttons
            QString s = enfant(*c_, "WB_Aide")->isVisible() ? "1" : "0";
            for (QAbstractButton* b : c_->findChildren<QAbstractButton*>())
                s += b->isChecked() ? '1' : '0';
            return s;
        };
        qobject_cast<QRadioButton*>(enfant(*c_, "Opt_TransfertsFaitPas"))->click(); // its boxes enabled
        service_->reponses = reponses;
        QTest::keyClicks(date_, qPrintable(saisie));
        const QString avant = etat();
        partir();
        QTRY_COMPARE(QString("%1|%2|%3").arg(date_->text(), focus()).arg(messages_.size()), retenu);
        QCOMPARE(service_->journal.join(',') + " / " + etat(), journal + " / " + avant); // nothing done
        QCOMPARE(messages_, QStringList(messages_.size(), kMessage));
        if (focus() != "Txt_DateEval")
            return;
        const QString deux = QString::number(2 * messages_.size());
        cliquer(*c_, "Txt_DateEval"); // a click in the box is no departure
        partir();
        QTRY_COMPARE(focus() + '|' + QString::number(messages_.size()), "Txt_DateEval|" + deux);
        // emptied, the box can be left; else accepted, looked at again or not
        voie == "Tab" && !reponses.contains("|revoir|") ? date_->clear() : service_->reponses.clear();
        partir();
        QCOMPARE(QString("%1|%2|%3").arg(focus()).arg(messages_.size()).arg(etat() != avant),
                 QString("%1|%2|%3").arg(libre, deux).arg(effet));
    }

    void serviceEnPanne() // a failing service is reported and does not hold the user
    {
        service_->reponses = "panne";
        QTest::keyClicks(date_, "1\t");
        QVERIFY2(focus() != "Txt_DateEval" && messages_.size() == 1 &&
                     messages_[0].contains("service des dates indisponible"),
                 qPrintable(messages_.join('\n')));
    }
};

QTEST_MAIN(TestDateEval)
#include "tst_dateeval.moc"
