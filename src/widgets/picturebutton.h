#pragma once

#include <QPushButton>

namespace brenzola {

// A command button showing its picture above its caption.
class PictureButton : public QPushButton {
    Q_OBJECT

public:
    PictureButton(const QIcon& icon, const QString& caption, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace brenzola
