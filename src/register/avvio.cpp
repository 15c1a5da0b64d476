#include "avvio.h"

#include "frmbrenzola.h"
#include "frmsplash.h"

namespace brenzola {

int AvviaProgramma(Dialogs& dialogs)
{
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
