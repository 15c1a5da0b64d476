#pragma once

#include <QHBoxLayout>

class QPushButton;

namespace brenzola {

// A row of a window's buttons, left to right, each named as tests and screen readers find it.
class FilaPulsanti : public QHBoxLayout {
public:
    QPushButton* aggiungi(const char* nome, const QString& testo);
};

}  // namespace brenzola
