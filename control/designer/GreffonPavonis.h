#pragma once

#include <QObject>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

namespace pavonis {

// Qt Designer's view of the control: Uc_Pavonis in the widget box, group
// "Pavonis", so that a host team can place it on a form. The form then
// includes <pavonis/Uc_Pavonis.h> and links Pavonis::Orvalis.
class GreffonPavonis final : public QObject, public QDesignerCustomWidgetInterface {
    Q_OBJECT
    Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
    Q_INTERFACES(QDesignerCustomWidgetInterface)
public:
    explicit GreffonPavonis(QObject* parent = nullptr);

    QString name() const override;
    QString group() const override;
    QString toolTip() const override;
    QString whatsThis() const override;
    QString includeFile() const override;
    QIcon icon() const override;
    bool isContainer() const override;
    QWidget* createWidget(QWidget* parent) override;
    QString domXml() const override;
};

} // namespace pavonis
