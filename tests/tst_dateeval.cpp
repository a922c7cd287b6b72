// The evaluation date box: its key filter and the check on leaving it,
// through the host's date service (a scripted one, then the stand-alone one).

#include "BoiteMessage.h"
#include "Composants.h"
#include "EtatModule.h"
#include "HoteEssai.h"
#include "ServiceDateAutonome.h"

#include <pavonis/IControleTexte.h>
#include <pavonis/IServiceDate.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

using namespace pavonis;
using namespace pavonis::essai;

namespace {

// A date service that answers as told and records what it is asked.
struct ServiceScripte final : IServiceDate {
    std::string normalisee; // empty: give the text back
    bool revoir = false;
    std::string refus;
    QStringList journal;

    std::string NormaliserDate(std::string& texte, std::int16_t& format) override
    {
        journal << QString("normaliser %1 %2").arg(QString::fromStdString(texte)).arg(format);
        return normalisee.empty() ? texte : normalisee;
    }
    bool SaisieARevoir() override
    {
        journal << "revoir";
        return revoir;
    }
    std::string ControlerDate(const ObjetPtr& zone) override
    {
        journal << "controler " + QString::fromStdString(convertir<IControleTexte>(zone, "zone")->Text());
        return refus;
    }
};

} // namespace

class TestDateEval : public QObject {
    Q_OBJECT

    std::unique_ptr<HoteEssai> hote_;
    Uc_Pavonis* c_ = nullptr;
    QLineEdit* date_ = nullptr;
    std::shared_ptr<ServiceScripte> service_;
    QStringList messages_;

    void quitter()
    {
        QTest::keyClick(date_, Qt::Key_Tab);
        QCoreApplication::processEvents();
    }

private slots:
    void init()
    {
        hote_ = std::make_unique<HoteEssai>();
        service_ = std::make_shared<ServiceScripte>();
        EtatModule::duThread().serviceDate.reset();
        Composants::enregistrerClasse("Velmor.ServiceDate", [s = service_] { return ObjetPtr(s); });
        messages_.clear();
        BoiteMessage::intercepter([this](const BoiteMessage::Message& m) {
            messages_ << m.titre + " | " + m.texte + " | " + QString::number(int(m.icone));
        });
        c_ = hote_->creerControle();
        hote_->fenetre().show();
        QVERIFY(QTest::qWaitForWindowExposed(&hote_->fenetre()));
        c_->Init();
        date_ = qobject_cast<QLineEdit*>(enfant(*c_, "Txt_DateEval"));
        date_->clear();
        date_->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), date_);
    }
    void cleanup()
    {
        BoiteMessage::intercepter({});
        EtatModule::duThread().serviceDate.reset();
        hote_.reset();
    }

    void filtreDesTouches_data()
    {
        QTest::addColumn<QList<int>>("touches");
        QTest::addColumn<QString>("attendu");
        QTest::newRow("chiffres et lettre") << QList<int>{'1', 'a', '2'} << "1/2";
        QTest::newRow("barre") << QList<int>{'0', '5', '/', '1', '2'} << "05/12";
        QTest::newRow("entrée et échap") << QList<int>{'3', Qt::Key_Return, Qt::Key_Escape} << "3//";
        QTest::newRow("espace et point") << QList<int>{'1', ' ', '2', '.'} << "1/2/";
        QTest::newRow("retour arrière") << QList<int>{'1', '2', Qt::Key_Backspace, '3'} << "13";
        QTest::newRow("flèches") << QList<int>{'1', '2', Qt::Key_Left, '9'} << "192";
    }

    void filtreDesTouches()
    {
        QFETCH(QList<int>, touches);
        QFETCH(QString, attendu);
        for (int t : touches) {
            if (t < 128 && t != 8)
                QTest::keyClick(date_, char(t));
            else
                QTest::keyClick(date_, Qt::Key(t));
        }
        QCOMPARE(date_->text(), attendu);
    }

    void dateVideAcceptee()
    {
        quitter();
        QVERIFY(QApplication::focusWidget() != date_);
        QVERIFY(service_->journal.isEmpty());
        QVERIFY(messages_.isEmpty());
    }

    void dateRefusee()
    {
        service_->normalisee = "31/02/2026";
        service_->refus = "Date impossible";
        QTest::keyClicks(date_, "3102");
        quitter();
        QCOMPARE(service_->journal, QStringList({"normaliser 3102 0", "revoir", "controler 31/02/2026"}));
        QCOMPARE(messages_, QStringList({"Message NORVELIS | Erreur de saisie dans la date, veuillez la "
                                         "ressaisir. | 2"}));
        QCOMPARE(date_->text(), "31/02/2026");
        QTRY_COMPARE(QApplication::focusWidget(), date_);
        // Each departure shows the message again.
        quitter();
        QCOMPARE(messages_.size(), 2);
        QTRY_COMPARE(QApplication::focusWidget(), date_);
        // Emptied, the box can be left.
        date_->clear();
        quitter();
        QCOMPARE(messages_.size(), 2);
        QVERIFY(QApplication::focusWidget() != date_);
    }

    void saisieARevoir()
    {
        service_->normalisee = "05/12/2026";
        service_->revoir = true;
        service_->refus = "refusée quand même";
        QTest::keyClicks(date_, "0512");
        quitter();
        QCOMPARE(service_->journal, QStringList({"normaliser 0512 0", "revoir"}));
        QVERIFY(messages_.isEmpty());
        QCOMPARE(date_->text(), "05/12/2026");
        QTRY_COMPARE(QApplication::focusWidget(), date_);
    }

    void dateAcceptee()
    {
        QTest::keyClicks(date_, "01/12/2026");
        quitter();
        QCOMPARE(service_->journal.size(), 3);
        QVERIFY(messages_.isEmpty());
        QCOMPARE(QApplication::focusWidget()->objectName(), "Txt_SousGroupe");
    }

    // The stand-alone host's service, end to end.
    void serviceAutonome()
    {
        EtatModule::duThread().serviceDate.reset();
        Composants::enregistrerClasse("Velmor.ServiceDate", [] {
            return std::make_shared<ServiceDateAutonome>([] {
                using namespace std::chrono;
                return year_month_day{year{2026}, month{12}, day{5}};
            });
        });
        QTest::keyClicks(date_, "5/12");
        quitter();
        QCOMPARE(date_->text(), "05/12/2026"); // completed with the year, to be looked at
        QTRY_COMPARE(QApplication::focusWidget(), date_);
        QVERIFY(messages_.isEmpty());
        quitter();
        QVERIFY(QApplication::focusWidget() != date_);

        date_->setFocus();
        date_->clear();
        QTest::keyClicks(date_, "06122026"); // tomorrow
        quitter();
        QCOMPARE(date_->text(), "06/12/2026");
        QCOMPARE(messages_.size(), 1);
        QTRY_COMPARE(QApplication::focusWidget(), date_);
    }
};

QTEST_MAIN(TestDateEval)
#include "tst_dateeval.moc"
