// Validates JSON documents against a JSON Schema (draft 2020-12).
// Usage: node valider-schema.mjs SCHEMA.json DOCUMENT.json [DOCUMENT.json ...]
// Exit: 0 all valid, 1 at least one invalid (one French line each), 2 usage error.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const Ajv2020 = require('ajv/dist/2020').default;

const [schemaFile, ...documents] = process.argv.slice(2);
if (!schemaFile || !documents.length) {
  console.error('usage : node valider-schema.mjs SCHEMA.json DOCUMENT.json [DOCUMENT.json ...]');
  process.exit(2);
}
const lire = (f) => JSON.parse(readFileSync(f, 'utf8'));
const valider = new Ajv2020({ strict: true, allErrors: true }).compile(lire(schemaFile));
let problemes = 0;
for (const f of documents) {
  if (valider(lire(f))) continue;
  for (const e of valider.errors) {
    problemes++;
    console.log(`${f} : ${e.instancePath || '/'} : ${e.message}`);
  }
}
console.log(`${documents.length} document(s) vérifié(s), ${problemes} problème(s)`);
process.exit(problemes ? 1 : 0);
