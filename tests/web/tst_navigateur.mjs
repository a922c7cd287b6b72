// <pavonis-grille> in Debian's Chromium against the desktop programs: same clicks, restored evaluation, help
// pages, date rule and printed page.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { mkdtempSync, readFileSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import puppeteer from 'puppeteer-core';
import { XMLParser } from 'fast-xml-parser';

const { PAVONIS_SITE: site, PAVONIS_HOTE: hote, PAVONIS_RAPPORT: rapport, PAVONIS_CHROMIUM: chromium,
  PAVONIS_EXEMPLES: exemples } = process.env;
const JOUR = '2026-12-05';
const dossier = mkdtempSync(join(tmpdir(), 'pavonis-navigateur-'));
const essai = `<!doctype html><meta charset="utf-8"><body style="margin:0">
<pavonis-grille date-du-jour="${JOUR}" hauteur-ecran="900"></pavonis-grille>
<script type="module">import './pavonis-grille.js';
const g = document.querySelector('pavonis-grille'); await g.prete; g.init(); window.pret = true;</script>`;

let serveur, navigateur, page, adresse;
before(async () => {
  const types = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.html': 'text/html' };
  serveur = createServer((req, res) => {
    const chemin = decodeURIComponent(new URL(req.url, 'http://x').pathname);
    let corps;
    try { corps = chemin === '/essai.html' ? essai : readFileSync(join(site, chemin)); } catch { return res.writeHead(404).end(); }
    res.writeHead(200, { 'Content-Type': `${types[extname(chemin)] ?? 'application/octet-stream'}; charset=utf-8` }).end(corps);
  }).listen(0);
  adresse = `http://127.0.0.1:${serveur.address().port}`;
  navigateur = await puppeteer.launch({ executablePath: chromium, args: ['--no-sandbox'] });
  page = await navigateur.newPage();
  page.on('pageerror', (e) => assert.fail(`erreur de la page : ${e.message}`));
});
after(async () => { await navigateur?.close(); serveur?.close(); });

const ouvrir = async () => page.goto(`${adresse}/essai.html`).then(() => page.waitForFunction(() => window.pret));
const grille = (f, ...args) => page.evaluate(f, ...args);
const controle = (nom) => page.$(`pavonis-grille >>> #${nom}`);
const cliquer = async (nom) => (await controle(nom)).click();
const actif = () => grille(() => document.querySelector('pavonis-grille').shadowRoot.activeElement?.id ?? '');
const evaluationWeb = () => grille(() => JSON.parse(document.querySelector('pavonis-grille').evaluation()));
// Every option, box and text box of the screen as the desktop's state names them.
const etatWeb = () => grille(() => Object.fromEntries(
  [...document.querySelector('pavonis-grille').shadowRoot.querySelectorAll('input[id^=Opt_],input[id^=Cac_],input[id^=Txt_]')]
    .map((e) => [e.id, e.type === 'text' ? { texte: e.value } : { valeur: e.checked, actif: !e.disabled }])));

// The desktop demo host, replaying `lignes`; its evaluation and controls.
function bureau(lignes, ...options) {
  const [scenario, sortie, etat] = ['scenario.txt', 'evaluation.json', 'etat.json'].map((f) => join(dossier, f));
  writeFileSync(scenario, `${lignes.join('\n')}\n`);
  const r = spawnSync(hote, ['--scenario', scenario, '--evaluation', sortie, '--etat', etat, ...options],
    { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', PAVONIS_DATE_DU_JOUR: JOUR }, encoding: 'utf8' });
  assert.equal(r.status, 0, r.stderr);
  const controles = JSON.parse(readFileSync(etat, 'utf8')).controle.controles;
  return {
    evaluation: JSON.parse(readFileSync(sortie, 'utf8')),
    etat: Object.fromEntries(controles.filter((c) => /^(Opt|Cac|Txt)_/.test(c.nom)).map((c) => [c.nom,
      'texte' in c ? { texte: c.texte } : { valeur: Boolean(c.valeur), actif: c.actif }])),
  };
}

test('les mêmes clics donnent la même évaluation, GIR non monotone compris', async () => {
  await ouvrir();
  // Orientation C, Toilette B, Transferts C: GIR 2; Déplacements intérieurs B then gives GIR 3.
  const gir2 = ['Opt_OrientationTempsFaitPas', 'Opt_OrientationEspaceFaitPas', 'Opt_ToiletteHFaitPas', 'Cac_ToiletteHS',
    'Opt_TransfertsFaitPas'];
  const gir3 = [...gir2, 'Opt_DeplacInterFaitPas', 'Cac_DeplacInterS'];
  for (const [clics, gir] of [[gir2, 2], [gir3, 3]]) {
    await ouvrir();
    for (const n of clics) await cliquer(n);
    const web = await evaluationWeb();
    assert.equal(web.resultats.gir, gir);
    assert.deepEqual(web, bureau(clics.map((n) => `cliquer ${n}`)).evaluation);
  }
  // Random sequences over the enabled options and boxes, a fixed seed.
  let graine = 20261205;
  const hasard = (n) => ((graine = (graine * 1103515245 + 12345) % 2147483648) % n);
  for (let s = 0; s < 6; ++s) {
    await ouvrir();
    const clics = [];
    for (let k = 0; k < 30; ++k) {
      const actifs = Object.entries(await etatWeb()).filter(([n, v]) => !n.startsWith('Txt_') && v.actif);
      clics.push(actifs[hasard(actifs.length)][0]);
      await cliquer(clics.at(-1));
    }
    assert.deepEqual(await evaluationWeb(), bureau(clics.map((n) => `cliquer ${n}`)).evaluation, clics.join(' '));
  }
});

test('chargerEvaluation montre ce que montre le bureau, et nomme le chemin de ce qu\'il refuse', async () => {
  await ouvrir();
  const json = readFileSync(join(exemples, 'evaluation.json'), 'utf8');
  await grille((j) => document.querySelector('pavonis-grille').chargerEvaluation(j), json);
  const attendu = bureau(['# rien'], '--charger', join(exemples, 'evaluation.json')).etat;
  const web = await etatWeb();
  for (const [nom, v] of Object.entries(attendu)) assert.deepEqual(web[nom], v, nom);
  for (const [cuisine, chemin] of [[{ choix: 'peut-être' }, '/lignes/Cuisine/choix'], [{ choix: 'fait', adverbes: ['S'] }, 'Cuisine']]) {
    const fautif = JSON.parse(json);
    fautif.lignes.Cuisine = cuisine;
    const message = await grille((j) => {
      try { document.querySelector('pavonis-grille').chargerEvaluation(j); } catch (e) { return e.message; }
      return '';
    }, JSON.stringify(fautif));
    assert.match(message, new RegExp(chemin));
    assert.deepEqual(await etatWeb(), web, 'un refus ne change rien');
  }
});

test('le volet d\'aide : la page et la place de chaque variable', async () => {
  await ouvrir();
  // Pane Left by variable: over the right column for the ten discriminant ones.
  const discriminantes = [1, 2, 3, 4, 5, 7, 10, 11, 16, 17];
  const etiquettes = ['Etq_Transferts2008', 'Etq_DeplacementInterieurs2008', 'Etq_Toilette2008', 'Etq_Elimination2008',
    'Etq_Habillage2008', 'Etq_Cuisine2008', 'Etq_Alimentation2008', 'Etq_SuiviTraitement2008', 'Etq_Menage2008',
    'Etq_Alerter2008', 'Etq_DeplacementExterieurs2008', 'Etq_Transports2008', 'Etq_ActivitesTempsLibre',
    'Etq_Achats2008', 'Etq_Gestion2008', 'Etq_Orientation2008', 'Etq_Coherence2008'];
  const volet = () => grille(() => {
    const g = document.querySelector('pavonis-grille'), v = g.shadowRoot.getElementById('WB_Aide');
    const h = g.getBoundingClientRect(), r = v.getBoundingClientRect();
    return { src: v.src, visible: !v.hidden, titre: v.contentDocument?.querySelector('h1')?.textContent ?? '',
      place: [r.left - h.left, r.top - h.top, r.width, r.height].map((x) => Math.round(x * 15)) };
  });
  for (const [i, etiquette] of [...etiquettes.entries(), [6, etiquettes[6]]]) { // 17 then 7: same address end
    const n = i + 1;
    await (await controle(etiquette)).hover();
    await page.waitForFunction((k) => document.querySelector('pavonis-grille').shadowRoot
      .getElementById('WB_Aide').contentDocument?.URL.endsWith(`aide_aggir${k}.html`), {}, n);
    await cliquer(etiquette);
    const v = await volet();
    assert.ok(v.src.endsWith(`/aide/aide_aggir${n}.html`), v.src);
    assert.ok(v.visible && v.titre.startsWith(`${n} `), `${n} : ${v.titre}`);
    assert.deepEqual(v.place, [discriminantes.includes(n) ? 7320 : 120, 1320, 6975, 5295]);
    await cliquer(etiquette);
    assert.equal((await volet()).visible, false);
  }
  // F1 on a variable's box shows the pane, Escape hides it and gives the focus back.
  await (await controle('Opt_MenageFait')).focus(), await page.keyboard.press('F1');
  assert.ok((await volet()).visible && (await volet()).src.endsWith('aide_aggir9.html'));
  await page.keyboard.press('Escape');
  assert.deepEqual([(await volet()).visible, await actif()], [false, 'Opt_MenageFait']);
});

test('poids : la colonne B puis la colonne C de chaque ligne', async () => {
  await ouvrir();
  const poids = Object.fromEntries([...'ABCDEFGH'].map((g) => [g, Array.from({ length: 10 }, () => [0, 0])]));
  poids.A[0] = [4380, 0]; // Cohérence B weighs 4380 in group A: GIR 1
  await grille((p) => { document.querySelector('pavonis-grille').poids = p; }, poids);
  for (const n of ['Opt_CoherenceCommunicationFaitPas', 'Cac_CoherenceCommunicationS']) await cliquer(n);
  assert.equal((await evaluationWeb()).resultats.gir, 1);
});

test('la date : filtre des touches, normalisation et refus comme au bureau', async () => {
  await ouvrir();
  const date = await controle('Txt_DateEval');
  const quitter = async (texte) => {
    await date.click({ count: 3 });
    await page.keyboard.press('Backspace');
    await page.keyboard.type(texte);
    await page.keyboard.press('Tab');
    return grille(() => {
      const r = document.querySelector('pavonis-grille').shadowRoot;
      const d = r.querySelector('dialog');
      return { texte: r.getElementById('Txt_DateEval').value, focus: r.activeElement?.id ?? '',
        message: d.open ? `${d.querySelector('.titre').textContent} : ${d.querySelector('.texte').textContent}` : '' };
    });
  };
  const refus = 'Message NORVELIS : Erreur de saisie dans la date, veuillez la ressaisir.';
  // Today is 5 December 2026.
  for (const [tape, texte, message, reste] of [
    ['5/12/26', '05/12/2026', '', false], ['05.12.1950', '05/12/1950', '', false], ['5/12/27', '05/12/1927', '', false],
    ['6/12/2026', '06/12/2026', refus, true], ['31/02/2026', '31/02/2026', refus, true],
    ['31/12/1899', '31/12/1899', refus, true], ['0512', '05/12/2026', '', true], ['3112', '31/12/2026', '', true], ['1a2', '01/02/2026', '', true],
  ]) {
    const r = await quitter(tape);
    assert.equal(r.texte, texte, tape);
    assert.equal(r.message, message, tape);
    if (message) {
      await page.keyboard.press('Enter');
      // The click elsewhere waits for a good date.
      await cliquer('Opt_CuisineFaitPas');
      assert.equal((await etatWeb()).Opt_CuisineFaitPas.valeur, false, tape);
      await page.keyboard.press('Enter');
    }
    assert.equal((await actif()) === 'Txt_DateEval', reste, tape);
  }
  await date.click({ count: 3 }), await page.keyboard.type('7x'); // a key other than a digit or "/" types "/"
  assert.equal(await grille(() => document.querySelector('pavonis-grille').shadowRoot.getElementById('Txt_DateEval').value), '7/');
});

// Words (pdftotext) and rules (mutool trace) of a PDF, in points.
function lirePdf(fichier) {
  const xml = new XMLParser({ ignoreAttributes: false, attributeNamePrefix: '', preserveOrder: true });
  const mots = [];
  const html = xml.parse(execFileSync('pdftotext', ['-bbox', fichier, '-'], { encoding: 'utf8' }));
  const parcourir = (noeuds, f) => noeuds.forEach((n) => { f(n); for (const [k, v] of Object.entries(n)) if (k !== ':@' && Array.isArray(v)) parcourir(v, f); });
  parcourir(html, (n) => n.word && mots.push({ texte: n.word[0]['#text'].toString(), x: +n[':@'].xMin, y: +n[':@'].yMin }));
  const traits = [];
  parcourir(xml.parse(execFileSync('mutool', ['trace', fichier], { encoding: 'utf8' })), (n) => {
    const genre = n.stroke_path ? 'trait' : n.fill_path ? 'plein' : null;
    if (!genre || n[':@'].color === '1 1 1') return;
    const [a, b, c, d, e, f] = n[':@'].transform.split(' ').map(Number);
    const points = n[genre === 'trait' ? 'stroke_path' : 'fill_path'].filter((p) => p.moveto || p.lineto)
      .map((p) => p[':@']).map(({ x, y }) => [a * x + c * y + e, b * x + d * y + f]);
    const xs = points.map((p) => p[0]), ys = points.map((p) => p[1]);
    if (genre === 'plein') traits.push([genre, Math.min(...xs), Math.min(...ys), Math.max(...xs), Math.max(...ys)]);
    else points.forEach((p, i) => traits.push([genre, ...p, ...points[(i + 1) % points.length]]));
  });
  return { mots, traits };
}

test('la page imprimée par le navigateur est celle du bureau, à 1 mm près', async () => {
  await ouvrir();
  await grille((j) => {
    window.print = () => {};
    document.querySelector('pavonis-grille').chargerEvaluation(j);
  }, readFileSync(join(exemples, 'evaluation.json'), 'utf8'));
  await cliquer('Cmd_Imprimer');
  const web = join(dossier, 'web.pdf'), desktop = join(dossier, 'bureau.pdf');
  await page.pdf({ path: web, preferCSSPageSize: true, printBackground: true });
  execFileSync(rapport, [join(exemples, 'evaluation.json'), '-o', desktop],
    { env: { ...process.env, QT_QPA_PLATFORM: 'offscreen', PAVONIS_DATE_DU_JOUR: JOUR } });
  const mm = 72 / 25.4;
  const [b, w] = [lirePdf(desktop), lirePdf(web)];
  assert.ok(b.mots.length > 150 && b.traits.length > 150);
  const apparier = (attendus, trouves, egal, quoi) => {
    const libres = [...trouves];
    for (const a of attendus) {
      const i = libres.findIndex((t) => egal(a, t));
      assert.ok(i >= 0, `${quoi} du bureau sans pareil dans le navigateur : ${JSON.stringify(a)}`);
      libres.splice(i, 1);
    }
    assert.deepEqual(libres, [], `${quoi} en trop dans le navigateur`);
  };
  apparier(b.mots, w.mots, (m, n) => m.texte === n.texte && Math.abs(m.x - n.x) <= mm && Math.abs(m.y - n.y) <= mm, 'mot');
  const proche = (s, t) => s[0] === t[0] && [1, 2, 3, 4].every((k) => Math.abs(s[k] - t[k]) <= mm);
  const inverse = (t) => [t[0], t[3], t[4], t[1], t[2]];
  apparier(b.traits, w.traits, (s, t) => proche(s, t) || proche(s, inverse(t)), 'trait');
});
