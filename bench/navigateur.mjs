// The browser's component in headless Chromium: the bundle's size (gzip, help
// pages aside), its first render and a click's way to the GIR.
//   node bench/navigateur.mjs build/web/site
import { gzipSync } from 'node:zlib';
import { readFileSync, readdirSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';
import puppeteer from 'puppeteer-core';

const site = process.argv[2] ?? 'build/web/site';
const fichiers = readdirSync(site).filter((f) => /\.(js|wasm|css)$/.test(f));
const taille = fichiers.reduce((t, f) => t + gzipSync(readFileSync(join(site, f)), { level: 9 }).length, 0);
console.log(`Paquet (${fichiers.join(', ')}), gzip : ${(taille / 1024).toFixed(1)} Kio`);

const types = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.html': 'text/html' };
// The page loads both files at once, as docs/navigateur.md advises hosts.
// Times from the start of navigation: the screen's first frame, then the
// first frame with the engine's results (init done, GIR shown).
const page0 = `<!doctype html><meta charset="utf-8">
<link rel="modulepreload" href="pavonis-grille.js">
<link rel="preload" href="pavonis-grille.wasm" as="fetch" type="application/wasm" crossorigin>
<pavonis-grille hauteur-ecran="900"></pavonis-grille>
<script type="module">import './pavonis-grille.js';
const g = document.querySelector('pavonis-grille');
requestAnimationFrame(() => { window.affiche = performance.now(); });
await g.prete; g.init();
await new Promise(requestAnimationFrame); window.pret = performance.now();</script>`;
// The same page without the component: what the browser itself takes.
const vide = '<!doctype html><meta charset="utf-8"><p>vide</p><script type="module">' +
  'requestAnimationFrame(() => { window.affiche = performance.now(); window.pret = window.affiche; });</script>';
const serveur = createServer((req, res) => {
  const chemin = new URL(req.url, 'http://x').pathname;
  try {
    const corps = chemin === '/mesure.html' ? page0 : chemin === '/vide.html' ? vide : readFileSync(join(site, chemin));
    res.writeHead(200, { 'Content-Type': types[extname(chemin)] ?? 'application/octet-stream' }).end(corps);
  } catch {
    res.writeHead(404).end();
  }
}).listen(0);
const navigateur = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const mediane = (v) => v.sort((a, b) => a - b)[v.length >> 1];
async function mesurer(adresse) {
  const affiches = [], prets = [];
  for (let i = 0; i < 15; ++i) {
    // A fresh profile each time: nothing cached, as a first visit.
    const contexte = await navigateur.createBrowserContext();
    const page = await contexte.newPage();
    await page.goto(`http://127.0.0.1:${serveur.address().port}/${adresse}`);
    await page.waitForFunction(() => window.pret);
    affiches.push(await page.evaluate(() => window.affiche));
    prets.push(await page.evaluate(() => window.pret));
    await contexte.close();
  }
  return [mediane(affiches), mediane(prets)];
}
const [base] = await mesurer('vide.html');
const [affiche, pret] = await mesurer('mesure.html');
console.log(`Depuis le début de la navigation (médianes) : page vide ${base.toFixed(0)} ms ; écran affiché ${affiche.toFixed(0)} ms ` +
  `(composant : ${(affiche - base).toFixed(0)} ms) ; GIR affiché ${pret.toFixed(0)} ms (composant : ${(pret - base).toFixed(0)} ms)`);
const page = await navigateur.newPage();
await page.goto(`http://127.0.0.1:${serveur.address().port}/mesure.html`);
await page.waitForFunction(() => window.pret);
const clics = await page.evaluate(() => {
  const r = document.querySelector('pavonis-grille').shadowRoot;
  const noms = ['Opt_TransfertsFaitPas', 'Opt_TransfertsFait', 'Opt_OrientationTempsFaitPas', 'Opt_OrientationTempsFait'];
  const t = [];
  for (let i = 0; i < 400; ++i) {
    const t0 = performance.now();
    r.getElementById(noms[i % noms.length]).click();
    if (!r.getElementById('Txt_Groupe').value) throw new Error('GIR vide');
    t.push(performance.now() - t0);
  }
  return t;
});
console.log(`Clic jusqu'au GIR affiché : médiane ${(mediane(clics) * 1000).toFixed(0)} µs, 9e décile ${(clics.sort((a, b) => a - b)[360] * 1000).toFixed(0)} µs`);
await navigateur.close();
serveur.close();
