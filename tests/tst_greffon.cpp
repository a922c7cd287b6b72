// Qt Designer's plugin, loaded as Designer loads it: the real Uc_Pavonis in the group "Pavonis".

#include <QtTest>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QtWidgets>

class TestGreffon : public QObject {
    Q_OBJECT

private slots:
    void controleDansLeConcepteur()
    {
        QPluginLoader chargeur(QStringLiteral(PAVONIS_GREFFON));
        QVERIFY2(chargeur.load(), qPrintable(chargeur.errorString()));
        auto* greffon = qobject_cast<QDesignerCustomWidgetInterface*>(chargeur.instance());
        QVERIFY(greffon);
        QCOMPARE(greffon->group() + '|' + greffon->includeFile(), "Pavonis|pavonis/control/Uc_Pavonis.h");
        QVERIFY(greffon->domXml().contains("class=\"" + greffon->name() + "\""));
        QWidget formulaire;
        QWidget* w = greffon->createWidget(&formulaire);
        QVERIFY(w->parentWidget() == &formulaire && w->metaObject()->className() == greffon->name());
        const QList<QWidget*> enfants = w->findChildren<QWidget*>();
        QCOMPARE(std::count_if(enfants.begin(), enfants.end(),
                               [](QWidget* e) { return e->property("twips").isValid(); }),
                 253);
    }
};

QTEST_MAIN(TestGreffon)
#include "tst_greffon.moc"
