#include "widgets/filapulsanti.h"

#include <QPushButton>

namespace brenzola {

QPushButton* FilaPulsanti::aggiungi(const char* nome, const QString& testo)
{
    auto* pulsante = new QPushButton(testo);  // the window's once the row is in its layout
    pulsante->setObjectName(QLatin1String(nome));
    addWidget(pulsante);
    return pulsante;
}

}  // namespace brenzola
