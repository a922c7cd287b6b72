#!/usr/bin/env python3
"""Evaluations rewritten and mutated at random, each with the verdict of readers
that are not ours: Python's strict json (no NaN, no key twice), no lone UTF-16
half, the format's JSON Schema (python3-jsonschema). Run once, reviewed, replayed:
    python3 tests/json/generer-differentiel.py > tests/donnees/differentiel.tsv"""
import base64
import json
import random
import sys
from pathlib import Path

import jsonschema

RACINE = Path(__file__).resolve().parents[2]
VALIDEUR = jsonschema.Draft202012Validator(json.loads((RACINE / "evaluation/schema/evaluation.schema.json").read_text()))


def sans_doublon(paires):
    if len({cle for cle, _ in paires}) < len(paires):
        raise ValueError("clé en double")
    return dict(paires)


def textes(v):
    if isinstance(v, str):
        yield v
    for cle, w in v.items() if isinstance(v, dict) else enumerate(v) if isinstance(v, list) else ():
        yield from textes(cle) if isinstance(cle, str) else ()
        yield from textes(w)


def verdict(octets):
    try:
        refuser = lambda c: (_ for _ in ()).throw(ValueError(c))
        document = json.loads(octets.decode("utf-8"), object_pairs_hook=sans_doublon, parse_constant=refuser)
    except (ValueError, RecursionError):  # JSON and UTF-8 errors are ValueErrors
        return "refuse"
    if any(0xD800 <= ord(c) <= 0xDFFF for t in textes(document) for c in t):
        return "refuse"
    return "accepte" if VALIDEUR.is_valid(document) else "refuse"


def graines():
    exemple = json.loads((RACINE / "exemples/evaluation.json").read_text())
    sans_resultats = {k: v for k, v in exemple.items() if k != "resultats"}
    yield (RACINE / "exemples/evaluation.json").read_bytes()
    yield json.dumps(exemple, ensure_ascii=False, separators=(",", ":")).encode()
    yield json.dumps(sans_resultats, ensure_ascii=False, indent=1).encode()
    yield json.dumps(exemple, ensure_ascii=True).encode()


# Edits a reader meets: in structure, in texts, in numbers.
MORCEAUX = [b"{", b"}", b"[", b"]", b",", b":", b'"', b"\\", b" ", b"\n", b"\x01", b"\x7f", b"\xe9", b"\xc3",
            b"\xed\xa0\x80", b"\\u", b"\\ud800", b"\\udc00", b"\\u0054", b"\\n", b"\\q", b"1.0", b"1.5", b"1e0",
            b"-", b"0", b"null", b"true", b"x", b"D", b"aucun"]


def muter(octets, alea):
    b = bytearray(octets)
    for _ in range(alea.randint(1, 3)):
        position, genre = alea.randrange(len(b) + 1), alea.randrange(4)
        if genre == 0 and position < len(b):
            del b[position:position + alea.randint(1, 4)]
        elif genre == 1:
            b[position:position] = alea.choice(MORCEAUX)
        elif genre == 2 and position < len(b):
            b[position:position + 1] = alea.choice(MORCEAUX)
        else:  # a member's text written again elsewhere: keys twice, escaped keys
            debut = b.find(b'"', position)
            fin = b.find(b'"', debut + 1)
            if 0 <= debut < fin:
                morceau = bytes(b[debut:fin + 1])
                if alea.random() < 0.5 and len(morceau) > 2:
                    morceau = b'"\\u%04x' % morceau[1] + morceau[2:]
                ailleurs = alea.randrange(len(b) + 1)
                b[ailleurs:ailleurs] = morceau + b":1,"
    return bytes(b)


def melanger(v, alea):
    cles = list(v) if isinstance(v, dict) else None
    if cles is None:
        return v
    alea.shuffle(cles)
    return {c: melanger(v[c], alea) for c in cles}


def reecrire(octets, alea):
    """The same evaluation: other member order, blanks, escapes, 1.0 or 1e0."""
    texte = json.dumps(melanger(json.loads(octets), alea), ensure_ascii=alea.random() < 0.5,
                       indent=alea.choice([None, 0, 2, "\t"]), separators=alea.choice([None, (",", ":")]))
    if alea.random() < 0.5:
        texte = texte.replace('"version": 1', '"version": 1.0', 1).replace('"version":1', '"version":1e0', 1)
    return texte.encode()


alea = random.Random(2026)
sys.stdout.write("# verdict\tévaluation en base64 ; écrit par tests/json/generer-differentiel.py\n")
for graine in graines():
    cas = [graine] + [reecrire(graine, alea) for _ in range(12)]
    cas += [muter(graine if alea.random() < 0.5 else reecrire(graine, alea), alea) for _ in range(24)]
    for octets in cas:
        sys.stdout.write(f"{verdict(octets)}\t{base64.b64encode(octets).decode()}\n")
