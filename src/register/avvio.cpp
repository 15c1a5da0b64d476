#include "avvio.h"

#include "accessconversion.h"
#include "frmbrenzola.h"
#include "funzioni.h"
#include "frmsplash.h"

namespace brenzola {

int AvviaProgramma(Dialogs& dialogs)
{
    // An Access file from the old program is converted, with consent, before anything else.
    if (!PreparaArchivioAccess(dialogs, nullptr, Funzioni::CartellaEseguibile())) return 1;
    bool archivioUsabile = true;
    frmSplash splash(
        [&] {
            FrmBrenzola principale(dialogs);
            archivioUsabile = principale.Form_Load();
            if (archivioUsabile) principale.MostraModale();
        },
        dialogs);
    splash.Form_Load();
    return archivioUsabile ? 0 : 1;
}

}  // namespace brenzola
