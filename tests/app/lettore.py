#!/usr/bin/python3
"""Reads the running Brenzola as a screen reader does, over AT-SPI: finds every field of the
main window, the advanced search, the agenda and the CSV import by its Italian label, the
rows of their lists, the text of a message box, and where the keyboard's shortcuts take the
focus. Prints what it misses; exits 1 when
anything is missing, 0 when everything was found.

    lettore.py FILE.csv    (the CSV file to open in the import window)
"""

import subprocess
import sys
import time

import pyatspi

LISTE = (pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_LIST)
# Where a user types or chooses: each must have a name, and a description unless it is a button.
CAMPI = (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY, pyatspi.ROLE_PASSWORD_TEXT, pyatspi.ROLE_COMBO_BOX,
         pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_CHECK_BOX) + LISTE
PULSANTI = (pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_TOGGLE_BUTTON)

mancanze = []


def attendi(trova, secondi=20):
    fine = time.monotonic() + secondi
    while True:
        trovato = trova()
        if trovato or time.monotonic() > fine:
            return trovato
        time.sleep(0.2)


def figli(nodo):
    try:
        return [nodo.getChildAtIndex(i) for i in range(nodo.childCount)]
    except Exception:  # a window that closed meanwhile
        return []


def visibile(nodo):
    return nodo is not None and nodo.getState().contains(pyatspi.STATE_SHOWING)


def discendenti(nodo):
    """Every object of a window the user can see; a list's rows are read through its
    table, never walked: the contact list may hold a million."""
    yield nodo
    if nodo.getRole() in LISTE:
        return
    for figlio in figli(nodo):
        if visibile(figlio):
            yield from discendenti(figlio)


def etichetta(testo):
    """A label's text as a screen reader says it: without the access key and the colon."""
    return testo.replace('&&', '\0').replace('&', '').replace('\0', '&').strip().rstrip(':').strip()


def nomi(oggetto):
    """Its name, and the labels it is labelled by (a combo box's name is its value)."""
    trovati = {oggetto.name}
    for relazione in oggetto.getRelationSet():
        if relazione.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            for i in range(relazione.getNTargets()):
                trovati.add(etichetta(relazione.getTarget(i).name))
    return trovati


def applicazione():
    for app in figli(pyatspi.Registry.getDesktop(0)):
        if app is not None and app.name.lower() == 'brenzola':
            return app
    return None


def finestra(app, inizio):
    return attendi(lambda: next((f for f in figli(app) if visibile(f) and f.name.startswith(inizio)), None))


def tasti(combinazione):
    """Keys pressed in the main window, as its user does."""
    # A window that closes while xdotool looks through them fails its search: it looks again.
    attendi(lambda: subprocess.run(['xdotool', 'search', '--limit', '1', '--name', '^Brenzola 1\\.0 ', 'windowactivate',
                                    '--sync', 'key', '--clearmodifiers', combinazione],
                                   stderr=subprocess.DEVNULL, timeout=30).returncode == 0)


def scrivi(testo):
    """Text typed in the main window, key by key."""
    attendi(lambda: subprocess.run(['xdotool', 'search', '--limit', '1', '--name', '^Brenzola 1\\.0 ', 'windowactivate',
                                    '--sync', 'type', '--delay', '50', testo],
                                   stderr=subprocess.DEVNULL, timeout=30).returncode == 0)


def a_fuoco(radice):
    """What the screen reader says has the keyboard."""
    return next((o for o in discendenti(radice) if o.getState().contains(pyatspi.STATE_FOCUSED)), None)


def testo_di(oggetto):
    return oggetto.queryText().getText(0, -1)


def percorsi_da_tastiera(principale, campi, elenco):
    """The quick search and the list reached, used and left by keys alone, the focus always told."""
    def fuoco_su(nome):
        return attendi(lambda: getattr(a_fuoco(principale), 'name', None) == nome, 5)

    tasti('ctrl+l')
    if not fuoco_su('Cerca nome, telefono, email'):
        mancanze.append('Ctrl+L non porta il fuoco alla ricerca veloce')
    scrivi('Ros')
    if not attendi(lambda: elenco.queryTable().nRows == 1, 5):
        mancanze.append('scrivendo «Ros» l\'elenco non si restringe a una riga')
    tasti('Down')
    if not fuoco_su('Elenco dei contatti'):
        mancanze.append('Giù dalla ricerca veloce non porta all\'elenco')
    cognome = next((o for o in campi.get('Cognome', []) if o.getRole() in CAMPI), None)
    if cognome is None or not attendi(lambda: testo_di(cognome) == 'Rossi', 5):
        mancanze.append('Giù nell\'elenco non mostra il contatto')
    tasti('F3')
    if not fuoco_su('Cerca nome, telefono, email'):
        mancanze.append('F3 non porta il fuoco alla ricerca veloce')
    tasti('Escape')
    if not attendi(lambda: elenco.queryTable().nRows == 3, 5):
        mancanze.append('Esc nella ricerca veloce non la svuota')
    tasti('ctrl+n')
    if cognome is not None and not attendi(lambda: testo_di(cognome) == '', 5):
        mancanze.append('Ctrl+N non prepara un contatto nuovo')


def premi(radice, nome):
    """Presses a push button of the window; a toolbar button would answer only once what it
    opens has closed, so those commands go by their keys."""
    oggetto = next((o for o in discendenti(radice) if o.getRole() in PULSANTI and o.name == nome), None)
    if oggetto is None:
        mancanze.append(f'nessun pulsante «{nome}» da premere')
        return
    azioni = oggetto.queryAction()
    for i in range(azioni.nActions):
        if azioni.getName(i) in ('Press', 'ShowMenu'):
            azioni.doAction(i)
            return
    mancanze.append(f'«{oggetto.name}» non si può premere')


def controlla_finestra(nome, radice, etichette):
    """Every label names a field; no field is left without a name or a description."""
    oggetti = list(discendenti(radice))
    per_nome = {}
    for o in oggetti:
        ruolo = o.getRole()
        if ruolo in CAMPI or ruolo in PULSANTI:
            for n in nomi(o):
                per_nome.setdefault(n, []).append(o)
            if not o.name:
                mancanze.append(f'{nome}: un controllo ({o.getRoleName()}) senza nome')
            elif ruolo in CAMPI and not o.description:
                mancanze.append(f'{nome}: «{o.name}» senza descrizione')
    for voce in etichette:
        if not any(o.getRole() in CAMPI for o in per_nome.get(voce, [])):
            mancanze.append(f'{nome}: nessun campo «{voce}»')
    return per_nome


def cella(tabella, riga, colonna):
    c = tabella.queryTable().getAccessibleAt(riga, colonna)
    return c.name if c is not None else None


def main():
    csv = sys.argv[1]
    app = attendi(applicazione, 60)
    if app is None:
        print('Brenzola non compare tra le applicazioni accessibili')
        return 1

    principale = finestra(app, 'Brenzola 1.0')
    if principale is None:
        print('la finestra principale non si trova')
        return 1
    campi = controlla_finestra('finestra principale', principale, [
        'Cerca nome, telefono, email', 'Cognome', 'Nome', 'Data', 'Tipo Ref.', "Citta'", 'Prov.', 'Indirizzo', 'Cap',
        'Email', 'Telefono', 'Cell.', 'Data Nasc.', 'Fonte', 'Data ricontattare', 'Commenti', 'Elenco dei contatti'])
    for pulsante in ['Cerca', 'Salva', 'Nuovo', 'Elimina', 'Stampa', 'Esci', 'Mostra Tutti', 'Ricerca Avanzata',
                     'Indietro', 'Avanti', 'Agenda', 'Importa', 'Doppioni', 'Stampa Elenco Selezionato']:
        if not any(o.getRole() in PULSANTI for o in campi.get(pulsante, [])):
            mancanze.append(f'finestra principale: nessun pulsante «{pulsante}»')
    elenco = campi.get('Elenco dei contatti', [None])[0]
    if elenco is not None:
        tabella = elenco.queryTable()
        if tabella.nRows != 3:
            mancanze.append(f'l\'elenco ha {tabella.nRows} righe invece di 3')
        righe = [cella(elenco, r, 0) for r in range(min(tabella.nRows, 3))]
        if righe != ['Bianchi Anna', 'Rossi Anna', 'Verdi Anna']:
            mancanze.append(f'l\'elenco legge {righe}')
        intestazione = tabella.getColumnHeader(0)
        if intestazione is None or intestazione.name != 'Cognome e nome':
            mancanze.append('la colonna dell\'elenco non ha il suo titolo')

    # A message box is read with its text.
    premi(principale, 'Salva')
    messaggio = attendi(lambda: next((f for f in figli(app) if visibile(f) and f.getRole() == pyatspi.ROLE_ALERT), None))
    if messaggio is None or 'Scrivere il cognome!' not in messaggio.description:
        mancanze.append('il messaggio «Scrivere il cognome!» non si legge')
    if messaggio is not None:
        premi(messaggio, 'OK')
    if elenco is not None:
        percorsi_da_tastiera(principale, campi, elenco)

    tasti('ctrl+f')
    ricerca = finestra(app, 'Compilare i campi di ricerca')
    if ricerca is None:
        mancanze.append('la ricerca avanzata non si apre')
    else:
        controlla_finestra('ricerca avanzata', ricerca, [
            'Cognome', 'Nome', 'Da data', 'A data', 'Tipo Ref.', "Citta'", 'Prov.', 'Indirizzo', 'CAP', 'Email',
            'Telefono', 'Cellulare', 'Da data Nasc.', 'A data Nasc.', 'Da data ricontattare', 'A data ricontattare',
            'Fonte', 'Commenti'])
        premi(ricerca, 'Esci')

    tasti('ctrl+g')
    agenda = finestra(app, 'Da ricontattare')
    if agenda is None:
        mancanze.append('l\'agenda non si apre')
    else:
        campi = controlla_finestra('agenda', agenda,
                                   ['Scaduti, oggi e i prossimi', 'Da ricontattare', 'Compleanni della settimana'])
        griglia = campi.get('Da ricontattare', [None])[0]
        if griglia is not None:
            # The section's title, then the contact due in a few days.
            tabella = griglia.queryTable()
            testi = [cella(griglia, r, c) for r in range(min(tabella.nRows, 2)) for c in range(tabella.nColumns)]
            if 'Verdi Anna' not in testi:
                mancanze.append(f'l\'agenda legge {testi}')
            if tabella.getColumnHeader(1) is None or tabella.getColumnHeader(1).name != 'Cognome e nome':
                mancanze.append('le colonne dell\'agenda non hanno titolo')
        premi(agenda, 'Chiudi')

    tasti('ctrl+i')
    scelta = finestra(app, 'Importa contatti')
    if scelta is None:
        mancanze.append('la scelta del file da importare non si apre')
        return rapporto()
    nome_file = attendi(lambda: next((o for o in discendenti(scelta)
                                      if o.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)
                                      and o.getState().contains(pyatspi.STATE_FOCUSED)), None))
    if nome_file is None:
        mancanze.append('la scelta del file non ha un campo per il nome')
        return rapporto()
    nome_file.queryEditableText().setTextContents(csv)
    premi(scelta, 'Apri')
    importa = finestra(app, 'Importa contatti da')
    if importa is None:
        mancanze.append('la finestra d\'importazione CSV non si apre')
    else:
        controlla_finestra('importazione CSV', importa, [
            'Codifica dei caratteri', 'Separatore dei campi',
            'Per ogni colonna, il campo in cui va (le prime 20 righe del file)'])
        premi(importa, 'Annulla')
    return rapporto()


def rapporto():
    for mancanza in mancanze:
        print(mancanza)
    return 1 if mancanze else 0


if __name__ == '__main__':
    sys.exit(main())
