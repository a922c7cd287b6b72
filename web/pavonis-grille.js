// <pavonis-grille>: the AGGIR evaluation screen in a web page. The screen is
// built from the desktop's own description; every rule (row rule,
// combinations, weights, GIR, date check, printed page) runs in the
// desktop's C++ compiled to WebAssembly (pavonis-grille.wasm). This script
// only shows what the engine says and passes the user's actions to it.
//
// The build makes one module of it: before it, the constants `styleGrille`
// (pavonis-grille.css) and `ecran` (the screen, written from the desktop's
// description) and the engine's glue, `creerModulePavonis`.

const TWIPS_PAR_PIXEL = 15; // 1440 twips to the inch, 96 CSS pixels to the inch
const px = (twips) => `${twips / TWIPS_PAR_PIXEL}px`;
const GROUPES = ['A', 'B', 'C', 'D', 'E', 'F', 'G', 'H'];

// Fetched and compiled once for every screen of the page, from the moment
// the script is imported: while the first screen is being built.
const moduleMoteur = creerModulePavonis({ locateFile: (f) => new URL(f, import.meta.url).href });
const feuilleGrille = new CSSStyleSheet();
feuilleGrille.replaceSync(styleGrille);

// One screen's state in the engine; texts cross as UTF-8.
class Moteur {
  constructor(m) {
    this.m = m;
    this.session = m._pavonis_creer();
  }

  appeler(fonction, ...args) {
    const m = this.m;
    const alloues = [];
    const valeurs = args.map((a) => {
      if (typeof a !== 'string') return a;
      const n = m.lengthBytesUTF8(a) + 1;
      const p = m._malloc(n);
      m.stringToUTF8(a, p, n);
      alloues.push(p);
      return p;
    });
    try {
      const r = m[`_pavonis_${fonction}`](...valeurs);
      if (!r) throw new Error(m.UTF8ToString(m._pavonis_erreur()));
      return m.UTF8ToString(r);
    } finally {
      alloues.forEach((p) => m._free(p));
    }
  }

  json(fonction, ...args) {
    return JSON.parse(this.appeler(fonction, this.session, ...args));
  }

  poids(valeurs) {
    const p = this.m._malloc(valeurs.length * 8);
    try {
      this.m.HEAPF64.set(valeurs, p / 8);
      this.appeler('poids', this.session, p);
    } finally {
      this.m._free(p);
    }
  }
}

// Today's date as the date box shows it, and as the date service wants it.
function jour(dateDuJour) {
  const d = dateDuJour ? new Date(`${dateDuJour}T12:00:00`) : new Date();
  if (Number.isNaN(d.getTime())) throw new Error(`Date du jour illisible : « ${dateDuJour} » (attendu AAAA-MM-JJ).`);
  const deux = (n) => String(n).padStart(2, '0');
  return {
    annee: d.getFullYear(),
    mois: d.getMonth() + 1,
    jour: d.getDate(),
    texte: `${deux(d.getDate())}/${deux(d.getMonth() + 1)}/${d.getFullYear()}`,
  };
}

// The eight weight tables of a host: {A: [[b, c] x 10], ... H} or eight
// such tables in order; 160 numbers, group by group, row by row.
function poidsAplatis(poids) {
  const tables = Array.isArray(poids) ? poids : GROUPES.map((g) => poids?.[g]);
  if (tables.length !== 8) throw new Error(`Poids : huit tables attendues (A à H), ${tables.length} reçues.`);
  const valeurs = [];
  tables.forEach((table, g) => {
    if (!Array.isArray(table) || table.length !== 10)
      throw new Error(`Poids : la table ${GROUPES[g]} doit avoir 10 lignes de deux poids.`);
    table.forEach((ligne, l) => {
      if (!Array.isArray(ligne) || ligne.length !== 2 || !ligne.every(Number.isFinite))
        throw new Error(`Poids : la ligne ${l + 1} de la table ${GROUPES[g]} doit tenir deux nombres (B, C).`);
      valeurs.push(...ligne);
    });
  });
  return valeurs;
}

const styleImpression = `
@media screen { .pavonis-impression { display: none; } }
@media print {
  body > :not(.pavonis-impression) { display: none !important; }
  .pavonis-impression { display: block; position: absolute; left: 0; top: 0; }
  .pavonis-impression svg { display: block; }
}
@page { size: A4 portrait; margin: 0; }`;

export class PavonisGrille extends HTMLElement {
  static observedAttributes = ['evaluateur', 'beneficiaire', 'date', 'aide', 'date-du-jour', 'hauteur-ecran'];

  #moteur = null;
  #controles = new Map(); // name -> element
  #hauts = new Map(); // moved controls' current Top, in twips
  #valeurDefilement = 0;
  #resteMolette = 0;
  #focusAvantVolet = null;
  #avalerClic = false;
  #depart = null; // the date box's current departure has been checked
  #poids = null;

  constructor() {
    super();
    this.attachShadow({ mode: 'open' });
    this.W_Sortir = false;
    this.#construire();
    this.prete = moduleMoteur.then((m) => {
      this.#moteur = new Moteur(m);
      if (this.#poids) this.#moteur.poids(this.#poids);
      // What the host wrote before the engine was there.
      for (const nom of ['Txt_NomEnqueteur', 'Txt_NomBenef', 'Txt_DateEval'])
        this.#moteur.appeler('texte', this.#moteur.session, nom, this.#zone(nom).value);
      this.#appliquer(this.#moteur.json('etat'));
    });
  }

  // Properties of the host.
  get evaluateur() { return this.#zone('Txt_NomEnqueteur').value; }
  set evaluateur(v) { this.#ecrireZone('Txt_NomEnqueteur', v); }
  get beneficiaire() { return this.#zone('Txt_NomBenef').value; }
  set beneficiaire(v) { this.#ecrireZone('Txt_NomBenef', v); }
  get date() { return this.#zone('Txt_DateEval').value; }
  set date(v) { this.#ecrireZone('Txt_DateEval', v); }
  get titre() { return ecran.textes.titre; }

  get poids() { return this.#poids; }
  set poids(p) {
    this.#poids = p == null ? null : poidsAplatis(p);
    if (!this.#moteur || !this.#poids) return;
    this.#moteur.poids(this.#poids);
    // The screen shows the GIR of the new weights.
    this.#appliquer(this.#moteur.json('charger', this.#moteur.appeler('evaluation', this.#moteur.session)));
  }

  attributeChangedCallback(nom, _ancien, valeur) {
    if (nom === 'evaluateur') this.evaluateur = valeur ?? '';
    else if (nom === 'beneficiaire') this.beneficiaire = valeur ?? '';
    else if (nom === 'date') this.date = valeur ?? '';
    else if (nom === 'hauteur-ecran') this.#dimensionner();
  }

  connectedCallback() {
    this.#dimensionner();
    requestAnimationFrame(() => this.#centrerEntetes());
  }

  // A new evaluation: both names emptied, today's date, every row "Fait".
  init() {
    this.#pret();
    const date = jour(this.getAttribute('date-du-jour')).texte;
    this.#appliquer(this.#moteur.json('init', date));
    this.#modifiee();
  }

  // The evaluation shown, in the exchange format (JSON text).
  evaluation() {
    this.#pret();
    return this.#moteur.appeler('evaluation', this.#moteur.session);
  }

  // Shows an evaluation in the exchange format by the row rule; refuses,
  // naming the JSON path, what the screen cannot reach, and then changes
  // nothing.
  chargerEvaluation(json) {
    this.#pret();
    const texte = typeof json === 'string' ? json : JSON.stringify(json);
    this.#appliquer(this.#moteur.json('charger', texte));
    this.#modifiee();
  }

  // Prints the A4 page through the browser, nothing else of the web page.
  imprimer() {
    this.#pret();
    const page = this.#moteur.json('page', jour(this.getAttribute('date-du-jour')).texte);
    const feuille = document.createElement('div');
    feuille.className = 'pavonis-impression';
    feuille.append(dessinerPage(page));
    const style = document.createElement('style');
    style.textContent = styleImpression;
    document.head.append(style);
    document.body.append(feuille);
    const retirer = () => {
      feuille.remove();
      style.remove();
    };
    window.addEventListener('afterprint', retirer, { once: true });
    window.print();
    return feuille;
  }

  #pret() {
    if (!this.#moteur) throw new Error('Le composant n\'est pas encore prêt : attendez sa promesse « prete ».');
  }

  #zone(nom) {
    return this.#controles.get(nom);
  }

  #ecrireZone(nom, valeur) {
    this.#zone(nom).value = valeur ?? '';
    this.#moteur?.appeler('texte', this.#moteur.session, nom, this.#zone(nom).value);
  }

  #modifiee() {
    this.dispatchEvent(new CustomEvent('evaluation-modifiee', {
      bubbles: true, composed: true, detail: { evaluation: this.evaluation() },
    }));
  }

  // ---- The screen, built by one loop over its description.

  #construire() {
    const racine = this.shadowRoot;
    racine.adoptedStyleSheets = [feuilleGrille];
    const surface = document.createElement('div');
    surface.className = 'surface';
    surface.style.width = px(ecran.surface.largeur);
    surface.style.height = px(ecran.surface.hauteur);
    racine.append(surface);

    for (const d of ecran.controles) {
      const e = creerControle(d);
      e.id = d.nom;
      e.classList.add('c');
      e.style.left = px(d.gauche);
      e.style.top = px(d.haut);
      e.style.width = px(d.largeur);
      e.style.height = px(d.hauteur);
      const nom = ecran.accessibles[d.nom];
      if (nom) {
        e.setAttribute('aria-label', nom.nom);
        if (nom.description) e.setAttribute('aria-description', nom.description);
        if (nom.bulle) e.title = nom.bulle;
      }
      (d.conteneur ? this.#controles.get(d.conteneur) : surface).append(e);
      this.#controles.set(d.nom, e);
    }
    // Tab visits the controls in the screen's own order.
    ecran.tabulation.forEach((nom, i) => this.#controles.get(nom).setAttribute('tabindex', String(i + 1)));
    for (const nom of ecran.deplaces) this.#hauts.set(nom, ecran.controles.find((d) => d.nom === nom).haut);

    this.#message = creerMessage(racine);
    this.#brancher(racine);
  }

  #message = null;
  #entetesCentres = false;

  // The words of the column headings, centred over their columns.
  #centrerEntetes() {
    if (this.#entetesCentres || !this.isConnected || this.getBoundingClientRect().width === 0) return;
    this.#entetesCentres = true;
    for (const { etiquette, ligne } of ecran.entetes) {
      const e = this.#controles.get(etiquette);
      const l = ecran.lignes[ligne];
      const colonnes = [l.fait, l.faitPas, ...l.cases].map((n) => this.#controles.get(n));
      const gauche = e.getBoundingClientRect().left;
      const texte = e.textContent;
      const debut = texte.slice(0, texte.indexOf(ecran.motsColonnes[0]));
      e.textContent = '';
      e.classList.add('entete');
      e.setAttribute('aria-label', texte);
      const titre = document.createElement('span');
      titre.textContent = debut;
      titre.setAttribute('aria-hidden', 'true');
      e.append(titre);
      ecran.motsColonnes.forEach((mot, k) => {
        const r = colonnes[k].getBoundingClientRect();
        const s = document.createElement('span');
        s.className = 'mot';
        s.textContent = mot;
        s.setAttribute('aria-hidden', 'true');
        s.style.left = `${r.left + r.width / 2 - gauche}px`;
        e.append(s);
      });
    }
  }

  // ---- What the engine says, on the controls.

  #appliquer(etat) {
    for (const [nom, v] of Object.entries(etat)) {
      const e = this.#controles.get(nom);
      if ('texte' in v) {
        if (e.value !== v.texte) e.value = v.texte;
        continue;
      }
      e.checked = v.valeur;
      if ('actif' in v) e.disabled = !v.actif;
    }
  }

  // ---- The user's actions.

  #brancher(racine) {
    racine.addEventListener('click', (ev) => {
      // The rest of a press refused for the date; not a key's click (detail 0).
      if (this.#avalerClic && ev.detail > 0) {
        this.#avalerClic = false;
        ev.preventDefault();
        ev.stopImmediatePropagation();
        return;
      }
      const e = ev.target;
      if (!this.#moteur) {
        ev.preventDefault();
        return;
      }
      if (e.type === 'radio' || e.type === 'checkbox') {
        this.#appliquer(this.#moteur.json('cliquer', e.id));
        this.#modifiee();
      } else if (e.id === 'Cmd_NouvelleEval') {
        this.init();
      } else if (e.id === 'Cmd_Imprimer') {
        this.imprimer();
      } else if (e.id === 'Cmd_Retour') {
        this.W_Sortir = true;
        this.#valeurDefilement = 0;
        this.dispatchEvent(new CustomEvent('retour', { bubbles: true, composed: true }));
      } else {
        const v = ecran.variables.find((x) => x.etiquette === e.id);
        if (v) this.#basculerVolet();
      }
    }, true);

    // Hover over a variable's frame (its own area) or its name.
    const parCadre = new Map();
    for (const v of ecran.variables) {
      parCadre.set(v.cadre, v);
      parCadre.set(v.etiquette, v);
    }
    racine.addEventListener('mousemove', (ev) => {
      const v = parCadre.get(ev.target.id);
      if (v) this.#placerVolet(v);
    });

    // Identity fields, as typed.
    for (const nom of ['Txt_NomEnqueteur', 'Txt_NomBenef', 'Txt_DateEval']) {
      this.#zone(nom).addEventListener('input', () => {
        this.#moteur?.appeler('texte', this.#moteur.session, nom, this.#zone(nom).value);
        if (this.#moteur) this.#modifiee();
      });
    }
    this.#brancherDate(racine);

    racine.addEventListener('keydown', (ev) => {
      this.#avalerClic = false;
      const volet = this.#controles.get('WB_Aide');
      if (ev.key === 'F1') {
        const v = this.#variableDe(ev.target);
        if (v) {
          ev.preventDefault();
          this.#placerVolet(v);
          this.#basculerVolet();
        }
      } else if (ev.key === 'Escape' && !volet.hidden) {
        ev.preventDefault();
        ev.stopImmediatePropagation();
        this.#masquerVolet();
      }
    }, true);

    const barre = this.#controles.get('Bdv_Controles');
    barre.addEventListener('input', () => this.#defiler());
    barre.addEventListener('change', () => this.#defiler());
    this.addEventListener('wheel', (ev) => this.#molette(ev), { passive: false });
    racine.addEventListener('focusin', (ev) => this.#montrer(ev.target));
    this.#controles.get('WB_Aide').addEventListener('load', () => this.#brancherPage());
  }

  // The date box: every typed character other than a digit or "/" becomes
  // "/"; leaving it (a click elsewhere, Tab, the host moving the focus)
  // checks the date first, and a refused date keeps the user there.
  #brancherDate(racine) {
    const date = this.#zone('Txt_DateEval');
    const inserer = (texte) => {
      date.setRangeText(texte, date.selectionStart, date.selectionEnd, 'end');
      date.dispatchEvent(new Event('input', { bubbles: true }));
    };
    date.addEventListener('keydown', (ev) => {
      const touche = ev.key;
      if (touche === 'Tab') {
        if (!this.#quitterDate()) ev.preventDefault();
        return;
      }
      // Keys that type a control character: Enter, Escape, Ctrl+letter.
      if (touche === 'Enter' || touche === 'Escape' || (ev.ctrlKey && touche.length === 1)) {
        ev.preventDefault();
        ev.stopPropagation();
        inserer('/');
      }
    });
    date.addEventListener('beforeinput', (ev) => {
      if (ev.data == null && !ev.dataTransfer) return;
      const donnees = ev.data ?? ev.dataTransfer.getData('text/plain');
      const filtre = Array.from(donnees, (c) => (/[0-9/]/.test(c) ? c : '/')).join('');
      if (filtre === donnees) return;
      ev.preventDefault();
      inserer(filtre);
    });
    // A press elsewhere in the screen: the check runs before it acts.
    racine.addEventListener('pointerdown', (ev) => {
      this.#avalerClic = false;
      if (this.shadowRoot.activeElement !== date || ev.target === date) return;
      if (!this.#quitterDate()) {
        ev.preventDefault();
        ev.stopImmediatePropagation();
        this.#avalerClic = true;
      }
    }, true);
    date.addEventListener('focusin', () => { this.#depart = null; });
    date.addEventListener('focusout', () => {
      // Another window taking the focus is not leaving the box.
      if (!document.hasFocus()) return;
      if (this.#depart === null) this.#quitterDate();
    });
  }

  // Normalises and checks the date; false when the user stays in the box.
  #quitterDate() {
    const date = this.#zone('Txt_DateEval');
    if (!this.#moteur || date.value === '') {
      this.#depart = true;
      return true;
    }
    const j = jour(this.getAttribute('date-du-jour'));
    const r = JSON.parse(this.#moteur.appeler('date', date.value, j.annee, j.mois, j.jour));
    if (date.value !== r.texte) {
      date.value = r.texte;
      this.#moteur.appeler('texte', this.#moteur.session, 'Txt_DateEval', r.texte);
      this.#modifiee();
    }
    this.#depart = !r.revoir && !r.refusee;
    if (this.#depart) return true;
    if (r.refusee) {
      this.#message(ecran.textes.titreDate, ecran.textes.dateRefusee, () => date.focus());
    } else {
      queueMicrotask(() => date.focus());
    }
    return false;
  }

  // ---- The help pane.

  #cheminAide() {
    const base = this.getAttribute('aide') ?? new URL('aide/', import.meta.url).href;
    return `${base.endsWith('/') ? base : `${base}/`}aide_aggir`;
  }

  #placerVolet(v) {
    const volet = this.#controles.get('WB_Aide');
    this.#hauts.set('WB_Aide', ecran.volet.haut);
    volet.style.top = px(ecran.volet.haut);
    volet.style.left = px(v.gaucheVolet);
    volet.style.height = px(ecran.volet.hauteur);
    volet.style.width = px(ecran.volet.largeur);
    const page = `${v.numero}.html`;
    const adresse = `${this.#cheminAide()}${page}`;
    if (adresseVolet(volet).slice(-7) !== adresse.slice(-7)) volet.src = adresse;
    this.#couvrir();
  }

  #basculerVolet() {
    const volet = this.#controles.get('WB_Aide');
    if (volet.hidden) {
      this.#focusAvantVolet = this.shadowRoot.activeElement;
      volet.hidden = false;
    } else {
      volet.hidden = true;
    }
    this.#couvrir();
  }

  #masquerVolet() {
    const volet = this.#controles.get('WB_Aide');
    volet.hidden = true;
    this.#couvrir();
    this.#focusAvantVolet?.focus();
  }

  // While the pane covers a column, the controls under it are out of reach.
  #couvrir() {
    const volet = this.#controles.get('WB_Aide');
    const r = volet.hidden ? null : volet.getBoundingClientRect();
    for (const v of ecran.variables) {
      const cadre = this.#controles.get(v.cadre);
      const c = cadre.getBoundingClientRect();
      cadre.inert = !!r && c.left >= r.left - 1 && c.right <= r.right + 1 && c.top < r.bottom && c.bottom > r.top;
    }
  }

  // Escape inside the page hides the pane too.
  #brancherPage() {
    try {
      this.#controles.get('WB_Aide').contentWindow.addEventListener('keydown', (ev) => {
        if (ev.key === 'Escape') this.#masquerVolet();
      });
    } catch {
      // A page of another origin keeps its keys.
    }
  }

  #variableDe(e) {
    for (let n = e; n && n.id; n = n.parentElement) {
      const v = ecran.variables.find((x) => x.cadre === n.id || x.etiquette === n.id);
      if (v) return v;
    }
    return null;
  }

  // ---- Layout and scrolling.

  #dimensionner() {
    const hauteurEcran = Number(this.getAttribute('hauteur-ecran') ?? window.screen.height);
    const grande = hauteurEcran >= ecran.ecranGrandPixels;
    const d = grande ? ecran.grande : ecran.petite;
    this.style.width = px(d.largeur);
    this.style.height = px(d.hauteur);
    const barre = this.#controles.get('Bdv_Controles');
    barre.disabled = grande;
    if (!grande) {
      barre.min = '0';
      barre.max = String(arrondiPair((ecran.grande.hauteur - d.hauteur) / ecran.pas));
      barre.step = '1';
    }
  }

  // Every control placed on the surface moves by the steps since the last
  // move, once whatever the number of events.
  #defiler() {
    const v = Number(this.#controles.get('Bdv_Controles').value);
    const decalage = (this.#valeurDefilement - v) * ecran.pas;
    for (const [nom, haut] of this.#hauts) {
      this.#hauts.set(nom, haut + decalage);
      this.#controles.get(nom).style.top = px(haut + decalage);
    }
    this.#valeurDefilement = v;
    this.#couvrir();
  }

  #pas(n) {
    const barre = this.#controles.get('Bdv_Controles');
    if (barre.disabled || n === 0) return;
    const v = Math.min(Number(barre.max), Math.max(Number(barre.min), Number(barre.value) + n));
    if (v === Number(barre.value)) return;
    barre.value = String(v);
    this.#defiler();
  }

  #molette(ev) {
    const volet = this.#controles.get('WB_Aide');
    if (this.#controles.get('Bdv_Controles').disabled || (!volet.hidden && ev.composedPath().includes(volet))) return;
    ev.preventDefault();
    this.#resteMolette += ev.deltaMode === 0 ? ev.deltaY / 100 : ev.deltaY;
    const n = Math.trunc(this.#resteMolette);
    this.#resteMolette -= n;
    this.#pas(n);
  }

  // A control that takes the focus out of view comes into it.
  #montrer(e) {
    if (this.#controles.get('Bdv_Controles').disabled || !e.id || e.id === 'Bdv_Controles') return;
    const hote = this.getBoundingClientRect();
    const r = e.getBoundingClientRect();
    const pasPx = ecran.pas / TWIPS_PAR_PIXEL;
    if (r.bottom > hote.bottom) this.#pas(Math.ceil((r.bottom - hote.bottom) / pasPx));
    else if (r.top < hote.top) this.#pas(-Math.ceil((hote.top - r.top) / pasPx));
  }
}

// The address the pane's browser shows.
function adresseVolet(volet) {
  try {
    const a = volet.contentWindow?.location.href;
    if (a && a !== 'about:blank') return a;
  } catch {
    // Another origin: what we asked for.
  }
  return volet.getAttribute('src') ?? '';
}

// The nearest integer, half-way values to the even one.
function arrondiPair(x) {
  const r = Math.round(x);
  return Math.abs(x % 1) === 0.5 && r % 2 !== 0 ? r - 1 : r;
}

function creerControle(d) {
  switch (d.genre) {
    case 'etiquette': {
      const e = document.createElement('div');
      e.className = `etiquette${d.fondOrange ? ' orange' : ''}${d.retourALaLigne ? ' retour' : ''}`;
      e.textContent = d.legende ?? '';
      return e;
    }
    case 'zone': {
      const e = document.createElement('input');
      e.type = 'text';
      e.readOnly = !!d.lectureSeule;
      if (d.lectureSeule) e.maxLength = 1;
      if (d.grandePolice) e.className = 'grande';
      e.autocomplete = 'off';
      e.spellcheck = false;
      return e;
    }
    case 'cadre': {
      const e = document.createElement('div');
      e.className = 'cadre';
      if (d.legende) {
        e.setAttribute('role', 'group');
        const l = document.createElement('span');
        l.className = 'legende-cadre';
        l.textContent = d.legende;
        e.append(l);
      }
      return e;
    }
    case 'bouton': {
      const e = document.createElement('button');
      e.type = 'button';
      e.textContent = d.legende;
      return e;
    }
    case 'case':
    case 'option': {
      const e = document.createElement('input');
      e.type = d.genre === 'case' ? 'checkbox' : 'radio';
      if (e.type === 'radio') e.name = d.conteneur;
      return e;
    }
    case 'barre': {
      const e = document.createElement('input');
      e.type = 'range';
      e.min = '0';
      e.max = '32767';
      e.value = '0';
      e.setAttribute('aria-orientation', 'vertical');
      return e;
    }
    default: {
      const e = document.createElement('iframe');
      e.hidden = true;
      e.title = 'Aide au remplissage';
      return e;
    }
  }
}

// A modal message with an exclamation mark and one OK button.
function creerMessage(racine) {
  const boite = document.createElement('dialog');
  boite.setAttribute('aria-labelledby', 'titre-message');
  boite.innerHTML = '<div class="titre" id="titre-message"></div><div class="corps"><span class="icone" aria-hidden="true">⚠</span><span class="texte"></span></div><form method="dialog"><button>OK</button></form>';
  racine.append(boite);
  let suite = null;
  boite.addEventListener('close', () => suite?.());
  return (titre, texte, apres) => {
    boite.querySelector('.titre').textContent = titre;
    boite.querySelector('.texte').textContent = texte;
    suite = apres;
    boite.showModal();
    boite.querySelector('button').focus();
  };
}

// The A4 page as SVG, in twips: each text, line and box where the desktop
// draws it.
function dessinerPage(page) {
  const ns = 'http://www.w3.org/2000/svg';
  const svg = document.createElementNS(ns, 'svg');
  svg.setAttribute('width', '210mm');
  svg.setAttribute('height', '297mm');
  svg.setAttribute('viewBox', `0 0 ${page.largeur} ${page.hauteur}`);
  const g = document.createElementNS(ns, 'g');
  g.setAttribute('transform', `translate(${page.marge} ${page.marge})`);
  svg.append(g);
  const trait = 4.8; // one dot at 300 dpi, as the desktop's pen
  for (const o of page.operations) {
    let e;
    if (o.genre === 'texte') {
      e = document.createElementNS(ns, 'text');
      e.setAttribute('x', o.x1);
      e.setAttribute('y', o.y1 + o.ascendante);
      e.setAttribute('font-family', '"Liberation Sans", Arial, sans-serif');
      e.setAttribute('font-size', o.points * 20);
      if (o.gras) e.setAttribute('font-weight', 'bold');
      if (o.italique) e.setAttribute('font-style', 'italic');
      e.setAttribute('fill', o.couleur);
      e.setAttribute('xml:space', 'preserve');
      e.style.whiteSpace = 'pre';
      e.textContent = o.texte;
    } else if (o.genre === 'ligne') {
      e = document.createElementNS(ns, 'line');
      for (const k of ['x1', 'y1', 'x2', 'y2']) e.setAttribute(k, o[k]);
      e.setAttribute('stroke', o.couleur);
      e.setAttribute('stroke-width', trait);
      e.setAttribute('stroke-linecap', 'square');
    } else {
      e = document.createElementNS(ns, 'rect');
      const x = Math.min(o.x1, o.x2), y = Math.min(o.y1, o.y2);
      const l = Math.abs(o.x2 - o.x1), h = Math.abs(o.y2 - o.y1);
      if (o.genre === 'boite-pleine') {
        // The border is part of the box, as on the desktop.
        e.setAttribute('x', x - trait / 2);
        e.setAttribute('y', y - trait / 2);
        e.setAttribute('width', l + trait);
        e.setAttribute('height', h + trait);
        e.setAttribute('fill', o.couleur);
      } else {
        e.setAttribute('x', x);
        e.setAttribute('y', y);
        e.setAttribute('width', l);
        e.setAttribute('height', h);
        e.setAttribute('fill', 'none');
        e.setAttribute('stroke', o.couleur);
        e.setAttribute('stroke-width', trait);
      }
    }
    g.append(e);
  }
  return svg;
}

customElements.define('pavonis-grille', PavonisGrille);
