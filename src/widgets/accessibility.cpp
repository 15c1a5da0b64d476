#include "widgets/accessibility.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLabel>

#include <algorithm>

namespace brenzola {
namespace {

// "&Utente:" names its control "Utente"; "&&" stands for one "&".
QString nameOf(const QLabel& label)
{
    QString text = label.text();
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text[i] == u'&') text.remove(i, 1);  // the character after it stays
    text = text.trimmed();
    if (text.endsWith(u':')) text.chop(1);
    return text.trimmed();
}

bool showsAWord(const QAbstractButton& button)
{
    return std::any_of(button.text().cbegin(), button.text().cend(), [](QChar c) { return c.isLetterOrNumber(); });
}

}  // namespace

void nameForScreenReaders(QWidget* window)
{
    for (QLabel* label : window->findChildren<QLabel*>()) {
        QWidget* control = label->buddy();
        if (control && control->accessibleName().isEmpty()) control->setAccessibleName(nameOf(*label));
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (!control->accessibleName().isEmpty() || control->toolTip().isEmpty()) continue;
        const auto* button = qobject_cast<QAbstractButton*>(control);
        if ((button && !showsAWord(*button)) || qobject_cast<QComboBox*>(control) || qobject_cast<QAbstractSpinBox*>(control))
            control->setAccessibleName(control->toolTip());
    }
    for (QWidget* control : window->findChildren<QWidget*>()) {
        QWidget* part = control->focusProxy();
        if (!part || part == control) continue;
        if (part->accessibleName().isEmpty()) part->setAccessibleName(control->accessibleName());
        const QString description =
            control->accessibleDescription().isEmpty() ? control->toolTip() : control->accessibleDescription();
        if (part->accessibleDescription().isEmpty()) part->setAccessibleDescription(description);
    }
}

}  // namespace brenzola
