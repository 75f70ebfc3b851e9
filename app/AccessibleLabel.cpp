#include "app/AccessibleLabel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

namespace {

// "&&" is a literal ampersand; a single "&" marks the access key and is not read out.
QString withoutAccessKeys(const QString& caption) {
    QString spoken;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size()) {
            ++i;
        }
        spoken += caption[i];
    }
    return spoken;
}

}  // namespace

void labelControl(QLabel* label, QWidget* field) {
    label->setBuddy(field);
    const QString name = withoutAccessKeys(label->text());
    field->setAccessibleName(name);
    // An editable combo box hands focus and typing to its line edit, which a screen reader then
    // announces on its own: it needs the name as well.
    if (auto* combo = qobject_cast<QComboBox*>(field); combo && combo->lineEdit()) {
        combo->lineEdit()->setAccessibleName(name);
    }
}
