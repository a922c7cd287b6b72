// Qt Designer's plugin, loaded as Designer loads it: the control in the
// group "Pavonis", created as the real Uc_Pavonis with its 253 controls.

#include <QPluginLoader>
#include <QTest>
#include <QWidget>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

class TestGreffon : public QObject {
    Q_OBJECT

private slots:
    void controleDansLeConcepteur()
    {
        QPluginLoader chargeur(QStringLiteral(PAVONIS_GREFFON));
        QVERIFY2(chargeur.load(), qPrintable(chargeur.errorString()));
        auto* greffon = qobject_cast<QDesignerCustomWidgetInterface*>(chargeur.instance());
        QVERIFY(greffon);
        QCOMPARE(greffon->group(), "Pavonis");
        QCOMPARE(greffon->includeFile(), "pavonis/control/Uc_Pavonis.h");
        QVERIFY(greffon->domXml().contains("class=\"" + greffon->name() + "\""));
        QWidget formulaire;
        QWidget* w = greffon->createWidget(&formulaire);
        QCOMPARE(w->metaObject()->className(), greffon->name());
        QCOMPARE(w->parentWidget(), &formulaire);
        int controles = 0;
        for (const QWidget* enfant : w->findChildren<QWidget*>())
            controles += enfant->property("twips").isValid();
        QCOMPARE(controles, 253);
        QVERIFY(w->findChild<QWidget*>("Txt_HabillageMNote") && w->findChild<QWidget*>("Label7"));
    }
};

QTEST_MAIN(TestGreffon)
#include "tst_greffon.moc"
