// Screenshots of the browser's component for docs/: the screen in Chromium
// after a few clicks and its printed page (Chromium's PDF, through pdftoppm).
//   node outils/capture-navigateur.mjs SITE DOCS
import { execFileSync } from 'node:child_process';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join } from 'node:path';
import puppeteer from 'puppeteer-core';

const [site, docs] = process.argv.slice(2);
const types = { '.js': 'text/javascript', '.wasm': 'application/wasm', '.css': 'text/css', '.html': 'text/html' };
const serveur = createServer((req, res) => {
  const chemin = decodeURIComponent(new URL(req.url, 'http://x').pathname);
  try {
    const corps = readFileSync(join(site, chemin));
    res.writeHead(200, { 'Content-Type': types[extname(chemin)] ?? 'application/octet-stream' }).end(corps);
  } catch {
    res.writeHead(404).end();
  }
}).listen(0);
const navigateur = await puppeteer.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
const page = await navigateur.newPage();
await page.setViewport({ width: 1460, height: 780 });
await page.goto(`http://127.0.0.1:${serveur.address().port}/demo/index.html`);
await page.evaluate(() => {
  const g = document.getElementById('grille');
  g.setAttribute('hauteur-ecran', '900');
  g.setAttribute('date-du-jour', '2026-12-05');
});
await page.waitForFunction(() => document.getElementById('json').textContent.length > 0);
for (const nom of ['Opt_ToiletteHFaitPas', 'Cac_ToiletteHS', 'Opt_ToiletteBFaitPas', 'Opt_HabillageBFaitPas',
  'Cac_HabillageBC', 'Cac_HabillageBH', 'Opt_DeplacExterFaitPas', 'Cac_DeplacExterT', 'Opt_MenageFaitPas',
  'Opt_AchatsFaitPas']) await (await page.$(`pavonis-grille >>> #${nom}`)).click();
await (await page.$('pavonis-grille >>> #Txt_NomEnqueteur')).type('Claire Dupuis');
await (await page.$('pavonis-grille >>> #Txt_NomBenef')).type('Jeanne Martin');
await page.screenshot({ path: join(docs, 'navigateur-grille.png') });
await page.evaluate(() => { window.print = () => {}; });
await (await page.$('pavonis-grille >>> #Cmd_Imprimer')).click();
const pdf = join(docs, 'navigateur-page.pdf');
await page.pdf({ path: pdf, preferCSSPageSize: true });
execFileSync('pdftoppm', ['-r', '70', '-png', '-singlefile', pdf, join(docs, 'navigateur-page')]);
execFileSync('rm', [pdf]);
await navigateur.close();
serveur.close();
