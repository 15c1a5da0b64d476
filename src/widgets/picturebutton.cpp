#include "widgets/picturebutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace brenzola {

PictureButton::PictureButton(const QIcon& icon, const QString& caption, QWidget* parent) : QPushButton(icon, caption, parent)
{
    setIconSize(QSize(16, 16));
}

void PictureButton::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    option.icon = QIcon();
    painter.drawControl(QStyle::CE_PushButton, option);

    const QRect area = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    const int textHeight = caption.isEmpty() ? 0 : fontMetrics().height();
    const int top = area.top() + (area.height() - iconSize().height() - textHeight) / 2;
    const QRect iconRect(area.left() + (area.width() - iconSize().width()) / 2, top, iconSize().width(), iconSize().height());
    const QIcon::Mode mode = isEnabled() ? QIcon::Normal : QIcon::Disabled;
    icon().paint(&painter, iconRect, Qt::AlignCenter, mode);
    if (!caption.isEmpty()) {
        const QRect textRect(area.left(), iconRect.bottom() + 1, area.width(), textHeight);
        painter.drawItemText(textRect, Qt::AlignCenter | Qt::TextShowMnemonic, palette(), isEnabled(), caption,
                             QPalette::ButtonText);
    }
}

}  // namespace brenzola
